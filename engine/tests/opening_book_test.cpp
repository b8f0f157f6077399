#include "engine/opening_book.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <unistd.h>
#include <vector>

#include "rules/game_types.h"
#include "test_support/book_file.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

TPackedBoardNew Key(uint8_t a, uint8_t b = 62) {
  TPackedBoardNew p;
  p.fill(62);
  p[0] = a;
  p[5] = b;
  return p;
}

TOpen Record(const TPackedBoardNew& p, uint16_t wh = 0, uint16_t dr = 0, uint16_t bl = 0, int16_t eval = 0,
             uint8_t sign = 0, uint16_t comm = 0) {
  TOpen r;
  r.position = p;
  r.wh = wh;
  r.dr = dr;
  r.bl = bl;
  r.eval = eval;
  r.sign = sign;
  r.comm = comm;
  return r;
}

TEST(OpeningBookRecord, StoredLayoutIsLittleEndianWithPadding) {
  const TOpen r = Record(Key(1, 2), 0x0102, 0x0304, 0x0506, -2, 7, 0xA0B0);
  const auto b = EncodeBookRecord(r);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[5], 2);
  EXPECT_EQ(b[24], 0x02);
  EXPECT_EQ(b[25], 0x01);  // wh
  EXPECT_EQ(b[26], 0x04);  // dr
  EXPECT_EQ(b[28], 0x06);  // bl
  EXPECT_EQ(b[30], 0xFE);
  EXPECT_EQ(b[31], 0xFF);  // eval -2
  EXPECT_EQ(b[32], 7);
  EXPECT_EQ(b[33], 0);
  EXPECT_EQ(b[34], 0xB0);
  EXPECT_EQ(b[35], 0xA0);
  EXPECT_EQ(DecodeBookRecord(b), r);
}

TEST(OpeningBookRecord, NormalFormSeesThePositionFromTheSideToMove) {
  // Turned over and recoloured, the start position is itself: both sides to
  // move give the same key.
  for (int type : {int(gtRussian), int(gtInternational), int(gtSpantsiretti)}) {
    const TBrd& start = InitialPosition(type).b;
    TPackedBoardNew plain;
    PackBoard(start, plain);
    EXPECT_EQ(BookNormalForm(start, TDColor::white, type), plain) << type;
    EXPECT_EQ(BookNormalForm(start, TDColor::black, type), plain) << type;
  }
  // A lone white man on square 1 with Black to move is a black man on the
  // last square from the mover's side.
  TBrd b{};
  b[1] = WhiteMan;
  TBrd expected{};
  expected[32] = BlackMan;
  TPackedBoardNew want;
  PackBoard(expected, want);
  EXPECT_EQ(BookNormalForm(b, TDColor::black, gtRussian), want);
}

TEST(OpeningBookFile, MissingEmptyAndBrokenFiles) {
  testing::TempDir dir;
  TOpeningBook book;
  book.BookIni(dir.File("none.cbk"));
  EXPECT_FALSE(book.IsOpen());
  EXPECT_EQ(book.FindBookEntry(Key(5)), 0);
  EXPECT_FALSE(book.SetBookSign(Key(5), 2));
  EXPECT_EQ(book.CommentCount(), 1);
  EXPECT_EQ(book.Comment(0), std::string());

  testing::WriteBookFile(dir.File("empty.cbk"), {}, false);
  book.BookIni(dir.File("empty.cbk"));
  EXPECT_TRUE(book.IsOpen());
  EXPECT_EQ(book.RecordCount(), 0);
  EXPECT_EQ(book.FindBookEntry(Key(5)), 0);
  EXPECT_FALSE(book.ReadEntry(1).has_value());

  {
    std::ofstream out(dir.File("odd.cbk"), std::ios::binary);
    out << std::string(37, 'x');
  }
  book.BookIni(dir.File("odd.cbk"));
  EXPECT_FALSE(book.IsOpen());
}

TEST(OpeningBookFile, BinarySearchAgreesWithALinearScan) {
  testing::TempDir dir;
  std::mt19937 rng(11);
  std::set<std::pair<int, int>> keys;
  while (keys.size() < 300) keys.insert({static_cast<int>(rng() % 125), static_cast<int>(rng() % 125)});
  std::vector<TOpen> records;
  for (auto [a, b] : keys) records.push_back(Record(Key(a, b), a, b));
  std::sort(records.begin(), records.end(),
            [](const TOpen& x, const TOpen& y) { return ComparePacked(x.position, y.position) < 0; });
  testing::WriteBookFile(dir.File("book.cbk"), records, false);

  TOpeningBook book;
  book.BookIni(dir.File("book.cbk"));
  ASSERT_EQ(book.RecordCount(), 300);
  for (int a = 0; a < 125; ++a) {
    for (int b = 0; b < 125; b += 7) {
      const TPackedBoardNew k = Key(a, b);
      const auto it = std::find_if(records.begin(), records.end(), [&](const TOpen& r) { return r.position == k; });
      const int expected = it == records.end() ? 0 : static_cast<int>(it - records.begin()) + 1;
      ASSERT_EQ(book.FindBookEntry(k), expected) << a << " " << b;
      if (expected) {
        EXPECT_EQ(book.Lookup(k)->wh, a);
      }
    }
  }
}

TEST(OpeningBookFile, SetBookSignUpdatesOrInsertsInSortedPlace) {
  testing::TempDir dir;
  const fs::path path = dir.File("book.cbk");
  testing::WriteBookFile(path, {Record(Key(10), 5, 6, 7, 30, 0, 2), Record(Key(20)), Record(Key(30))}, false);
  TOpeningBook book;
  book.BookIni(path);

  // An existing entry keeps its figures and takes the sign.
  ASSERT_TRUE(book.SetBookSign(Key(10), 2));
  EXPECT_EQ(book.RecordCount(), 3);
  auto rec = book.ReadEntry(1);
  ASSERT_TRUE(rec);
  EXPECT_EQ(*rec, Record(Key(10), 5, 6, 7, 30, 2, 2));

  // Smaller than every entry: record 1, the rest moved up by one.
  ASSERT_TRUE(book.SetBookSign(Key(5), 4));
  EXPECT_EQ(book.RecordCount(), 4);
  EXPECT_EQ(book.FindBookEntry(Key(5)), 1);
  EXPECT_EQ(book.FindBookEntry(Key(10)), 2);
  EXPECT_EQ(book.FindBookEntry(Key(30)), 4);

  // Larger than every entry: after the last one, so the file stays sorted.
  ASSERT_TRUE(book.SetBookSign(Key(40), 6));
  EXPECT_EQ(book.FindBookEntry(Key(40)), 5);
  EXPECT_EQ(book.FindBookEntry(Key(30)), 4);
  // In between.
  ASSERT_TRUE(book.SetBookSign(Key(25), 1));
  EXPECT_EQ(book.FindBookEntry(Key(25)), 4);

  const auto all = testing::ReadBookFile(path);
  ASSERT_EQ(all.size(), 6u);
  const std::vector<int> firstBytes = {5, 10, 20, 25, 30, 40};
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].position[0], firstBytes[i]);
  EXPECT_EQ(all[0], Record(Key(5), 0, 0, 0, 0, 4, 0));  // inserted: zero counts and evaluation
  EXPECT_EQ(all[5].sign, 6);

  // The changes are in the file: a fresh open sees them.
  TOpeningBook again;
  again.BookIni(path);
  EXPECT_EQ(again.RecordCount(), 6);
  EXPECT_EQ(again.Lookup(Key(25))->sign, 1);
}

TEST(OpeningBookFile, RandomInsertionsMatchASortedSetModel) {
  testing::TempDir dir;
  const fs::path path = dir.File("grow.cbk");
  testing::WriteBookFile(path, {}, false);
  TOpeningBook book;
  book.BookIni(path);
  std::mt19937 rng(3);
  std::set<std::pair<int, int>> model;
  for (int i = 0; i < 400; ++i) {
    const int a = static_cast<int>(rng() % 40), b = static_cast<int>(rng() % 40);
    ASSERT_TRUE(book.SetBookSign(Key(a, b), static_cast<uint8_t>(i % 8)));
    model.insert({a, b});
    ASSERT_EQ(book.RecordCount(), static_cast<int>(model.size()));
  }
  const auto all = testing::ReadBookFile(path);
  ASSERT_EQ(all.size(), model.size());
  auto it = model.begin();
  for (const TOpen& r : all) {
    EXPECT_EQ(r.position, Key(it->first, it->second));
    ++it;
  }
}

TEST(OpeningBookFile, CommentsComeFromTheCbnFileLineByLine) {
  testing::TempDir dir;
  testing::WriteBookFile(dir.File("c.cbk"), {Record(Key(1))}, false);
  {
    std::ofstream out(dir.File("c.cbn"), std::ios::binary);
    out << "header\r\nSicilian line\r\nsecond\r\n";
  }
  TOpeningBook book;
  book.BookIni(dir.File("c.cbk"));
  ASSERT_TRUE(book.IsOpen());
  EXPECT_EQ(book.CommentCount(), 3);
  EXPECT_EQ(book.Comment(1), "Sicilian line");
  EXPECT_EQ(book.Comment(2), "second");
  EXPECT_FALSE(book.Comment(3).has_value());

  // Reopening another book drops the old comments.
  testing::WriteBookFile(dir.File("d.cbk"), {}, false);
  book.BookIni(dir.File("d.cbk"));
  EXPECT_EQ(book.CommentCount(), 1);
}

TEST(OpeningBookFile, ReadOnlyBookIsReadButNotChanged) {
  testing::TempDir dir;
  const fs::path path = dir.File("ro.cbk");
  testing::WriteBookFile(path, {Record(Key(1)), Record(Key(2))}, false);
  fs::permissions(path, fs::perms::owner_read, fs::perm_options::replace);
  TOpeningBook book;
  book.BookIni(path);
  ASSERT_TRUE(book.IsOpen());
  EXPECT_EQ(book.FindBookEntry(Key(2)), 2);
  const bool root = ::access(path.c_str(), W_OK) == 0;  // permissions do not bind root
  if (!root) {
    EXPECT_FALSE(book.SetBookSign(Key(3), 2));
  }
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
}

}  // namespace
}  // namespace kestrel
