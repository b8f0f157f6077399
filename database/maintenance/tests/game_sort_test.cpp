// The sort against a plain comparison of headers read from the file.
#include <gtest/gtest.h>

#include <algorithm>

#include "database/maintenance/game_sort.h"
#include "database/name_tables.h"
#include "maintenance_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

std::string Lowered(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  return s;
}

// Compares two games as the dialog describes, reading both headers.
int CompareGames(const TKestrelDB& db, int32_t a, int32_t b, const std::vector<TSortKey>& keys) {
  TQuickGameHeader x, y;
  ReadQuickHeader(db, a, x);
  ReadQuickHeader(db, b, y);
  const auto num = [](int64_t p, int64_t q) { return p < q ? -1 : p > q ? 1 : 0; };
  const auto str = [](const std::string& p, const std::string& q) {
    const int c = Lowered(p).compare(Lowered(q));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  };
  for (const TSortKey k : keys) {
    const TGameHeader &h = x.Header, &g = y.Header;
    int c = 0;
    switch (k) {
      case TSortKey::tournament: c = str(x.Tournament, y.Tournament); break;
      case TSortKey::round: c = num(h.Round * 1000LL + h.Subround, g.Round * 1000LL + g.Subround); break;
      case TSortKey::date:
        c = num(h.Date.Day + h.Date.Month * 1000LL + h.Date.Year * 1000000LL,
                g.Date.Day + g.Date.Month * 1000LL + g.Date.Year * 1000000LL);
        break;
      case TSortKey::white: c = str(x.WhiteName, y.WhiteName); break;
      case TSortKey::black: c = str(x.BlackName, y.BlackName); break;
      case TSortKey::site: c = str(x.Site, y.Site); break;
      case TSortKey::annotator: c = str(x.AnnotatorName, y.AnnotatorName); break;
      case TSortKey::result: c = num(h.Result, g.Result); break;
      case TSortKey::length: c = num(h.GameLength, g.GameLength); break;
    }
    if (c != 0) return c;
  }
  return 0;
}

TEST(SortGameList, AgreesWithPlainComparisonAndIsStable) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 200, 31);
  // Names that differ only in case, and in bytes above 127.
  TQuickGameHeader q;
  for (int n = 1; n <= 200; n += 7) {
    ReadQuickHeader(db, n, q);
    q.WhiteName = n % 2 ? "alpha" : "ALPHA";
    q.Site = n % 3 ? "\xC0site" : "Site";
    q.Header.Date = {};
    WriteQuickHeader(db, n, q);
  }
  const std::vector<std::vector<TSortKey>> keySets = {
      {TSortKey::date, TSortKey::white},
      {TSortKey::white},
      {TSortKey::site, TSortKey::result},
      {TSortKey::tournament, TSortKey::round, TSortKey::length},
      AllSortKeys(),
  };
  for (const auto& keys : keySets) {
    TGameList list;
    list.Reset(db.DBSize);
    // Start from a shuffled list so that stability is seen in list order.
    std::vector<TDBListRec> start;
    for (int i = 200; i >= 1; --i) start.push_back({i, false, -1});
    list.SetEntries(start);
    SortGameList(db, list, keys);
    ASSERT_EQ(list.GameListCount, 200);
    for (int i = 1; i < 200; ++i) {
      const int c = CompareGames(db, list[i].num, list[i + 1].num, keys);
      ASSERT_LE(c, 0) << "entries " << i << " and " << i + 1;
      if (c == 0) {
        EXPECT_GT(list[i].num, list[i + 1].num) << "equal entries keep their order";
      }
    }
  }
}

TEST(SortGameList, UndatedGamesFirstAndSaveOnlyForWholeDatabase) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 12, 32);
  TQuickGameHeader q;
  ReadQuickHeader(db, 9, q);
  q.Header.Date = {};
  WriteQuickHeader(db, 9, q);
  TGameList list;
  list.Reset(db.DBSize);
  SortGameList(db, list, {TSortKey::date, TSortKey::white});
  EXPECT_EQ(list[1].num, 9);
  EXPECT_TRUE(CanSaveSortOrder(db, list));
  std::vector<int32_t> order;
  for (int i = 1; i <= 12; ++i) order.push_back(list[i].num);
  const TRenumbering r = SaveSortOrder(db, list);
  EXPECT_EQ(r.NewNumber(9), 1);
  for (int n = 1; n <= 12; ++n) EXPECT_EQ(GameTag(db, n), "game " + std::to_string(order[n - 1]));

  TGameList found;
  found.SetEntries({{3, false, -1}, {5, false, -1}});  // a search result
  EXPECT_FALSE(CanSaveSortOrder(db, found));
  EXPECT_THROW(SaveSortOrder(db, found), TDatabaseError);
}

TEST(SortKeys, ItemTextsAreRecognised) {
  EXPECT_EQ(ParseSortKey("Date"), TSortKey::date);
  EXPECT_EQ(ParseSortKey("length"), TSortKey::length);
  EXPECT_FALSE(ParseSortKey("Colour").has_value());
  for (const TSortKey k : AllSortKeys()) EXPECT_EQ(ParseSortKey(SortKeyText(k)), k);
}

}  // namespace
}  // namespace kestrel
