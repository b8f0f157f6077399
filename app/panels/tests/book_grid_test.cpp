#include "app/panels/book_grid.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support/temp_dir.h"
#include "game/opening_tree.h"
#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

const TOpenMove* Row(const TOpenMoves& tree, int num) {
  for (int i = 1; i <= tree.Op_moves; ++i)
    if (tree.openmoves[i].num == num) return &tree.openmoves[i];
  return nullptr;
}

class BookGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto path = dir.path() / "test.cbk";
    std::ofstream(path, std::ios::binary).flush();
    book.BookIni(path);
    ASSERT_TRUE(book.IsOpen());
  }
  TOpenMoves Tree(TDColor side = TDColor::white) {
    TOpenMoves tree;
    BuildOpeningTree(book, board, side, gtRussian, tree);
    return tree;
  }
  testing::TempDir dir;
  TOpeningBook book;
  TBoard board = InitialPosition(gtRussian);
};

TEST_F(BookGrid, SignsReachTheRowTheyWereGivenTo) {
  TOpenMoves tree = Tree();
  ASSERT_EQ(tree.Op_moves, 7);
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(BookRowColor(tree.openmoves[i]), TBookRowColor::notInBook);
  const int good = tree.openmoves[3].num;
  const int weak = tree.openmoves[5].num;
  ASSERT_TRUE(SetBookRowSign(book, *Row(tree, good), board, TDColor::white, gtRussian, 2));   // "!"
  ASSERT_TRUE(SetBookRowSign(book, *Row(tree, weak), board, TDColor::white, gtRussian, 7));   // "??"
  tree = Tree();
  EXPECT_EQ(Row(tree, good)->sign, 2);
  EXPECT_EQ(BookRowColor(*Row(tree, good)), TBookRowColor::good);
  EXPECT_EQ(Row(tree, weak)->sign, 7);
  EXPECT_EQ(BookRowColor(*Row(tree, weak)), TBookRowColor::weak);
  int unmarked = 0;
  for (int i = 1; i <= tree.Op_moves; ++i) unmarked += tree.openmoves[i].col == BookNotInBook;
  EXPECT_EQ(unmarked, 5);
}

TEST_F(BookGrid, SignsForBlackToMoveAreFoundFromBlacksSide) {
  TOpenMoves tree = Tree(TDColor::black);
  ASSERT_GT(tree.Op_moves, 0);
  const int num = tree.openmoves[1].num;
  ASSERT_TRUE(SetBookRowSign(book, *Row(tree, num), board, TDColor::black, gtRussian, 3));
  EXPECT_EQ(Row(Tree(TDColor::black), num)->sign, 3);
  // The start is symmetric: turned over, the position is the one after
  // the mirrored White move, and only that one.
  const TOpenMoves white = Tree();
  int found = 0;
  for (int i = 1; i <= white.Op_moves; ++i) found += white.openmoves[i].col != BookNotInBook;
  EXPECT_EQ(found, 1);
}

TEST_F(BookGrid, AddOnClickWritesOnlyUnsignedMoves) {
  TOpenMoves tree = Tree();
  const int plain = tree.openmoves[1].num;
  const int signed_ = tree.openmoves[2].num;
  ASSERT_TRUE(SetBookRowSign(book, *Row(tree, signed_), board, TDColor::white, gtRussian, 1));
  tree = Tree();
  EXPECT_TRUE(AddRowOnClick(book, *Row(tree, plain), board, TDColor::white, gtRussian));
  EXPECT_FALSE(AddRowOnClick(book, *Row(tree, signed_), board, TDColor::white, gtRussian));
  tree = Tree();
  EXPECT_EQ(Row(tree, plain)->sign, BookSignNone);
  EXPECT_EQ(BookRowColor(*Row(tree, plain)), TBookRowColor::playable);
  EXPECT_EQ(Row(tree, signed_)->sign, 1);
  EXPECT_EQ(book.RecordCount(), 2);
}

TEST_F(BookGrid, WithoutABookRowsStillNameTheirMoves) {
  book.Close();
  const TOpenMoves tree = Tree();
  ASSERT_EQ(tree.Op_moves, 7);
  const TOpenMove& row = tree.openmoves[4];
  EXPECT_FALSE(SetBookRowSign(book, row, board, TDColor::white, gtRussian, 1));
  EXPECT_FALSE(AddRowOnClick(book, row, board, TDColor::white, gtRussian));
  const auto move = BookRowMove(row, board, TDColor::white, gtRussian);
  ASSERT_TRUE(move.has_value());
  EXPECT_EQ(MoveToText(*move, gtRussian, 0, TakeChar), row.move);
}

TEST_F(BookGrid, BadRowsAndSignsAreRefused) {
  TOpenMove row;
  row.num = 0;
  EXPECT_FALSE(BookRowMove(row, board, TDColor::white, gtRussian).has_value());
  row.num = 8;
  EXPECT_FALSE(SetBookRowSign(book, row, board, TDColor::white, gtRussian, 1));
  row.num = 1;
  EXPECT_FALSE(SetBookRowSign(book, row, board, TDColor::white, gtRussian, 0));
  EXPECT_FALSE(SetBookRowSign(book, row, board, TDColor::white, gtRussian, 8));
  EXPECT_EQ(book.RecordCount(), 0);
}

}  // namespace
}  // namespace kestrel
