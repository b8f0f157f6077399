// The colour names of the two sides. Side 0 moves first and is "White",
// except in English and Pool, where it is "Black".
#pragma once

#include <string>

#include "rules/board.h"

namespace kestrel {

// Messages and labels that name a colour.
std::string SideName(TDColor side, int type);
// The board, the set-up side choice and the game information dialog: in
// Pool side 0 is "White" while "PoolWhiteBottom" is set.
std::string BoardSideName(TDColor side, int type, bool poolWhiteBottom);

}  // namespace kestrel
