#include "app/panels/game_panel_commands.h"

#include <gtest/gtest.h>

#include "game/glyphs.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "game/tests/game_test_util.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using testing::ChildrenOf;
using testing::LegalMove;

// 1. c3-d4 f6-g5 2. b2-c3, with a side line 1... f6-e5 2. d4:f6 after the first move.
struct Sample {
  TGame game;
  int m1 = 0, m2 = 0, m3 = 0, side1 = 0, side2 = 0;
  Sample() {
    NewGame(game, gtRussian);
    m1 = Add(0, "c3-d4");
    m2 = Add(m1, "f6-g5");
    m3 = Add(m2, "b2-c3");
    side1 = Add(m1, "f6-e5");
    side2 = Add(side1, "d4:f6");
    game.Modified = false;
  }
  int Add(int parent, const char* text) {
    const TAddResult r = AddMove(game, parent, LegalMove(game, parent, text));
    EXPECT_TRUE(r.ok()) << text;
    return r.slot;
  }
  bool Apply(int slot, TPanelCommandKind kind, int code = 0) {
    EXPECT_TRUE(GoToMove(game, slot));
    return ApplyPanelCommand(game, {kind, code});
  }
};

TEST(PanelCommands, MoveAndPositionMarksKeepEachOther) {
  Sample s;
  ASSERT_TRUE(s.Apply(s.m2, TPanelCommandKind::moveMark, 3));  // "!?"
  ASSERT_TRUE(s.Apply(s.m2, TPanelCommandKind::positionMark, 5));  // "-+"
  EXPECT_EQ(MoveGlyphText(s.game.Moves[s.m2].comm), "!?");
  EXPECT_EQ(PositionGlyphText(s.game.Moves[s.m2].comm), "-+");
  ASSERT_TRUE(s.Apply(s.m2, TPanelCommandKind::moveMark, 0));
  EXPECT_EQ(MoveGlyphCode(s.game.Moves[s.m2].comm), 0);
  EXPECT_EQ(PositionGlyphCode(s.game.Moves[s.m2].comm), 5);
  EXPECT_TRUE(s.game.Modified);
  EXPECT_EQ(s.game.Moves[s.m1].comm, 0);  // only the current move changes
}

TEST(PanelCommands, MarksOutOfRangeOrOnTheStartChangeNothing) {
  Sample s;
  EXPECT_FALSE(s.Apply(s.m1, TPanelCommandKind::moveMark, 7));
  EXPECT_FALSE(s.Apply(s.m1, TPanelCommandKind::positionMark, 8));
  EXPECT_FALSE(s.Apply(s.m1, TPanelCommandKind::moveMark, -1));
  EXPECT_FALSE(s.Apply(0, TPanelCommandKind::moveMark, 2));
  EXPECT_EQ(s.game.Moves[s.m1].comm, 0);
  EXPECT_FALSE(s.game.Modified);
}

TEST(PanelCommands, ExtraShortNotationFlags) {
  Sample s;
  s.game.Moves[s.m3].flags = mfOnlyMoveOfPiece | mfAmbiguousFile;
  ASSERT_TRUE(s.Apply(s.m3, TPanelCommandKind::hideInExtraShort));
  EXPECT_EQ(s.game.Moves[s.m3].flags, mfHideExtraShort | mfAmbiguousFile);  // high bits stay
  ASSERT_TRUE(s.Apply(s.m3, TPanelCommandKind::showInExtraShort));
  EXPECT_EQ(s.game.Moves[s.m3].flags, mfAmbiguousFile);
}

TEST(PanelCommands, ViewingStartIsTheCurrentMove) {
  Sample s;
  ASSERT_TRUE(s.Apply(s.side1, TPanelCommandKind::markViewingStart));
  EXPECT_EQ(s.game.Header.ShowFrom, s.side1);
  EXPECT_TRUE(s.game.Modified);
}

TEST(PanelCommands, DeleteLineGoesBackToTheMoveBefore) {
  Sample s;
  ASSERT_TRUE(s.Apply(s.side1, TPanelCommandKind::deleteLine));
  EXPECT_EQ(s.game.CurMovPos, s.m1);
  EXPECT_EQ(ChildrenOf(s.game, s.m1), std::vector<int32_t>{s.m2});
  EXPECT_TRUE(s.game.Moves[s.side2].free);
  EXPECT_EQ(s.game.Header.LastMove, s.m3);
}

TEST(PanelCommands, PromoteLineMakesTheSideLineMain) {
  Sample s;
  ASSERT_TRUE(s.Apply(s.side2, TPanelCommandKind::promoteLine));
  EXPECT_EQ(ChildrenOf(s.game, s.m1), (std::vector<int32_t>{s.side1, s.m2}));
  EXPECT_TRUE(s.game.Modified);
  // The main line has no branch point above it.
  Sample t;
  EXPECT_FALSE(t.Apply(t.m1, TPanelCommandKind::promoteLine));
}

TEST(PanelCommands, RemoveCommentsAndVariations) {
  Sample s;
  s.game.CommentsBef[s.m2] = "before";
  s.game.CommentsAft[s.side2] = "after";
  ASSERT_TRUE(s.Apply(s.m3, TPanelCommandKind::removeComments));
  EXPECT_EQ(s.game.CommentsBef[s.m2], "");
  EXPECT_EQ(s.game.CommentsAft[s.side2], "");
  EXPECT_EQ(ChildrenOf(s.game, s.m1).size(), 2u);  // the lines stay
  ASSERT_TRUE(s.Apply(s.m3, TPanelCommandKind::removeVariations));
  EXPECT_EQ(ChildrenOf(s.game, s.m1), std::vector<int32_t>{s.m2});
  EXPECT_FALSE(s.game.IsNode(s.side1));
  EXPECT_EQ(s.game.CurMovPos, s.m3);
}

TEST(PanelCommands, RemovingVariationsUnderTheCurrentMoveGoesToTheMainLine) {
  Sample s;
  ASSERT_TRUE(s.Apply(s.side2, TPanelCommandKind::removeVariations));
  EXPECT_EQ(s.game.CurMovPos, s.m1);
  EXPECT_TRUE(s.game.IsNode(s.game.CurMovPos));
}

TEST(PanelCommands, TheCommentDialogSeesTheCurrentMovesTexts) {
  Sample s;
  s.game.CommentsBef[s.m2] = "b";
  s.game.CommentsAft[s.m2] = "a";
  s.game.CommentsAft[0] = "game";
  ASSERT_TRUE(GoToMove(s.game, s.m2));
  TMoveComments c = CurrentMoveComments(s.game);
  EXPECT_EQ(c.before, "b");
  EXPECT_EQ(c.after, "a");
  EXPECT_TRUE(c.beforeEnabled);
  ASSERT_TRUE(GoToMove(s.game, 0));
  c = CurrentMoveComments(s.game);
  EXPECT_FALSE(c.beforeEnabled);
  EXPECT_EQ(c.after, "game");
}

}  // namespace
}  // namespace kestrel
