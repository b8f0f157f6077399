// Small builders shared by the evaluation tests.
#pragma once

#include <initializer_list>
#include <random>

#include "engine/bitboard.h"
#include "engine/evaluation.h"
#include "rules/board.h"
#include "rules/game_types.h"

namespace kestrel::evaltest {

// Bit of square `square` (1-based, as on the board) of the game type.
inline int BitOfSquare(int square, int gametype) {
  return SquareToBit(square - 1, GameTypes[gametype].SquareCount);
}

inline uint64_t Squares(std::initializer_list<int> squares, int gametype) {
  uint64_t set = 0;
  for (int s : squares) set |= uint64_t{1} << BitOfSquare(s, gametype);
  return set;
}

// A position with the side to move in `w`: men and kings given by square.
inline TBitBoard64 Position(int gametype, std::initializer_list<int> ownMen, std::initializer_list<int> oppMen,
                            std::initializer_list<int> ownKings = {}, std::initializer_list<int> oppKings = {}) {
  TBitBoard64 bb;
  bb.w = Squares(ownMen, gametype) | Squares(ownKings, gametype);
  bb.b = Squares(oppMen, gametype) | Squares(oppKings, gametype);
  bb.k = Squares(ownKings, gametype) | Squares(oppKings, gametype);
  return bb;
}

inline TPattern Pattern(uint64_t own, uint64_t opp, uint64_t empty, std::array<int32_t, EvalStages> value) {
  TPattern p;
  p.B = {own, opp, empty};
  p.value = value;
  return p;
}

// A random legal-looking position: men never on the crowning rank of their
// own side, kings anywhere.
inline TBitBoard64 RandomPosition(std::mt19937_64& rng, int gametype, int maxPieces) {
  const int n = GameTypes[gametype].SquareCount;
  TBoard board;
  std::uniform_int_distribution<int> square(1, n), kind(0, 9), count(1, maxPieces);
  const int pieces = count(rng);
  for (int i = 0; i < pieces; ++i) {
    const int s = square(rng);
    if (board.b[s] != Empty) continue;
    const int k = kind(rng);
    const bool white = k % 2 == 0;
    const bool king = k >= 8;
    if (!king && IsPromotionSquare(s, white ? TDColor::white : TDColor::black, gametype)) continue;
    board.b[s] = static_cast<int8_t>((white ? 1 : -1) * (king ? 2 : 1));
  }
  TBitBoard64 bb;
  BoardToBit64(board, bb, gametype);
  return bb;
}

inline TBitBoard64 Turned(TBitBoard64 bb, int gametype) {
  FlipBitBoard(bb, gametype);
  return bb;
}

}  // namespace kestrel::evaltest
