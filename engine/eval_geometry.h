// Square sets the evaluation needs per game type: the board, the two flank
// halves and the long diagonals ("roads") that kings like to hold.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>

namespace kestrel {

struct TEvalGeometry {
  uint64_t mask = 0;                    // the board's squares
  uint64_t left = 0, right = 0;         // flank halves (files a-d / e-h, or a-e / f-j)
  bool wideBalance = false;             // International: also the overlapping halves
  uint64_t wideLeft = 0, wideRight = 0; // files a-f / e-j
  bool roads = false;                   // flying kings on 8 by 8 or 10 by 10
  uint64_t mainRoad = 0;
  std::array<uint64_t, 2> doubleRoads{};
  std::array<uint64_t, 2> tripleRoads{};
};

// Flank balance of one side's `pieces`, in units of the balance value: the
// difference between its halves where it is two or more; a difference of
// one counts only when the extra piece stands on the side's own left flank.
inline int FlankBalance(uint64_t pieces, uint64_t ownLeft, uint64_t ownRight) {
  const int a = std::popcount(pieces & ownLeft);
  const int b = std::popcount(pieces & ownRight);
  const int diff = std::abs(a - b);
  if (diff >= 2) return diff;
  return a > b ? 1 : 0;
}

// The geometry of the game type; an empty one (mask 0) for a type without
// a bitboard form or an invalid type.
const TEvalGeometry& EvalGeometry(int gametype);

// File and rank (0-based, a1 = 0, 0) of every bit of a board with
// `squareCount` squares; -1 for bits that are not squares.
struct TBitCoords {
  std::array<int8_t, 64> file{};
  std::array<int8_t, 64> rank{};
};
const TBitCoords& BitCoords(int squareCount);

}  // namespace kestrel
