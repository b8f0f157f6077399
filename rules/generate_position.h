// A random position with given numbers of pieces, for outside callers.
#pragma once

#include <random>

#include "rules/board.h"

namespace kestrel {

// Empties all 72 cells, then puts whiteMen white men, blackMen black men,
// whiteKings white kings and blackKings black kings, in that order, each on a
// square drawn uniformly from 1..squareCount that is still free. Men may land
// on their crowning rank. False, with the board left empty, when the pieces
// are more than the squares (or a count is negative or squareCount is no
// board); drawing a free square could then never end.
bool GeneratePosition(int whiteMen, int blackMen, int whiteKings, int blackKings, TBrd& board, std::mt19937& rng,
                      int squareCount);

}  // namespace kestrel
