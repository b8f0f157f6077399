#include "app/board/last_move.h"

#include <algorithm>

namespace kestrel {

std::vector<int> LastMoveSquares(const TMove& move, int squareCount) {
  std::vector<int> squares;
  auto add = [&](int square) {
    if (square >= 1 && square <= squareCount) squares.push_back(square);
  };
  add(move.mv[0]);
  const int taken = std::min<int>(move.lt, MaxCaptured);
  if (taken == 0) add(move.mv[1]);
  for (int k = 1; k <= taken; ++k) add(move.mv[2 * k]);
  return squares;
}

}  // namespace kestrel
