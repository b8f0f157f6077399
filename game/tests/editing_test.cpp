#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/game_editing.h"
#include "game/glyphs.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "game/tree_check.h"
#include "game_test_util.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using ::testing::_;
using ::testing::ElementsAre;
using ::testing::NiceMock;
using namespace kestrel::testing;

class EditingTest : public ::testing::Test {
 protected:
  void SetUp() override { NewGame(game, gtRussian); }

  std::vector<int32_t> Line(int parent, std::initializer_list<std::string_view> texts) {
    std::vector<int32_t> slots;
    for (std::string_view t : texts) {
      parent = AddMove(game, parent, LegalMove(game, parent, t)).slot;
      slots.push_back(parent);
    }
    return slots;
  }

  TGame game;
  NiceMock<MockObserver> ui;
};

TEST_F(EditingTest, DeleteLineAfterAMainLineMove) {
  const auto main = Line(0, {"c3-d4", "f6-g5", "g3-f4", "g7-f6"});  // 1..4
  Line(0, {"c3-b4", "b6-a5"});                                      // 5, 6
  ASSERT_TRUE(GoToMove(game, main[1]));
  EXPECT_CALL(ui, BeforeGoToMove(_, main[0]));
  DeleteLineAfterMove(game, &ui);
  for (int s : {2, 3, 4}) EXPECT_TRUE(game.Moves[s].free) << s;
  EXPECT_FALSE(game.Moves[1].free);
  EXPECT_EQ(game.CurMovPos, main[0]);
  EXPECT_EQ(game.SideToMove, TDColor::black);
  EXPECT_EQ(game.Header.LastMove, 6);  // the side line still uses slot 6
  EXPECT_EQ(MainLineLength(game), 1);
  EXPECT_TRUE(game.Modified);

  // Deleting the side line drops LastMove to the highest slot still used.
  ASSERT_TRUE(GoToMove(game, 5));
  DeleteLineAfterMove(game);
  EXPECT_EQ(game.Header.LastMove, 1);
  EXPECT_EQ(game.CurMovPos, 0);
  EXPECT_EQ(game.CurBoard.b, InitialPosition(gtRussian).b);
  EXPECT_EQ(CheckMoveTree(game), "");
  // The freed slots are taken again from the lowest.
  EXPECT_THAT(Line(1, {"f6-e5", "d4:f6"}), ElementsAre(2, 3));
}

TEST_F(EditingTest, DeleteLineAtTheStartRemovesEveryMoveButKeepsTheGameComment) {
  Line(0, {"c3-d4", "f6-g5"});
  game.CommentsAft[0] = "kept";
  DeleteLineAfterMove(game);
  EXPECT_EQ(HighestUsedSlot(game), 0);
  EXPECT_EQ(game.Header.LastMove, 0);
  EXPECT_FALSE(game.Moves[0].free);
  EXPECT_EQ(game.CommentsAft[0], "kept");
}

TEST_F(EditingTest, PromoteLineFromDeepInsideASideLine) {
  const auto main = Line(0, {"c3-d4", "f6-g5", "g3-f4", "g7-f6", "b2-c3"});
  const auto side = Line(main[0], {"h6-g5", "g3-h4", "g7-h6", "b2-c3"});
  ASSERT_EQ(FirstChild(game, main[0]), main[1]);
  EXPECT_TRUE(PromoteLine(game, side[3], &ui));
  EXPECT_TRUE(game.Moves[side[0]].main);
  EXPECT_FALSE(game.Moves[main[1]].main);
  EXPECT_EQ(FirstChild(game, main[0]), side[0]);
  EXPECT_EQ(MainLineLength(game), 5);
  ASSERT_TRUE(GoToLineEnd(game, 0));
  EXPECT_EQ(game.CurMovPos, side[3]);
  EXPECT_TRUE(game.Modified);

  // Promoting the old line back restores it.
  EXPECT_TRUE(PromoteLine(game, main[2]));
  EXPECT_EQ(FirstChild(game, main[0]), main[1]);
  ASSERT_TRUE(GoToLineEnd(game, 0));
  EXPECT_EQ(game.CurMovPos, main[4]);
}

TEST_F(EditingTest, PromoteLineStopsAtTheNearestBranchPoint) {
  const auto main = Line(0, {"c3-d4", "f6-g5", "g3-f4", "g7-f6"});
  const auto side = Line(main[0], {"h6-g5", "g3-h4", "g7-h6"});
  const auto sub = Line(side[0], {"g3-f4", "b6-a5"});  // a variation inside the side line
  EXPECT_TRUE(PromoteLine(game, sub[1]));
  EXPECT_EQ(FirstChild(game, side[0]), sub[0]);
  EXPECT_EQ(FirstChild(game, main[0]), main[1]);  // the side line itself stays a side line
}

TEST_F(EditingTest, PromoteLineWithoutBranchChangesNothing) {
  const auto main = Line(0, {"c3-d4", "f6-g5"});
  game.Modified = false;
  EXPECT_FALSE(PromoteLine(game, main[1]));
  EXPECT_FALSE(PromoteLine(game, 0));
  EXPECT_FALSE(PromoteLine(game, 40));
  EXPECT_TRUE(game.Moves[main[0]].main);
  EXPECT_FALSE(game.Modified);
}

TEST_F(EditingTest, GlyphsReplaceOnlyTheirOwnBits) {
  const auto main = Line(0, {"c3-d4"});
  const int s = main[0];
  EXPECT_CALL(ui, RequestRefresh(_, rfSaveButton)).Times(3);
  EXPECT_CALL(ui, RequestRefresh(_, rfTree)).Times(3);
  EXPECT_TRUE(SetGlyph(game, s, 1, 3, &ui));
  EXPECT_TRUE(SetGlyph(game, s, 2, 6, &ui));
  EXPECT_EQ(MoveGlyphText(game.Moves[s].comm), "!?");
  EXPECT_EQ(PositionGlyphText(game.Moves[s].comm), " x");
  EXPECT_TRUE(SetGlyph(game, s, 1, 0, &ui));
  EXPECT_EQ(game.Moves[s].comm, 6 << 4);
  EXPECT_FALSE(SetGlyph(game, s, 3, 1));
  EXPECT_FALSE(SetGlyph(game, s, 1, 8));
  EXPECT_FALSE(SetGlyph(game, 0, 1, 1));
  EXPECT_FALSE(SetGlyph(game, 9, 1, 1));
  EXPECT_EQ(game.Moves[s].comm, 6 << 4);
}

TEST_F(EditingTest, ShowAndHideInExtraShortNotation) {
  const auto main = Line(0, {"c3-d4"});
  TMove& m = game.Moves[main[0]];
  m.flags = mfAmbiguousFile | mfHideExtraShort2 | mfUniqueTarget;
  EXPECT_TRUE(SetExtraShortVisible(game, main[0], false));
  EXPECT_EQ(m.flags, mfAmbiguousFile | mfHideExtraShort);
  EXPECT_EQ(MoveToText(m, gtRussian, 2, ":"), "");
  EXPECT_TRUE(SetExtraShortVisible(game, main[0], true));
  EXPECT_EQ(m.flags, mfAmbiguousFile);
  EXPECT_EQ(MoveToText(m, gtRussian, 2, ":"), "c3-d4");
  EXPECT_FALSE(SetExtraShortVisible(game, 0, true));
  EXPECT_TRUE(game.Modified);
}

TEST_F(EditingTest, ViewingStartAndDiagramMark) {
  const auto main = Line(0, {"c3-d4", "f6-g5"});
  ASSERT_TRUE(GoToMove(game, main[1]));
  MarkAsViewingStart(game);
  EXPECT_EQ(game.Header.ShowFrom, main[1]);
  game.CommentsAft[main[1]] = "Strong.";
  AddDiagram(game);
  EXPECT_EQ(game.CommentsAft[main[1]], "Strong.[#]");
  ASSERT_TRUE(GoToMove(game, 0));
  AddDiagram(game);
  EXPECT_EQ(game.CommentsAft[0], "[#]");

  std::string text = "ab";
  EXPECT_EQ(InsertDiagramMark(text, 1), 4u);
  EXPECT_EQ(text, "a[#]b");
  const std::size_t caret = InsertDiagramMark(text, 99);
  EXPECT_EQ(caret, text.size());
  EXPECT_EQ(text, "a[#]b[#]");
}

TEST_F(EditingTest, CommentEditingDropsOneTrailingLineBreak) {
  const auto main = Line(0, {"c3-d4"});
  EXPECT_TRUE(SetMoveComments(game, main[0], "before\r\n", "line 1\r\nline 2\r\n\r\n"));
  EXPECT_EQ(game.CommentsBef[main[0]], "before");
  EXPECT_EQ(game.CommentsAft[main[0]], "line 1\r\nline 2\r\n");
  EXPECT_TRUE(SetMoveComments(game, main[0], "x\n", "y"));
  EXPECT_EQ(game.CommentsBef[main[0]], "x");
  EXPECT_EQ(game.CommentsAft[main[0]], "y");
  // At the start only the game comment is edited; the description stays.
  game.CommentsBef[0] = "description";
  EXPECT_TRUE(SetMoveComments(game, 0, "ignored", "game comment\r\n"));
  EXPECT_EQ(game.CommentsBef[0], "description");
  EXPECT_EQ(game.CommentsAft[0], "game comment");
  EXPECT_FALSE(SetMoveComments(game, 5, "a", "b"));
  EXPECT_TRUE(game.Modified);
}

}  // namespace
}  // namespace kestrel
