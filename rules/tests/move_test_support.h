// Helpers for the move-generation tests: positions and moves written with
// square names (files a, b, c, ... from White's left, ranks from 1), which
// are worked out from the board shape alone.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel::testing {

inline int Sq(std::string_view name, int type) {
  const TBoardShape shape = BoardShape(type);
  const int file = name[0] - 'a';
  const int rank = std::stoi(std::string(name.substr(1))) - 1;
  EXPECT_TRUE(file >= 0 && file < shape.files && rank >= 0 && rank < shape.ranks && (file + rank) % 2 == 0)
      << "not a dark square: " << name;
  return rank * shape.squaresPerRank + file / 2 + 1;
}

inline std::string Name(int square, int type) {
  const TBoardShape shape = BoardShape(type);
  const int rank = (square - 1) / shape.squaresPerRank;
  const int file = 2 * ((square - 1) % shape.squaresPerRank) + rank % 2;
  return std::string(1, static_cast<char>('a' + file)) + std::to_string(rank + 1);
}

inline std::vector<std::string> Split(std::string_view text, char sep) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in{std::string(text)};
  while (std::getline(in, part, sep))
    if (!part.empty()) parts.push_back(part);
  return parts;
}

// Pieces as "c3,Kd4" (K marks a king) for each side.
inline TBoard Board(int type, std::string_view white, std::string_view black) {
  TBoard board;
  for (const auto& p : Split(white, ','))
    board.b[Sq(p[0] == 'K' ? p.substr(1) : p, type)] = p[0] == 'K' ? WhiteKing : WhiteMan;
  for (const auto& p : Split(black, ','))
    board.b[Sq(p[0] == 'K' ? p.substr(1) : p, type)] = p[0] == 'K' ? BlackKing : BlackMan;
  return board;
}

// "c3-d4" for a plain move, "c3:e5:g7" (start and every landing) for a capture.
inline std::string Path(const TMove& m, int type) {
  if (m.lt == 0) return Name(m.mv[0], type) + "-" + Name(m.mv[1], type);
  std::string text = Name(m.mv[0], type);
  for (int k = 1; k <= m.lt; ++k) text += ":" + Name(m.mv[2 * k], type);
  return text;
}

inline std::vector<TMove> Moves(const TBoard& board, TDColor side, int type, bool dropDoubles = false) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  if (dropDoubles) removedoublemoves(count, list, board, type);
  return {list.begin(), list.begin() + count};
}

inline std::set<std::string> Paths(const TBoard& board, TDColor side, int type, bool dropDoubles = false) {
  std::set<std::string> paths;
  for (const TMove& m : Moves(board, side, type, dropDoubles)) paths.insert(Path(m, type));
  return paths;
}

// A position written with a type's published square numbers, as in
// "W:WK41,49:B9,10,12": the side to move, then each side's pieces.
struct NumberedPosition {
  TBoard board;
  TDColor side = TDColor::white;
};

inline NumberedPosition FromNumbers(std::string_view text, const std::function<int(int)>& squareOf) {
  NumberedPosition pos;
  const auto fields = Split(text, ':');
  pos.side = fields.at(0) == "B" ? TDColor::black : TDColor::white;
  for (size_t f = 1; f < fields.size(); ++f) {
    const bool white = fields[f][0] == 'W';
    for (const auto& p : Split(std::string_view(fields[f]).substr(1), ',')) {
      const bool king = p[0] == 'K';
      const int square = squareOf(std::stoi(king ? p.substr(1) : p));
      pos.board.b[square] = static_cast<int8_t>((white ? 1 : -1) * (king ? 2 : 1));
    }
  }
  return pos;
}

// Published numberings, inverted by search so they need no formula of ours.
inline int InternationalSquare(int number) {
  // Number 1 is Black's left back corner; 46 is White's a1.
  for (int s = 1; s <= 50; ++s) {
    const int row = (s - 1) / 5, col = (s - 1) % 5;
    if ((9 - row) * 5 + col + 1 == number) return s;
  }
  ADD_FAILURE() << "no square numbered " << number;
  return 1;
}

}  // namespace kestrel::testing
