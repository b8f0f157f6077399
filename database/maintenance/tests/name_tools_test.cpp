#include <gtest/gtest.h>

#include "database/maintenance/name_tools.h"
#include "maintenance_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

TEST(NameTools, TextChanges) {
  struct Case {
    std::string (*tool)(std::string_view);
    std::string in, out;
  };
  const Case cases[] = {
      {CorrectName, "IvanPetrov", "Ivan Petrov"},
      {CorrectName, "Ivan Petrov", "Ivan Petrov"},
      {CorrectName, "ABC", "A B C"},
      {GamblerName, "Cup 2010 game 5", "Cup"},
      {GamblerName, "Cup (\xE7\xE0\xF7\xE5\xF2)", "Cup"},
      {GamblerName, "Open-2001.", "Open"},
      {GamblerName, "Plain", "Plain"},
      {Transliterate, "Smith", "Smith"},
      {Transliterate, "\xD9\xF3\xEA\xE8\xED", "Schukin"},
      {Transliterate, "\xA8\xEB\xEA\xE0 \xFA", "Yolka '"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.tool(c.in), c.out) << c.in;
}

TEST(NameTools, SummaryRowsAndListsKeepIndexes) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 6, 61);
  TQuickGameHeader q;
  for (int n = 1; n <= 6; ++n) {
    ReadQuickHeader(db, n, q);
    q.Tournament = n <= 4 ? "Cup" : "";
    q.Site = "Here";
    q.Header.Date.Year = n == 4 ? 2001 : 2000;
    q.WhiteName = "IvanPetrov";
    WriteQuickHeader(db, n, q);
  }
  TGameList list;
  list.Reset(db.DBSize);
  const auto rows = TournamentSummary(db, list);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].count, 3);
  EXPECT_EQ(rows[1].year, 2001);
  const auto shown = ShownTournaments(rows, 1, true);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(TournamentTotals(shown), "Tournaments=1, games=3");
  EXPECT_EQ(TournamentListText(shown), "1,Cup,Here,2000,3\r\n");
  EXPECT_EQ(TextFileName("/x/list.TXT"), "/x/list.txt");

  const int32_t index = db.DBNames.Find("IvanPetrov");
  EXPECT_GE(CorrectPlayerNames(db), 1);
  EXPECT_EQ(db.DBNames[index], "Ivan Petrov");
  ReadQuickHeader(db, 2, q);
  EXPECT_EQ(q.WhiteName, "Ivan Petrov");
  const std::string sorted = SortedNamesText(db);
  EXPECT_EQ(sorted.find("\r\n") != std::string::npos, true);
}

}  // namespace
}  // namespace kestrel
