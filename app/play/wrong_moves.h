// Moves of a game that are not legal under a game type, found by replaying
// every line from the start position (after a change of game type).
#pragma once

#include <cstdint>
#include <vector>

#include "game/game.h"

namespace kestrel {

// The first illegal move of every line, in tree order; the moves after it
// are not looked at.
std::vector<int32_t> FindWrongMoves(const TGame& game, int type);

// Deletes each wrong move with its line; returns how many lines went.
int RemoveWrongMoves(TGame& game, int type);

}  // namespace kestrel
