#include "game/opening_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"
#include "test_support/book_file.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

// The Russian start position, White to move, and its seven moves by text.
struct StartFixture {
  TBoard board = InitialPosition(gtRussian);
  TMoveList list{};
  uint8_t count = 0;
  StartFixture() { BookMoveList(board, TDColor::white, gtRussian, list, count); }

  const TMove& Move(const std::string& text) const {
    for (int i = 0; i < count; ++i)
      if (MoveToText(list[i], gtRussian, 0, "x") == text) return list[i];
    ADD_FAILURE() << "no move " << text;
    return list[0];
  }
  TOpen After(const std::string& text) const {
    TBoard b = board;
    ApplyMove(Move(text), b, gtRussian);
    TOpen r;
    r.position = BookNormalForm(b.b, TDColor::black, gtRussian);
    return r;
  }
};

TEST(OpeningTree, WithoutABookEveryLegalMoveIsListedInGenerationOrder) {
  StartFixture f;
  TOpeningBook closed;
  TOpenMoves tree;
  BuildOpeningTree(closed, f.board, TDColor::white, gtRussian, tree);
  ASSERT_EQ(tree.Op_moves, 7);
  for (int i = 1; i <= 7; ++i) {
    const TOpenMove& e = tree.openmoves[i];
    EXPECT_EQ(e.num, i);
    EXPECT_EQ(e.move, MoveToText(f.list[i - 1], gtRussian, 0, TakeChar));
    EXPECT_EQ(e.col, BookNotInBook);
    EXPECT_EQ(e.sign, BookSignNone);
    EXPECT_EQ(e.freq, 0);
    EXPECT_EQ(e.qual, 0);
    EXPECT_EQ(e.eb, 1);
  }
  EXPECT_EQ(tree.openmoves[1].stat, NoBookText);
  EXPECT_EQ(tree.openmoves[2].stat, "");
  EXPECT_EQ(tree.openposcomm, "");
  std::mt19937 rng(1);
  for (int level = 0; level <= 3; ++level) EXPECT_EQ(ChooseBookMove(tree, level, rng), 0);
}

TEST(OpeningTree, EntriesAreClassedByEvaluationSignsAndResults) {
  testing::TempDir dir;
  StartFixture f;
  std::vector<TOpen> recs;
  // Evaluations are stored for the side that answers the move.
  TOpen weakEval = f.After("c3-d4");
  weakEval.eval = 30;  // " <", weak
  recs.push_back(weakEval);
  TOpen goodEval = f.After("g3-h4");
  goodEval.eval = -80;  // " +", good
  recs.push_back(goodEval);
  TOpen popular = f.After("c3-b4");  // the mover won 6 of 10: 70 percent
  popular.bl = 6;
  popular.dr = 2;
  popular.wh = 2;
  popular.eval = BookNoEval;
  recs.push_back(popular);
  TOpen signed2 = f.After("e3-f4");  // "!" makes it good whatever the games say
  signed2.sign = 2;
  signed2.wh = 10;
  recs.push_back(signed2);
  TOpen dubious = f.After("a3-b4");  // "?!" makes it weak
  dubious.sign = 5;
  recs.push_back(dubious);
  TOpen plain = f.After("g3-f4");  // in the book, no games, no sign
  recs.push_back(plain);
  testing::WriteBookFile(dir.File("r.cbk"), recs);

  TOpeningBook book;
  book.BookIni(dir.File("r.cbk"));
  ASSERT_TRUE(book.IsOpen());
  TOpenMoves tree;
  BuildOpeningTree(book, f.board, TDColor::white, gtRussian, tree);
  ASSERT_EQ(tree.Op_moves, 7);

  std::map<std::string, TOpenMove> byMove;
  for (int i = 1; i <= 7; ++i) byMove[MoveToText(f.list[tree.openmoves[i].num - 1], gtRussian, 0, "x")] = tree.openmoves[i];
  EXPECT_EQ(byMove["c3-d4"].col, BookWeak);
  EXPECT_EQ(byMove["c3-d4"].eval, -30);
  EXPECT_NE(byMove["c3-d4"].move.find(" <"), std::string::npos);
  EXPECT_EQ(byMove["g3-h4"].col, BookGood);
  EXPECT_EQ(byMove["g3-h4"].eval, 80);
  EXPECT_NE(byMove["g3-h4"].move.find(" +"), std::string::npos);
  // Games: 10 of 20 in the book, the mover scored (2*6+2)/20 = 70 percent.
  EXPECT_EQ(byMove["c3-b4"].stat, "+6-2=2");
  EXPECT_EQ(byMove["c3-b4"].qual, 70);
  EXPECT_EQ(byMove["c3-b4"].freq, 50);
  EXPECT_EQ(byMove["c3-b4"].col, BookGood);
  EXPECT_EQ(byMove["c3-b4"].eval, 0);  // no evaluation counts as 0
  EXPECT_EQ(byMove["e3-f4"].qual, 0);   // ten losses for the mover
  EXPECT_EQ(byMove["e3-f4"].col, BookGood);
  EXPECT_EQ(byMove["a3-b4"].col, BookWeak);
  EXPECT_NE(byMove["a3-b4"].move.find("?!"), std::string::npos);
  EXPECT_EQ(byMove["g3-f4"].col, BookPlayable);
  EXPECT_EQ(byMove["g3-f4"].qual, 50);
  EXPECT_EQ(byMove["g3-f4"].sign, BookSignNone);
  EXPECT_EQ(byMove["e3-d4"].col, BookNotInBook);

  // Best first: good entries by evaluation, then the sign, then playable,
  // weak, and the move the book does not know.
  std::vector<std::string> order;
  for (int i = 1; i <= 7; ++i) order.push_back(MoveToText(f.list[tree.openmoves[i].num - 1], gtRussian, 0, "x"));
  EXPECT_EQ(order, (std::vector<std::string>{"g3-h4", "e3-f4", "c3-b4", "g3-f4", "a3-b4", "c3-d4", "e3-d4"}));
  EXPECT_EQ(tree.openmoves[1].stat, "");

  EXPECT_EQ(BookCandidateCount(tree, BookLevelBest), 1);
  EXPECT_EQ(BookCandidateCount(tree, BookLevelGood), 3);
  EXPECT_EQ(BookCandidateCount(tree, BookLevelNormal), 4);
  EXPECT_EQ(BookCandidateCount(tree, 7), 0);
  std::mt19937 rng(5);
  std::set<int> chosen;
  for (int i = 0; i < 200; ++i) chosen.insert(ChooseBookMove(tree, BookLevelGood, rng));
  EXPECT_EQ(chosen, (std::set<int>{tree.openmoves[1].num, tree.openmoves[2].num, tree.openmoves[3].num}));
}

TEST(OpeningTree, BestLevelSearchesWhenTheFirstEntryIsWeak) {
  testing::TempDir dir;
  StartFixture f;
  TOpen only = f.After("c3-d4");
  only.eval = 90;
  testing::WriteBookFile(dir.File("w.cbk"), {only});
  TOpeningBook book;
  book.BookIni(dir.File("w.cbk"));
  TOpenMoves tree;
  BuildOpeningTree(book, f.board, TDColor::white, gtRussian, tree);
  // The weak book move still sorts above the six moves the book lacks.
  EXPECT_EQ(tree.openmoves[1].col, BookWeak);
  EXPECT_NE(tree.openmoves[1].move.find(" -"), std::string::npos);
  std::mt19937 rng(2);
  EXPECT_EQ(ChooseBookMove(tree, BookLevelBest, rng), 0);
  EXPECT_EQ(ChooseBookMove(tree, BookLevelGood, rng), 0);
  EXPECT_EQ(ChooseBookMove(tree, BookLevelNormal, rng), 0);
}

TEST(OpeningTree, PositionCommentComesFromTheCommentFile) {
  testing::TempDir dir;
  StartFixture f;
  TOpen self;
  self.position = BookNormalForm(f.board.b, TDColor::white, gtRussian);
  self.comm = 2;
  testing::WriteBookFile(dir.File("c.cbk"), {self});
  {
    std::ofstream out(dir.File("c.cbn"), std::ios::binary);
    out << "\r\nfirst\r\nThe start of every game\r\n";
  }
  TOpeningBook book;
  book.BookIni(dir.File("c.cbk"));
  TOpenMoves tree;
  BuildOpeningTree(book, f.board, TDColor::white, gtRussian, tree);
  EXPECT_EQ(tree.openposcomm, "The start of every game");

  // A number beyond the comment file.
  self.comm = 9;
  testing::WriteBookFile(dir.File("c.cbk"), {self});
  book.BookIni(dir.File("c.cbk"));
  BuildOpeningTree(book, f.board, TDColor::white, gtRussian, tree);
  EXPECT_EQ(tree.openposcomm, MissingCommentText);
}

TEST(OpeningTree, BlackToMoveLooksUpPositionsSeenByWhite) {
  // After 1.c3-d4 Black's replies lead to positions with White to move,
  // stored as they are; a sign there must reach Black's entry.
  testing::TempDir dir;
  StartFixture f;
  TBoard afterFirst = f.board;
  ApplyMove(f.Move("c3-d4"), afterFirst, gtRussian);
  TMoveList replies;
  uint8_t n = 0;
  BookMoveList(afterFirst, TDColor::black, gtRussian, replies, n);
  ASSERT_GT(n, 1);
  TBoard afterReply = afterFirst;
  ApplyMove(replies[n - 1], afterReply, gtRussian);
  TOpen rec;
  PackBoard(afterReply.b, rec.position);
  rec.sign = 1;
  testing::WriteBookFile(dir.File("b.cbk"), {rec});
  TOpeningBook book;
  book.BookIni(dir.File("b.cbk"));
  TOpenMoves tree;
  BuildOpeningTree(book, afterFirst, TDColor::black, gtRussian, tree);
  EXPECT_EQ(tree.openmoves[1].num, n);
  EXPECT_EQ(tree.openmoves[1].col, BookGood);
  EXPECT_NE(tree.openmoves[1].move.find("!!"), std::string::npos);
}

TEST(OpeningTree, RoundingGoesToTheEvenNeighbourOnHalves) {
  EXPECT_EQ(RoundHalfEven(5, 2), 2);
  EXPECT_EQ(RoundHalfEven(7, 2), 4);
  EXPECT_EQ(RoundHalfEven(100, 3), 33);
  EXPECT_EQ(RoundHalfEven(200, 3), 67);
  EXPECT_EQ(RoundHalfEven(0, 9), 0);
}

}  // namespace
}  // namespace kestrel
