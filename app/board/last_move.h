// The squares the board marks for the last move: where it started and every
// square it landed on.
#pragma once

#include <vector>

#include "rules/move.h"

namespace kestrel {

// Squares outside 1..squareCount (a damaged move) are left out.
std::vector<int> LastMoveSquares(const TMove& move, int squareCount);

}  // namespace kestrel
