// The short text shown before the first move of a Russian game that starts
// from a ballot opening, e.g. "c3>d4 f6>g5".
#pragma once

#include <string>

#include "rules/board.h"

namespace kestrel {

// The opening of at most one move per side that leads from the Russian start
// position to `board`: "----" for a side that has not moved. Empty when the
// position is not of that kind.
std::string BallotDescription(const TBrd& board);

}  // namespace kestrel
