// The "New search" dialog driven by the mouse: the position part opens and
// closes with "Position", clicks on the pattern board follow the click
// rules, "Combination:" turns clicks into the combination squares, and "OK"
// values become the search record.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include "app/ui/database_search.h"
#include "app/ui/pattern_board_widget.h"
#include "app/ui/search_dialog.h"
#include "database/list_texts.h"
#include "database/tests/db_test_util.h"

namespace kestrel {
namespace {

QPoint CentreOf(int square, TPatternBoardKind kind) {
  const SquarePlacement p = PlaceSquare(square, PatternBoardGeometry(kind), PatternBoardOrientation(kind));
  return {p.playable.CentreX(), p.playable.CentreY()};
}

TEST(SearchDialog, PositionPartAndPatternClicks) {
  SearchDialog dialog;
  TSearchDialogValues start;
  start.position = true;
  dialog.SetValues(start);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_FALSE(dialog.positionPart()->isVisible()) << "every showing starts with Position cleared";
  EXPECT_FALSE(dialog.combinationBox()->isEnabled());
  const int closedHeight = dialog.height();

  dialog.positionBox()->setChecked(true);
  QApplication::processEvents();
  EXPECT_TRUE(dialog.positionPart()->isVisible());
  EXPECT_TRUE(dialog.combinationBox()->isEnabled());
  EXPECT_GT(dialog.height(), closedHeight + 200);

  PatternBoardWidget* board = dialog.patternBoard();
  TPatternState empty;
  ClearPattern(empty);
  board->SetState(empty);
  const auto kind = board->Kind();
  QTest::mouseClick(board, Qt::LeftButton, {}, CentreOf(1, kind));
  QTest::mouseClick(board, Qt::LeftButton, {}, CentreOf(1, kind));
  QTest::mouseClick(board, Qt::RightButton, {}, CentreOf(32, kind));
  QTest::mouseClick(board, Qt::MiddleButton, {}, CentreOf(5, kind));
  QTest::mouseClick(board, Qt::LeftButton, {}, {2, 2});  // the margin
  EXPECT_EQ(board->State().board[1], WhiteKing);
  EXPECT_EQ(board->State().board[32], BlackMan);
  EXPECT_EQ(board->State().board[5], AnySquare);

  dialog.combinationBox()->setChecked(true);
  EXPECT_EQ(board->State().board[1], AnySquare) << "Combination: cleans the pattern";
  QTest::mouseClick(board, Qt::LeftButton, {}, CentreOf(22, kind));
  QTest::mouseClick(board, Qt::RightButton, {}, CentreOf(13, kind));
  EXPECT_EQ(board->State().combFr, 22);
  EXPECT_EQ(board->State().combTo, 13);
  dialog.grab().save("/tmp/kestrel-search-dialog.png");

  TSearchInfo info;
  TSearchSwitches sw;
  ToSearchRecord(dialog.Values(), info, sw);
  EXPECT_TRUE(sw.position && info.Comb);
  EXPECT_EQ(info.CombFr, 22);
  EXPECT_EQ(info.CombTo, 13);

  TPatternState startPosition;
  SetPatternPosition(startPosition, PatternStartPosition(TPatternBoardKind::b100));
  startPosition.board[23] = AnySquare;
  board->SetKind(TPatternBoardKind::b100);
  board->SetState(startPosition);
  board->Picture().save("/tmp/kestrel-search-dialog-board.png");

  dialog.positionBox()->setChecked(false);
  EXPECT_FALSE(dialog.combinationBox()->isChecked());
  EXPECT_FALSE(dialog.combinationBox()->isEnabled());
  ToSearchRecord(dialog.Values(), info, sw);
  EXPECT_FALSE(sw.position || info.Comb);
}

TEST(DatabaseSearch, QuickSearchFillsTheListAndTheCaptionSaysFound) {
  testing::TempDir dir;
  TKestrelDB db;
  testing::FreshDatabase(dir, db);
  for (int plies : {3, 0, 5}) {
    TGame g = testing::LineGame(gtRussian, plies);
    WriteDBGame(g, 0, db, false);
  }
  TGame other = testing::LineGame(gtInternational, 2);
  WriteDBGame(other, 0, db, false);
  db.DBSize = db.RecordCount();
  TGameList list;
  list.Reset(db.DBSize);
  db.DBCurPos = 4;
  TDatabaseSearch search;
  search.values.comments = true;
  search.values.deleted = false;
  ASSERT_TRUE(QuickSearch(nullptr, db, list, search, InitialPosition(gtRussian).b, TDColor::white, 32));
  ASSERT_EQ(list.GameListCount, 3);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(list[i].gotomove, 0);
  EXPECT_EQ(list[3].num, 3);
  EXPECT_EQ(db.DBCurPos, 1);
  EXPECT_FALSE(search.values.comments) << "the quick search clears Comments in the dialog";
  EXPECT_NE(DatabaseCaption(db, list).find("(found 3)"), std::string::npos) << DatabaseCaption(db, list);
  list.Reset(db.DBSize);  // "Reset"
  EXPECT_EQ(DatabaseCaption(db, list).find("found"), std::string::npos);
}

}  // namespace
}  // namespace kestrel
