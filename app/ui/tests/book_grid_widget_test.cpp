#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "app/ui/book_grid_widget.h"
#include "game/opening_tree.h"

namespace kestrel {
namespace {

TOpenMoves SampleTree() {
  TOpenMoves tree;
  const char* moves[] = {"c3-d4!", "e3-f4", "a3-b4??"};
  const uint8_t classes[] = {BookGood, BookNotInBook, BookWeak};
  tree.Op_moves = 3;
  for (int i = 0; i < 3; ++i) {
    TOpenMove& e = tree.openmoves[i + 1];
    e.num = static_cast<uint8_t>(7 - i);
    e.move = moves[i];
    e.stat = i == 1 ? "" : "+1-2=3";
    e.col = classes[i];
  }
  return tree;
}

QPoint CellCentre(QTableWidget* t, int row, int column) {
  return t->visualItemRect(t->item(row, column)).center();
}

TEST(BookGridWidget, RowsAreColouredByClassAndClicksNameTheirEntries) {
  BookGridWidget grid;
  grid.resize(300, 200);
  grid.show();
  grid.ShowTree(SampleTree(), "russian.cbk");
  QTableWidget* t = grid.Table();
  ASSERT_EQ(t->rowCount(), 3);
  EXPECT_EQ(t->item(0, 0)->text(), "c3-d4!");
  EXPECT_EQ(t->item(0, 1)->text(), "+1-2=3");
  EXPECT_EQ(t->item(0, 0)->foreground().color(), QColor(0, 128, 0));
  EXPECT_EQ(t->item(2, 0)->foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(grid.BookLabel()->text(), "russian.cbk");

  QSignalSpy chosen(&grid, &BookGridWidget::moveChosen);
  QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, CellCentre(t, 2, 0));
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen.last().at(0).value<TOpenMove>().num, 5);
  QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, CellCentre(t, 0, 1));  // statistics column
  EXPECT_EQ(chosen.count(), 1);

  QSignalSpy signs(&grid, &BookGridWidget::signChosen);
  QTest::mouseClick(t->viewport(), Qt::RightButton, {}, CellCentre(t, 1, 0));
  grid.SignMenu()->actions().at(5)->trigger();  // "?"
  grid.SignMenu()->hide();
  ASSERT_EQ(signs.count(), 1);
  EXPECT_EQ(signs.last().at(0).value<TOpenMove>().num, 6);
  EXPECT_EQ(signs.last().at(1).toInt(), 6);
  EXPECT_EQ(chosen.count(), 1);  // a right click plays nothing

  EXPECT_FALSE(grid.AddOnClick());
  grid.SignMenu()->actions().last()->trigger();
  EXPECT_TRUE(grid.AddOnClick());
}

TEST(BookGridWidget, WithoutABookTheNameIsHidden) {
  BookGridWidget grid;
  grid.ShowTree(SampleTree(), "");
  EXPECT_FALSE(grid.BookLabel()->isVisibleTo(&grid));
  TOpenMoves damaged = SampleTree();
  damaged.Op_moves = 250;  // more rows than the tree holds
  grid.ShowTree(damaged, "x");
  EXPECT_EQ(grid.Table()->rowCount(), static_cast<int>(damaged.openmoves.size()) - 1);
  EXPECT_EQ(grid.Entry(500), nullptr);
}

}  // namespace
}  // namespace kestrel
