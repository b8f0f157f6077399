// The square numbers engine protocols use: 1 is the far left square of the
// side that moves first, counting rank by rank towards that side, so on the
// 10x10 board the first mover's men stand on 31-50. The program's own
// numbers run the other way, from the first mover's back rank.
#pragma once

#include <vector>

#include "rules/move.h"

namespace kestrel {

// The protocol number of program square `square` (1-based) and back; both
// are one-to-one on 1..SquareCount and give 0 outside it.
int ProtocolSquare(int square, int type);
int ProgramSquare(int protocolSquare, int type);

// The squares of the pieces `move` takes, as protocol numbers, ascending.
std::vector<int> CapturedProtocolSquares(const TMove& move, int type);

}  // namespace kestrel
