#include <gtest/gtest.h>

#include "game/move_tree.h"
#include "game/tree_check.h"
#include "game_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

// 1 -> 2 -> 3 on the main line, 4 a side line after 1.
TGame SmallTree() {
  TGame game;
  PutSlot(game, 1, 0, true, PlainMove(9, 13));
  PutSlot(game, 2, 1, true, PlainMove(22, 18));
  PutSlot(game, 3, 2, true, PlainMove(13, 17));
  PutSlot(game, 4, 1, false, PlainMove(21, 17));
  return game;
}

TEST(TreeCheck, SoundTreePasses) {
  TGame game = SmallTree();
  EXPECT_EQ(CheckMoveTree(game), "");
  EXPECT_EQ(RepairMoveTree(game), 0);
  EXPECT_EQ(game.Header.LastMove, 4);
}

TEST(TreeCheck, OrphanedMoveIsRemovedBeforeItsParentSlotIsReused) {
  TGame game = SmallTree();
  game.Moves[2].free = true;  // a stored game that lost slot 2 but kept 3
  EXPECT_NE(CheckMoveTree(game), "");
  EXPECT_EQ(RepairMoveTree(game), 1);
  EXPECT_TRUE(game.Moves[3].free);
  EXPECT_EQ(CheckMoveTree(game), "");
  // Slot 2 is reused; nothing hangs below the new move.
  EXPECT_EQ(AddMove(game, 4, PlainMove(10, 14)).slot, 2);
  EXPECT_EQ(ChildrenOf(game, 2).size(), 0u);
}

TEST(TreeCheck, CyclesBadParentsAndDamagedMovesAreRemoved) {
  TGame game = SmallTree();
  PutSlot(game, 5, 6, false, PlainMove(1, 5));
  PutSlot(game, 6, 5, false, PlainMove(5, 1));
  PutSlot(game, 7, 900, false, PlainMove(5, 1));
  PutSlot(game, 8, -4, false, PlainMove(5, 1));
  TMove longCapture = PlainMove(1, 5);
  longCapture.lt = 40;
  PutSlot(game, 9, 3, false, longCapture);
  PutSlot(game, 10, 9, false, PlainMove(5, 1));  // below the damaged move
  EXPECT_NE(CheckMoveTree(game), "");
  EXPECT_EQ(RepairMoveTree(game), 6);
  EXPECT_EQ(CheckMoveTree(game), "");
  EXPECT_EQ(HighestUsedSlot(game), 4);
}

TEST(TreeCheck, LastMoveAndArraysAreMadeConsistent) {
  TGame game = SmallTree();
  game.Header.LastMove = 2;  // slots 3 and 4 in use above it
  EXPECT_NE(CheckMoveTree(game), "");
  RepairMoveTree(game);
  EXPECT_EQ(game.Header.LastMove, 4);

  game.Header.LastMove = 1000;
  EXPECT_NE(CheckMoveTree(game), "");
  RepairMoveTree(game);
  EXPECT_EQ(game.Header.LastMove, 4);

  game.CommentsAft.resize(2);
  EXPECT_NE(CheckMoveTree(game), "");
  RepairMoveTree(game);
  EXPECT_EQ(game.CommentsAft.size(), game.Moves.size());

  game.Moves[0].free = true;
  EXPECT_NE(CheckMoveTree(game), "");
  RepairMoveTree(game);
  EXPECT_FALSE(game.Moves[0].free);
  EXPECT_EQ(CheckMoveTree(game), "");

  TGame empty;
  empty.Moves.clear();
  EXPECT_NE(CheckMoveTree(empty), "");
  RepairMoveTree(empty);
  EXPECT_EQ(CheckMoveTree(empty), "");
}

TEST(TreeCheck, StaleLastMoveNeverMakesAnAdditionOverwriteAMove) {
  TGame game = SmallTree();
  game.Header.LastMove = 1;  // damaged: slots 2..4 are in use
  const TAddResult r = AddMove(game, 3, PlainMove(17, 21));
  ASSERT_EQ(r.status, TAddStatus::added);
  EXPECT_EQ(r.slot, 5);
  for (int s = 1; s <= 4; ++s) EXPECT_FALSE(game.Moves[s].free) << s;
  EXPECT_EQ(game.Moves[2].mv[0], 22);
}

}  // namespace
}  // namespace kestrel
