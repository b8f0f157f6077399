#include "rules/generate_position.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

struct PieceCount {
  int whiteMen, blackMen, whiteKings, blackKings, squares;
  bool ok;
};

TEST(GeneratePosition, PlacesExactlyThePiecesAskedForOrRefuses) {
  std::mt19937 rng(7);
  const PieceCount cases[] = {
      {2, 2, 1, 1, 32, true},   {12, 12, 0, 0, 32, true}, {16, 16, 0, 0, 32, true}, {16, 16, 0, 1, 32, false},
      {30, 30, 5, 5, 72, true}, {0, 0, 0, 0, 50, true},   {25, 25, 1, 0, 50, false}, {-1, 2, 0, 0, 32, false},
      {1, 0, 0, 0, 0, false},
  };
  for (const PieceCount& c : cases) {
    for (int round = 0; round < 20; ++round) {
      TBrd board;
      board[1] = WhiteKing;  // whatever was there goes
      ASSERT_EQ(GeneratePosition(c.whiteMen, c.blackMen, c.whiteKings, c.blackKings, board, rng, c.squares), c.ok);
      int counts[5] = {};  // by code + 2
      for (int s = 1; s <= MaxSquares; ++s) {
        ASSERT_TRUE(board[s] >= -2 && board[s] <= 2);
        if (board[s] != Empty) {
          ASSERT_LE(s, c.squares) << "a piece beyond the board";
        }
        ++counts[board[s] + 2];
      }
      const bool placed = c.ok;
      EXPECT_EQ(counts[WhiteMan + 2], placed ? c.whiteMen : 0);
      EXPECT_EQ(counts[BlackMan + 2], placed ? c.blackMen : 0);
      EXPECT_EQ(counts[WhiteKing + 2], placed ? c.whiteKings : 0);
      EXPECT_EQ(counts[BlackKing + 2], placed ? c.blackKings : 0);
    }
  }
}

// Every square of the board is reached: the draw covers 1..squareCount.
TEST(GeneratePosition, EverySquareIsDrawn) {
  std::mt19937 rng(11);
  std::array<int, MaxSquares + 1> hits{};
  for (int round = 0; round < 2000; ++round) {
    TBrd board;
    ASSERT_TRUE(GeneratePosition(1, 0, 0, 0, board, rng, 50));
    for (int s = 1; s <= MaxSquares; ++s)
      if (board[s] != Empty) ++hits[s];
  }
  for (int s = 1; s <= 50; ++s) EXPECT_GT(hits[s], 10) << s;
}

}  // namespace
}  // namespace kestrel
