// Books built from games, checked through the engine's book and its tree.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>

#include "database/maintenance/book_builder.h"
#include "game/opening_tree.h"
#include "game/glyphs.h"
#include "game/navigation.h"
#include "maintenance_test_util.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

// A game of legal moves: the first legal move at each ply.
TGame LegalLine(int plies, int firstChoice = 0) {
  TGame g;
  NewGame(g, gtRussian);
  TBoard b = InitialPosition(gtRussian);
  TDColor side = TDColor::white;
  int node = 0;
  for (int p = 0; p < plies; ++p) {
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(b, side, list, gtRussian, count);
    if (count == 0) break;
    const TMove m = list[p == 0 ? firstChoice % count : 0];
    node = AddMove(g, node, m).slot;
    ApplyMove(m, b, gtRussian);
    side = Opponent(side);
  }
  return g;
}

TOpen RecordAfter(const TGame& g, int slot) {
  TBoard b;
  TDColor side;
  PositionAt(g, slot, b, side);
  TOpen r;
  r.position = BookNormalForm(b.b, side, gtRussian);
  return r;
}

TEST(BookBuilder, SignsOfGlyphs) {
  const int expected[] = {0, 1, 2, 3, 5, 6, 7, 8};
  for (int g = 0; g < 8; ++g) {
    EXPECT_EQ(BookSignOfGlyph(g), expected[g]);
    if (g > 0 && g < 7) {
      EXPECT_EQ(BookSignText(BookSignOfGlyph(g)), MoveGlyphs[g]) << g;
    }
  }
}

TEST(BookBuilder, CountsLimitsAndVariations) {
  TGame won = LegalLine(10), drawn = LegalLine(10);
  won.Header.Result = 1;
  drawn.Header.Result = 2;
  // A variation of one move at the start of the drawn game.
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(InitialPosition(gtRussian), TDColor::white, list, gtRussian, count);
  const int side = AddMove(drawn, 0, list[1]).slot;
  std::vector<TOpen> records;
  TBookBuildOptions o;
  o.maxMoves = 1;
  AddGamePositions(won, o, records);
  ASSERT_EQ(records.size(), 2u);  // the positions after plies 1 and 2
  AddGamePositions(drawn, o, records);
  ASSERT_EQ(records.size(), 5u);
  o.maxMoves = 255;
  AddGamePositions(won, o, records);
  AddGamePositions(drawn, o, records);
  MergeBookRecords(records);
  const auto find = [&](const TOpen& key) -> const TOpen* {
    for (const TOpen& r : records)
      if (r.position == key.position) return &r;
    return nullptr;
  };
  // After ply 1 black is to move: white's win counts for the other side.
  const TOpen* first = find(RecordAfter(won, 1));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->bl, 2);
  EXPECT_EQ(first->dr, 2);
  EXPECT_EQ(first->wh, 0);
  const TOpen* second = find(RecordAfter(won, 2));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->wh, 2);
  const TOpen* variation = find(RecordAfter(drawn, side));
  ASSERT_NE(variation, nullptr);
  EXPECT_EQ(variation->wh + variation->dr + variation->bl, 0);
  // Fewer pieces than asked for stop the line at once.
  std::vector<TOpen> none;
  o.minPieces = 25;
  AddGamePositions(won, o, none);
  EXPECT_TRUE(none.empty());
}

TEST(BookBuilder, CountsSaturate) {
  std::vector<TOpen> records(3);
  for (TOpen& r : records) r.wh = 40000;
  records[1].sign = 2;
  records[2].comm = 7;
  MergeBookRecords(records);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].wh, BookCountCap);
  EXPECT_EQ(records[0].sign, 2);
  EXPECT_EQ(records[0].comm, 7);
}

TEST(BookBuilder, RebuildAddsOrClearsAndTheTreeShowsNoHashForPlainMoves) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  TGame g = LegalLine(12);
  g.Header.Result = 2;
  g.Moves[1].comm = 2;  // "!"
  WriteDBGame(g, 0, db, false);
  TGameList list;
  list.Reset(db.DBSize);
  const std::string book = dir.File("test.cbk");
  TOpeningBook engine;
  TBookBuildOptions o;
  o.maxMoves = 3;
  BuildBookFromDatabase(db, list, book, o, NoProgress(), &engine);
  BuildBookFromDatabase(db, list, book, o, NoProgress(), &engine);
  engine.BookIni(book);
  ASSERT_TRUE(engine.IsOpen());
  EXPECT_EQ(engine.RecordCount(), 6);
  auto rec = engine.Lookup(RecordAfter(g, 1).position);
  ASSERT_TRUE(rec.has_value());
  EXPECT_EQ(rec->dr, 2);
  EXPECT_EQ(rec->sign, 2);
  o.clearStatistics = true;
  BuildBookFromDatabase(db, list, book, o, NoProgress(), &engine);
  ASSERT_TRUE(engine.IsOpen());
  rec = engine.Lookup(RecordAfter(g, 1).position);
  ASSERT_TRUE(rec.has_value());
  EXPECT_EQ(rec->dr, 1);

  // The tree of the start position: the annotated move shows "!", the
  // others nothing; after it the book's plain move shows no sign either.
  TOpenMoves tree;
  BuildOpeningTree(engine, InitialPosition(gtRussian), TDColor::white, gtRussian, tree);
  for (int i = 1; i <= tree.Op_moves; ++i) EXPECT_EQ(tree.openmoves[i].move.find('#'), std::string::npos);
  TBoard after;
  TDColor side;
  PositionAt(g, 1, after, side);
  BuildOpeningTree(engine, after, side, gtRussian, tree);
  int inBook = 0;
  for (int i = 1; i <= tree.Op_moves; ++i) {
    EXPECT_EQ(tree.openmoves[i].move.find('#'), std::string::npos) << tree.openmoves[i].move;
    inBook += tree.openmoves[i].col != 0;
  }
  EXPECT_EQ(inBook, 1);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

using namespace kestrel::testing;

// The merge against a plain map on random records with many repeats: order
// by ComparePacked, capped sums, larger sign and comment, and the one
// evaluation a position has (as a book record among game records).
TEST(BookBuilder, MergeAgreesWithAPlainMap) {
  std::mt19937 rng(17);
  std::vector<TOpen> records;
  std::map<std::vector<uint8_t>, TOpen> expected;
  for (int i = 0; i < 5000; ++i) {
    TOpen r;
    // 1500 positions differing in each of the three 8-byte words, with
    // bytes above 127 so that a signed comparison would go wrong.
    const unsigned k = rng() % 1500;
    r.position.fill(124);
    r.position[0] = static_cast<uint8_t>(k % 3 * 100);
    r.position[8] = static_cast<uint8_t>(k / 3 % 10 * 25);
    r.position[23] = static_cast<uint8_t>(k / 30);
    r.wh = static_cast<uint16_t>(rng() % 30000);
    r.dr = static_cast<uint16_t>(rng() % 2);
    r.bl = static_cast<uint16_t>(rng() % 2);
    r.sign = static_cast<uint8_t>(rng() % 9);
    r.comm = static_cast<uint16_t>(rng() % 5);
    const std::vector<uint8_t> key(r.position.begin(), r.position.end());
    const bool fresh = !expected.contains(key);
    r.eval = fresh ? static_cast<int16_t>(rng() % 200 - 100) : BookNoEval;
    if (fresh) {
      expected[key] = r;
    } else {
      TOpen& m = expected[key];
      m.wh = static_cast<uint16_t>(std::min(m.wh + r.wh, int{BookCountCap}));
      m.dr = static_cast<uint16_t>(m.dr + r.dr);
      m.bl = static_cast<uint16_t>(m.bl + r.bl);
      m.sign = std::max(m.sign, r.sign);
      m.comm = std::max(m.comm, r.comm);
    }
    records.push_back(r);
  }
  std::shuffle(records.begin(), records.end(), rng);
  MergeBookRecords(records);
  ASSERT_EQ(records.size(), expected.size());
  std::size_t i = 0;
  for (const auto& [key, m] : expected) EXPECT_EQ(records[i++], m) << i;  // the map's order is the bytes' order
}

// Cancel while the games are read: the book keeps its bytes, and the
// engine has it open again.
TEST(BookBuilder, CancelLeavesTheBookAsItWas) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  for (int i = 0; i < 200; ++i) {
    TGame g = LegalLine(6, i);
    WriteDBGame(g, 0, db, false);
  }
  TGameList list;
  list.Reset(db.DBSize);
  const std::string book = dir.File("cancel.cbk");
  TBookBuildOptions o;
  o.maxMoves = 1;
  TGameList one;
  one.Reset(1);
  BuildBookFromDatabase(db, one, book, o);
  const auto bytes = [&] {
    std::ifstream in(book, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const std::string before = bytes();
  ASSERT_EQ(before.size(), 2 * BookRecordSize);
  struct TCancel : TProgress {
    bool Step(int64_t) override { return false; }
  } cancel;
  TOpeningBook engine;
  engine.BookIni(book);
  o.maxMoves = 20;
  const TBookBuildReport r = BuildBookFromDatabase(db, list, book, o, cancel, &engine);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(bytes(), before);
  EXPECT_TRUE(engine.IsOpen());
  EXPECT_EQ(engine.RecordCount(), 2);
}

}  // namespace
}  // namespace kestrel
