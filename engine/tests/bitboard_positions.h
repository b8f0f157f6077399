// Positions for tests, written as lists of squares: "Ka1 c3 e5" (K for a king).
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>

#include "engine/bitboard.h"
#include "engine/bitboard_movegen.h"
#include "rules/game_types.h"

namespace kestrel::testing {

// Square number of an algebraic name ("c3", "j10") on the type's board.
inline int SquareNumber(int type, std::string_view name) {
  const TBoardShape shape = BoardShape(type);
  const int file = name[0] - 'a';
  const int rank = std::stoi(std::string(name.substr(1))) - 1;
  EXPECT_TRUE(file >= 0 && file < shape.files && rank >= 0 && rank < shape.ranks && (file + rank) % 2 == 0)
      << "not a playable square: " << name;
  return rank * shape.squaresPerRank + file / 2 + 1;
}

inline void Place(TBoard& board, int type, std::string_view squares, int8_t man, int8_t king) {
  std::istringstream in{std::string(squares)};
  std::string token;
  while (in >> token) {
    const bool isKing = token[0] == 'K';
    board.b[SquareNumber(type, isKing ? std::string_view(token).substr(1) : std::string_view(token))] =
        isKing ? king : man;
  }
}

inline TBoard Board(int type, std::string_view white, std::string_view black) {
  TBoard board;
  Place(board, type, white, WhiteMan, WhiteKing);
  Place(board, type, black, BlackMan, BlackKing);
  return board;
}

// White in `w`, to move.
inline TBitBoard64 Position(int type, std::string_view white, std::string_view black) {
  TBitBoard64 bb;
  BoardToBit64(Board(type, white, black), bb, type);
  return bb;
}

using PositionSet = std::set<std::tuple<uint64_t, uint64_t, uint64_t>>;

inline PositionSet Key(const TBitBoard64& p) { return {{p.w, p.b, p.k}}; }

inline PositionSet Results(const TBitBoard64& pos, int type) {
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, type);
  PositionSet set;
  for (int i = 0; i < count; ++i) set.insert({list[i].w, list[i].b, list[i].k});
  return set;
}

inline PositionSet Positions(int type, std::initializer_list<std::pair<std::string_view, std::string_view>> list) {
  PositionSet set;
  for (auto [white, black] : list) set.merge(Key(Position(type, white, black)));
  return set;
}

}  // namespace kestrel::testing
