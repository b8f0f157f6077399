// Random positions for property tests: men and kings of both sides on any
// board, men kept off the rank where they would be crowned.
#pragma once

#include <random>

#include "rules/board.h"
#include "rules/game_types.h"

namespace kestrel::testing {

// Each square holds a piece with `occupiedPercent` chance: a king of either
// side one time in eight each, otherwise a man, of either side alike.
inline TBoard RandomPosition(std::mt19937& rng, int type, int occupiedPercent) {
  TBoard board;
  std::uniform_int_distribution<int> percent(0, 99), pick(0, 7);
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s) {
    if (percent(rng) >= occupiedPercent) continue;
    switch (pick(rng)) {
      case 0: board.b[s] = WhiteKing; break;
      case 1: board.b[s] = BlackKing; break;
      case 2: case 3: case 4:
        if (!IsPromotionSquare(s, TDColor::white, type)) board.b[s] = WhiteMan;
        break;
      default:
        if (!IsPromotionSquare(s, TDColor::black, type)) board.b[s] = BlackMan;
        break;
    }
  }
  return board;
}

}  // namespace kestrel::testing
