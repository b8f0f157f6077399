#include "protocols/standard_squares.h"

#include <algorithm>

#include "rules/game_types.h"

namespace kestrel {

namespace {

// Turning the ranks over is its own inverse.
int MirrorRanks(int square, int type) {
  if (!IsValidGameType(type) || square < 1 || square > GameTypes[type].SquareCount) return 0;
  const TBoardShape shape = BoardShape(type);
  const int n = square - 1;
  return (shape.ranks - 1 - n / shape.squaresPerRank) * shape.squaresPerRank + n % shape.squaresPerRank + 1;
}

}  // namespace

int ProtocolSquare(int square, int type) { return MirrorRanks(square, type); }
int ProgramSquare(int protocolSquare, int type) { return MirrorRanks(protocolSquare, type); }

std::vector<int> CapturedProtocolSquares(const TMove& move, int type) {
  std::vector<int> taken;
  for (int k = 1; k <= move.lt && k <= MaxCaptured; ++k) taken.push_back(ProtocolSquare(move.mv[2 * k - 1], type));
  std::sort(taken.begin(), taken.end());
  return taken;
}

}  // namespace kestrel
