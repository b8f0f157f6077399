#include <gtest/gtest.h>

#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "game/tree_check.h"
#include "game_test_util.h"
#include "rules/game_types.h"
#include "test_support/small_stack.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

constexpr int Plies = 60000;

// Two kings walking back and forth: a1-b2, h8-g7, b2-a1, g7-h8, ...
TGame KingShuffle() {
  TBrd setup{};
  setup[1] = WhiteKing;
  setup[32] = BlackKing;
  TGame game;
  EXPECT_TRUE(SetUpPosition(game, setup, TDColor::white, 1, gtRussian));
  const TMove cycle[4] = {PlainMove(1, 5), PlainMove(32, 28), PlainMove(5, 1), PlainMove(28, 32)};
  // Written slot by slot as a reader of stored games does: adding 60000 moves
  // one by one would spend its time searching for free slots.
  game.Moves.resize(Plies + 1);
  game.CommentsBef.resize(Plies + 1);
  game.CommentsAft.resize(Plies + 1);
  for (int s = 1; s <= Plies; ++s) {
    TMove m = cycle[(s - 1) % 4];
    m.parent = s - 1;
    m.main = true;
    game.Moves[s] = m;
  }
  game.Header.LastMove = Plies;
  return game;
}

TEST(LongLine, SixtyThousandPliesAreWalkedAndDeletedWithoutDeepRecursion) {
  TGame game = KingShuffle();
  OnSmallStack([&] {
    EXPECT_EQ(CheckMoveTree(game), "");
    EXPECT_EQ(MainLineLength(game), Plies);
    ASSERT_TRUE(GoToLineEnd(game, 0));
    EXPECT_EQ(game.CurMovPos, Plies);
    TBrd setup{};
    setup[1] = WhiteKing;
    setup[32] = BlackKing;
    EXPECT_EQ(game.CurBoard.b, setup);  // a whole number of cycles
    ASSERT_TRUE(GoToMove(game, Plies - 1));
    EXPECT_EQ(game.CurBoard.b[28], BlackKing);
    EXPECT_EQ(game.SideToMove, TDColor::black);
    EXPECT_TRUE(PromoteLine(game, Plies) == false);

    ClearVariations(game);
    EXPECT_EQ(HighestUsedSlot(game), Plies);
    DeleteSubtree(game, 1);
    EXPECT_EQ(HighestUsedSlot(game), 0);
    EXPECT_EQ(MainLineLength(game), 0);
  });
}

TEST(LongLine, DeleteLineAfterMoveDeepInside) {
  TGame game = KingShuffle();
  OnSmallStack([&] {
    ASSERT_TRUE(GoToMove(game, 1001));
    DeleteLineAfterMove(game);
    EXPECT_EQ(game.Header.LastMove, 1000);
    EXPECT_EQ(game.CurMovPos, 1000);
    EXPECT_EQ(MainLineLength(game), 1000);
    // New moves take the lowest freed slots.
    EXPECT_EQ(AddMove(game, 1000, PlainMove(1, 5)).slot, 1001);
    EXPECT_EQ(AddMove(game, 1001, PlainMove(32, 28)).slot, 1002);
  });
}

}  // namespace
}  // namespace kestrel
