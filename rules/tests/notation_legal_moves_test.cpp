#include <gtest/gtest.h>

#include <random>

#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"
#include "test_support/pool_chess_scope.h"
#include "test_support/random_position.h"

namespace kestrel {
namespace {

using testing::PoolChessScope;

TBoard After(const TMove& move, const TBoard& board, int type) {
  TBoard next = board;
  ApplyMove(move, next, type);
  return next;
}

// Every legal move's full text and path text lead back to it through the
// reader, on random positions of every type.
TEST(NotationOfLegalMoves, TextsOfEveryLegalMoveAreFoundAgain) {
  std::mt19937 rng(31337);
  for (bool poolChess : {false, true}) {
    PoolChessScope scope(poolChess);
    for (int type = 1; type <= GameTypeCount; ++type) {
      SCOPED_TRACE(::testing::Message() << GameTypeNames[type] << " chess=" << poolChess);
      int plain = 0, captures = 0;
      for (int i = 0; i < 500; ++i) {
        const TBoard board = testing::RandomPosition(rng, type, std::uniform_int_distribution<int>(10, 70)(rng));
        const TDColor side = i % 2 == 0 ? TDColor::white : TDColor::black;
        TMoveList list{};
        uint8_t count = 0;
        GenerateMoveList(board, side, list, type, count);
        for (int k = 0; k < count; ++k) {
          const TMove& move = list[k];
          const TBoard target = After(move, board, type);
          ++(move.lt > 0 ? captures : plain);

          const std::string path = MoveToTextPath(move, type, 0, "x");
          const int byPath = FindMoveByText(path, count, list, type);
          ASSERT_GT(byPath, 0) << path;
          if (!SameBoard(After(list[byPath - 1], board, type).b, target.b)) {
            // The path of a one-step capture is also the short text of a
            // longer capture between the same squares; the earlier one wins.
            const TMove& other = list[byPath - 1];
            EXPECT_EQ(move.lt, 1) << path;
            EXPECT_LT(byPath, k + 1) << path;
            EXPECT_EQ(MoveToText(other, type, 0, "x"), path);
            EXPECT_GT(other.lt, 1) << path;
          }

          // From and destination alone may name two captures taking different
          // pieces; then any move between the same squares is a right answer.
          const std::string full = MoveToText(move, type, 0, "x");
          const int byText = FindMoveByText(full, count, list, type);
          ASSERT_GT(byText, 0) << full;
          const TMove& found = list[byText - 1];
          EXPECT_EQ(found.From(), move.From()) << full;
          EXPECT_EQ(found.To(), move.To()) << full;
          if (!SameBoard(After(found, board, type).b, target.b)) {
            int sameEnds = 0;
            for (int j = 0; j < count; ++j) sameEnds += list[j].From() == move.From() && list[j].To() == move.To();
            EXPECT_GE(sameEnds, 2) << full;
          }
        }
      }
      EXPECT_GT(plain, 200);
      EXPECT_GT(captures, 200);
    }
  }
}

}  // namespace
}  // namespace kestrel
