#include <gtest/gtest.h>

#include <random>

#include "engine/evaluation.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

int16_t Old(const TBoard& board, TDColor side, int type) {
  TNewBoard nb;
  BoardToNewBoard(board, nb, type);
  return EvaluateOld(nb, side, type);
}

TBoard With(std::initializer_list<std::pair<int, int8_t>> pieces) {
  TBoard board;
  for (const auto& [square, code] : pieces) board.b[square] = code;
  return board;
}

TEST(EvaluateOld, StartPositionsAreLevel) {
  for (int type = 1; type <= GameTypeCount; ++type) {
    EXPECT_EQ(Old(InitialPosition(type), TDColor::white, type), 0) << GameTypeNames[type];
    EXPECT_EQ(Old(InitialPosition(type), TDColor::black, type), 0) << GameTypeNames[type];
  }
}

TEST(EvaluateOld, MaterialWithAdvanceByCell) {
  // 8 by 8: cells 5..40, 32 squares. Square 1 is cell 5, square 32 cell 40.
  EXPECT_EQ(Old(With({{1, WhiteMan}}), TDColor::white, gtRussian), 100 + 5 * 10 / 32);
  EXPECT_EQ(Old(With({{1, WhiteMan}}), TDColor::black, gtRussian), -(100 + 5 * 10 / 32));
  EXPECT_EQ(Old(With({{28, WhiteMan}}), TDColor::white, gtRussian), 100 + 35 * 10 / 32);  // cell 35
  EXPECT_EQ(Old(With({{1, WhiteKing}}), TDColor::white, gtEnglish), 300 + 5 * 10 / 32);
  EXPECT_EQ(Old(With({{32, BlackMan}}), TDColor::black, gtRussian), 100 + (5 + 40 - 40) * 10 / 32);
  EXPECT_EQ(Old(With({{1, BlackMan}}), TDColor::black, gtRussian), 100 + (5 + 40 - 5) * 10 / 32);
  EXPECT_EQ(Old(With({{32, BlackKing}, {1, WhiteMan}}), TDColor::white, gtRussian), 101 - 301);
  // 10 by 10: cells 13..76, 50 squares; square 50 is cell 76.
  EXPECT_EQ(Old(With({{50, WhiteMan}}), TDColor::white, gtInternational), 100 + 76 * 10 / 50);
  // 12 by 12: cells 7..84, 72 squares.
  EXPECT_EQ(Old(With({{72, WhiteKing}}), TDColor::white, gtCanadian), 300 + 84 * 10 / 72);
}

TEST(EvaluateOld, TurningTheBoardOverExchangesTheSides) {
  std::mt19937 rng(3);
  for (int type = 1; type <= GameTypeCount; ++type) {
    const int n = GameTypes[type].SquareCount;
    for (int round = 0; round < 50; ++round) {
      TBoard board;
      for (int s = 1; s <= n; ++s) {
        const int r = static_cast<int>(rng() % 10);
        board.b[s] = r < 6 ? Empty : r < 8 ? (r == 6 ? WhiteMan : BlackMan) : (r == 8 ? WhiteKing : BlackKing);
      }
      TBoard turned = board;
      FlipBoard(turned.b, type);
      ASSERT_EQ(Old(board, TDColor::white, type), Old(turned, TDColor::black, type)) << GameTypeNames[type];
      ASSERT_EQ(Old(board, TDColor::white, type), -Old(board, TDColor::black, type));
    }
  }
}

TEST(EvaluateOld, InvalidTypeScoresZero) {
  TNewBoard nb{};
  EXPECT_EQ(EvaluateOld(nb, TDColor::white, 0), 0);
  EXPECT_EQ(EvaluateOld(nb, TDColor::white, 13), 0);
}

}  // namespace
}  // namespace kestrel
