#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "game/tree_check.h"
#include "game_test_util.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using ::testing::_;
using ::testing::AnyNumber;
using ::testing::ElementsAre;
using ::testing::NiceMock;
using ::testing::Return;
using namespace kestrel::testing;

class MoveTreeTest : public ::testing::Test {
 protected:
  void SetUp() override { NewGame(game, gtRussian); }

  // Adds the moves one after the other as an importer would; returns the slots.
  std::vector<int32_t> Line(int parent, std::initializer_list<std::string_view> texts) {
    std::vector<int32_t> slots;
    for (std::string_view t : texts) {
      const TAddResult r = AddMove(game, parent, LegalMove(game, parent, t));
      EXPECT_EQ(r.status, TAddStatus::added) << t;
      slots.push_back(r.slot);
      parent = r.slot;
    }
    return slots;
  }

  TGame game;
  NiceMock<MockObserver> ui;
};

TEST_F(MoveTreeTest, ImporterMakesFirstContinuationMainAndLaterOnesSideLines) {
  const auto main = Line(0, {"c3-d4", "f6-g5", "g3-f4"});
  EXPECT_THAT(main, ElementsAre(1, 2, 3));
  const auto side = Line(1, {"f6-e5", "d4:f6"});
  EXPECT_THAT(side, ElementsAre(4, 5));
  EXPECT_TRUE(game.Moves[1].main);
  EXPECT_TRUE(game.Moves[2].main);
  EXPECT_FALSE(game.Moves[4].main);
  EXPECT_TRUE(game.Moves[5].main);  // first continuation inside the side line
  EXPECT_EQ(game.Header.LastMove, 5);
  EXPECT_THAT(ChildrenOf(game, 1), ElementsAre(2, 4));
  EXPECT_THAT(ChildrenOf(game, 4), ElementsAre(5));
  EXPECT_THAT(ChildrenOf(game, 3), ElementsAre());
  EXPECT_EQ(MainLineLength(game), 3);
  EXPECT_EQ(game.Moves[5].lt, 1);
  EXPECT_EQ(CheckMoveTree(game), "");
}

TEST_F(MoveTreeTest, AddMoveAskSameMoveReturnsExistingSlotWithoutQuestion) {
  const auto main = Line(0, {"c3-d4", "f6-g5"});
  EXPECT_CALL(ui, AskNewMove).Times(0);
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "f6-g5"), 1, false, &ui);
  EXPECT_EQ(r.status, TAddStatus::existing);
  EXPECT_EQ(r.slot, main[1]);
  EXPECT_EQ(game.SlotCount(), 3);
  EXPECT_FALSE(game.Modified);
}

TEST_F(MoveTreeTest, AddMoveAskAtLeafAddsMainMoveWithoutQuestion) {
  Line(0, {"c3-d4"});
  EXPECT_CALL(ui, AskNewMove).Times(0);
  EXPECT_CALL(ui, RequestRefresh(_, _)).Times(AnyNumber());
  EXPECT_CALL(ui, RequestRefresh(_, rfSaveButton));
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "f6-g5"), 1, false, &ui);
  EXPECT_EQ(r.status, TAddStatus::added);
  EXPECT_EQ(r.slot, 2);
  EXPECT_TRUE(game.Moves[2].main);
  EXPECT_TRUE(game.Modified);
}

TEST_F(MoveTreeTest, AddMoveAskNewVariation) {
  Line(0, {"c3-d4", "f6-g5", "g3-f4"});
  EXPECT_CALL(ui, AskNewMove(ElementsAre("f6-g5"), 0))
      .WillOnce(Return(TNewMoveChoice{TNewMoveAnswer::newVariation, 0}));
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "h6-g5"), 1, false, &ui);
  ASSERT_EQ(r.status, TAddStatus::added);
  EXPECT_EQ(r.slot, 4);
  EXPECT_FALSE(game.Moves[4].main);
  EXPECT_THAT(ChildrenOf(game, 1), ElementsAre(2, 4));
  EXPECT_EQ(MainLineLength(game), 3);
  EXPECT_TRUE(game.Modified);
}

TEST_F(MoveTreeTest, AddMoveAskListsEveryContinuationWithoutPreselection) {
  Line(0, {"c3-d4", "f6-g5"});
  Line(1, {"h6-g5"});
  EXPECT_CALL(ui, AskNewMove(ElementsAre("f6-g5", "h6-g5"), -1))
      .WillOnce(Return(TNewMoveChoice{TNewMoveAnswer::newVariation, -1}));
  EXPECT_EQ(AddMoveAsk(game, LegalMove(game, 1, "b6-a5"), 1, false, &ui).slot, 4);
}

TEST_F(MoveTreeTest, AddMoveAskCancelChangesNothing) {
  Line(0, {"c3-d4", "f6-g5", "g3-f4"});
  const TGame before = game;
  EXPECT_CALL(ui, AskNewMove).WillOnce(Return(TNewMoveChoice{TNewMoveAnswer::cancel, 0}));
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "h6-g5"), 1, false, &ui);
  EXPECT_EQ(r.status, TAddStatus::cancelled);
  EXPECT_EQ(r.slot, 0);
  ASSERT_EQ(game.SlotCount(), before.SlotCount());
  for (int i = 0; i < game.SlotCount(); ++i) {
    EXPECT_EQ(game.Moves[i].free, before.Moves[i].free);
    EXPECT_EQ(game.Moves[i].main, before.Moves[i].main);
  }
  EXPECT_FALSE(game.Modified);
}

TEST_F(MoveTreeTest, NoQuestionAnswersNewVariation) {
  Line(0, {"c3-d4", "f6-g5"});
  EXPECT_CALL(ui, AskNewMove).Times(0);
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "h6-g5"), 1, true, &ui);
  EXPECT_EQ(r.status, TAddStatus::added);
  EXPECT_FALSE(game.Moves[r.slot].main);
  EXPECT_EQ(FirstChild(game, 1), 2);
}

TEST_F(MoveTreeTest, ReplaceDeletesTheWholeContinuationAndReusesItsSlots) {
  Line(0, {"c3-d4", "f6-g5", "g3-f4", "g7-f6", "b2-c3"});
  game.CommentsAft[3] = "old comment";
  EXPECT_CALL(ui, AskNewMove(ElementsAre("f6-g5"), 0))
      .WillOnce(Return(TNewMoveChoice{TNewMoveAnswer::replace, 0}));
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "f6-e5"), 1, false, &ui);
  ASSERT_EQ(r.status, TAddStatus::added);
  EXPECT_EQ(r.slot, 2);  // the lowest slot the deletion freed
  EXPECT_TRUE(game.Moves[2].main);
  for (int s : {3, 4, 5}) EXPECT_TRUE(game.Moves[s].free) << s;
  EXPECT_EQ(game.CommentsAft[3], "");
  EXPECT_THAT(ChildrenOf(game, 1), ElementsAre(2));
  EXPECT_EQ(MainLineLength(game), 2);
  // The next moves fill the freed slots from the lowest up before the arrays grow.
  EXPECT_THAT(Line(2, {"d4:f6", "g7:e5", "g3-f4"}), ElementsAre(3, 4, 5));
  EXPECT_EQ(game.SlotCount(), 6);
  EXPECT_THAT(Line(5, {"e5:g3"}), ElementsAre(6));
  EXPECT_EQ(CheckMoveTree(game), "");
}

TEST_F(MoveTreeTest, ReplaceOfASideLineLeavesTheNewMoveAloneAsMain) {
  Line(0, {"c3-d4", "f6-g5"});
  Line(1, {"h6-g5"});
  Line(1, {"b6-a5"});
  // Continuations of slot 1 in order: 2 (main), 3, 4. Replace the last one.
  EXPECT_CALL(ui, AskNewMove).WillOnce(Return(TNewMoveChoice{TNewMoveAnswer::replace, 2}));
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "f6-e5"), 1, false, &ui);
  ASSERT_EQ(r.slot, 4);
  EXPECT_FALSE(game.Moves[2].main);
  EXPECT_TRUE(game.Moves[4].main);
  EXPECT_THAT(ChildrenOf(game, 1), ElementsAre(4, 3, 2));
}

TEST_F(MoveTreeTest, ReplaceWithoutSelectionMakesTheNewMoveMain) {
  Line(0, {"c3-d4", "f6-g5"});
  Line(1, {"h6-g5"});
  EXPECT_CALL(ui, AskNewMove).WillOnce(Return(TNewMoveChoice{TNewMoveAnswer::replace, -1}));
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "f6-e5"), 1, false, &ui);
  ASSERT_EQ(r.status, TAddStatus::added);
  EXPECT_EQ(game.SlotCount(), 5);  // nothing deleted
  EXPECT_EQ(FirstChild(game, 1), r.slot);
  EXPECT_FALSE(game.Moves[2].main);
}

TEST_F(MoveTreeTest, ReplaceWithSelectionOutOfRangeDeletesNothing) {
  Line(0, {"c3-d4", "f6-g5"});
  EXPECT_CALL(ui, AskNewMove).WillOnce(Return(TNewMoveChoice{TNewMoveAnswer::replace, 7}));
  const TAddResult r = AddMoveAsk(game, LegalMove(game, 1, "f6-e5"), 1, false, &ui);
  EXPECT_EQ(r.slot, 3);
  EXPECT_FALSE(game.Moves[2].free);
}

TEST(MoveTree, GetChildrenPutsTheMainChildFirst) {
  TGame game;
  for (int s = 1; s <= 8; ++s) PutSlot(game, s, s == 3 || s == 5 || s == 8 ? 1 : (s == 1 ? 0 : 2), false, PlainMove(s, s + 1));
  game.Moves[8].main = true;
  EXPECT_THAT(ChildrenOf(game, 1), ElementsAre(8, 5, 3));
  game.Moves[8].main = false;
  EXPECT_THAT(ChildrenOf(game, 1), ElementsAre(3, 5, 8));
  game.Moves[5].main = true;
  EXPECT_THAT(ChildrenOf(game, 1), ElementsAre(5, 3, 8));
  // Children are taken from slots 1..LastMove only, and never from free slots.
  game.Moves[3].free = true;
  game.Header.LastMove = 7;
  EXPECT_THAT(ChildrenOf(game, 1), ElementsAre(5));
  EXPECT_THAT(ChildrenOf(game, 99), ElementsAre());
  EXPECT_THAT(ChildrenOf(game, -1), ElementsAre());
}

TEST(MoveTree, TooManyContinuationsAreRefusedAndNeverOverflowTheList) {
  TGame game;
  for (int i = 0; i < MaxChildren; ++i)
    ASSERT_EQ(AddMove(game, 0, PlainMove(1 + i % 50, 1 + i / 50)).status, TAddStatus::added) << i;
  const TAddResult r = AddMove(game, 0, PlainMove(60, 60));
  EXPECT_EQ(r.status, TAddStatus::tooManyChildren);
  EXPECT_EQ(r.slot, 0);
  EXPECT_FALSE(AddStatusText(r.status).empty());
  EXPECT_EQ(AddMoveAsk(game, PlainMove(60, 60), 0, true).status, TAddStatus::tooManyChildren);
  EXPECT_EQ(game.SlotCount(), MaxChildren + 1);

  // A damaged record with more children: the list holds the main child and stops.
  for (int s = MaxChildren + 1; s <= MaxChildren + 10; ++s) PutSlot(game, s, 0, false, PlainMove(61, 61));
  game.Moves[MaxChildren + 7].main = true;
  TChildList list;
  EXPECT_FALSE(GetChildren(game, 0, list));
  EXPECT_EQ(list.count, MaxChildren);
  EXPECT_EQ(list.items[0], MaxChildren + 7);
  EXPECT_NE(CheckMoveTree(game), "");
  EXPECT_EQ(RepairMoveTree(game), 10);
  EXPECT_TRUE(GetChildren(game, 0, list));
  EXPECT_EQ(list.items[0], MaxChildren + 7);  // the main continuation is kept
  EXPECT_EQ(CheckMoveTree(game), "");
}

TEST(MoveTree, NoFreePlacePastTheSlotLimit) {
  TGame game;
  for (int s = 1; s <= MaxMoveSlots; ++s) PutSlot(game, s, s - 1, true, PlainMove(1, 5));
  const TAddResult r = AddMove(game, MaxMoveSlots, PlainMove(5, 1));
  EXPECT_EQ(r.status, TAddStatus::noFreePlace);
  EXPECT_EQ(AddStatusText(r.status), "Error: no free place");
  EXPECT_EQ(game.SlotCount(), MaxMoveSlots + 1);
  EXPECT_EQ(AddMoveAsk(game, PlainMove(5, 1), 10, true).status, TAddStatus::noFreePlace);

  // Replacing a move of a full tree reuses its slot instead of failing.
  NiceMock<MockObserver> ui;
  EXPECT_CALL(ui, AskNewMove).WillOnce(Return(TNewMoveChoice{TNewMoveAnswer::replace, 0}));
  const TAddResult replaced = AddMoveAsk(game, PlainMove(5, 9), MaxMoveSlots - 1, false, &ui);
  EXPECT_EQ(replaced.status, TAddStatus::added);
  EXPECT_EQ(replaced.slot, MaxMoveSlots);
  EXPECT_EQ(game.SlotCount(), MaxMoveSlots + 1);
}

TEST(MoveTree, AdditionsCheckTheirInput) {
  TGame game;
  EXPECT_EQ(AddMove(game, 1, PlainMove(1, 5)).status, TAddStatus::badParent);
  EXPECT_EQ(AddMove(game, -3, PlainMove(1, 5)).status, TAddStatus::badParent);
  TMove damaged = PlainMove(1, 5);
  damaged.lt = MaxCaptured + 1;
  EXPECT_EQ(AddMove(game, 0, damaged).status, TAddStatus::badMove);
  EXPECT_EQ(AddMoveAsk(game, damaged, 0, true).status, TAddStatus::badMove);
  ASSERT_EQ(AddMove(game, 0, PlainMove(1, 5)).slot, 1);
  DeleteSubtree(game, 1);
  EXPECT_EQ(AddMove(game, 1, PlainMove(5, 9)).status, TAddStatus::badParent);  // a free slot
}

TEST_F(MoveTreeTest, DeleteSubtreeOfTheRootKeepsRootAndGameComment) {
  Line(0, {"c3-d4", "f6-g5"});
  game.CommentsAft[0] = "game comment";
  DeleteSubtree(game, 0);
  EXPECT_FALSE(game.Moves[0].free);
  EXPECT_TRUE(game.Moves[1].free);
  EXPECT_TRUE(game.Moves[2].free);
  EXPECT_EQ(game.CommentsAft[0], "game comment");
  EXPECT_EQ(game.Header.LastMove, 2);  // left for the caller to recompute
}

TEST_F(MoveTreeTest, ClearVariationsKeepsOnlyTheMainLine) {
  Line(0, {"c3-d4", "f6-g5", "g3-f4"});
  Line(0, {"c3-b4", "b6-a5"});        // 4, 5
  Line(2, {"b2-c3", "g7-f6"});        // 6, 7 below a main-line move
  Line(4, {"f6-g5"});                 // 8 inside a side line
  ClearVariations(game);
  for (int s = 1; s <= 3; ++s) EXPECT_FALSE(game.Moves[s].free) << s;
  for (int s = 4; s <= 8; ++s) EXPECT_TRUE(game.Moves[s].free) << s;
  EXPECT_EQ(game.Header.LastMove, 8);
  EXPECT_EQ(CheckMoveTree(game), "");
}

TEST_F(MoveTreeTest, ClearComments) {
  Line(0, {"c3-d4", "f6-g5"});
  Line(0, {"c3-b4"});
  game.CommentsAft[0] = "game";
  game.CommentsBef[0] = "description";
  for (int s = 1; s <= 3; ++s) game.CommentsBef[s] = game.CommentsAft[s] = "c" + std::to_string(s);
  game.Moves[1].comm = 0x12;
  TGame all = game;
  ClearComments(game, true);
  for (int s = 1; s <= 3; ++s) EXPECT_EQ(game.CommentsBef[s] + game.CommentsAft[s], "") << s;
  EXPECT_EQ(game.CommentsAft[0], "game");
  EXPECT_EQ(game.CommentsBef[0], "description");
  EXPECT_EQ(game.Moves[1].comm, 0x12);
  EXPECT_FALSE(game.Moves[3].free);

  ClearComments(all, false);
  EXPECT_TRUE(all.Moves[3].free);
  EXPECT_EQ(all.Header.LastMove, 2);
  EXPECT_EQ(all.CommentsAft[1], "");
  EXPECT_EQ(all.CommentsAft[0], "game");
}

TEST_F(MoveTreeTest, ClearGameEmptiesEverythingButKeepsArraysAndStart) {
  Line(0, {"c3-d4", "f6-g5"});
  game.WhiteName = "W";
  game.Header.White.NameIndex = 7;
  game.Header.White.Rating = 2400;
  game.Header.Round = 3;
  game.Header.GameLength = 12;
  game.DBGameNo = 5;
  game.Modified = true;
  game.Selected = true;
  game.CommentsAft[0] = "x";
  const TPackedBoardNew start = game.StartBoard;
  ClearGame(game);
  EXPECT_EQ(game.SlotCount(), 3);
  EXPECT_FALSE(game.Moves[0].free);
  EXPECT_TRUE(game.Moves[1].free);
  EXPECT_TRUE(game.Moves[2].free);
  EXPECT_EQ(game.CommentsAft[0], "");
  EXPECT_EQ(game.Header.LastMove, 0);
  EXPECT_EQ(game.Header.Round, 0);
  EXPECT_EQ(game.Header.White.Rating, 0);
  EXPECT_EQ(game.Header.White.NameIndex, 7);  // left alone
  EXPECT_EQ(game.Header.GameLength, 12);      // left alone
  EXPECT_EQ(game.StartBoard, start);
  EXPECT_EQ(game.DBGameNo, 0);
  EXPECT_EQ(game.WhiteName, "");
  EXPECT_FALSE(game.Modified);
  EXPECT_FALSE(game.Selected);
  // The freed slots are used again from the lowest.
  EXPECT_EQ(AddMove(game, 0, PlainMove(9, 13)).slot, 1);

  TGame empty;
  empty.Moves.clear();
  empty.CommentsBef.clear();
  empty.CommentsAft.clear();
  ClearGame(empty);
  ASSERT_EQ(empty.SlotCount(), 1);
  EXPECT_EQ(empty.CommentsBef.size(), 1u);
  EXPECT_EQ(empty.CommentsAft.size(), 1u);
  EXPECT_FALSE(empty.Moves[0].free);
}

}  // namespace
}  // namespace kestrel
