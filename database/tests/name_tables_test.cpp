// Name lists: lookup, the names file, masking of game numbers, repair.
#include <gtest/gtest.h>

#include "database/ansi_case.h"
#include "database/name_repair.h"
#include "database/name_tables.h"
#include "database/names_file.h"
#include "db_test_util.h"
#include "test_support/code_page_scope.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

TEST(NameList, LookupIgnoresCaseAndFindsTheLowestIndex) {
  TNameList list;
  list.Append("Smith");
  list.Append("IVANOV");
  list.Append("ivanov");  // a duplicate, as files written elsewhere may hold
  list.Append("");
  EXPECT_EQ(list.Find("Ivanov"), 1);
  EXPECT_EQ(list.Find("ivanov"), 1);
  EXPECT_EQ(list.Find("SMITH"), 0);
  EXPECT_EQ(list.Find(""), 3);
  EXPECT_EQ(list.Find("Smit"), -1);
  EXPECT_EQ(list.Find("Smith "), -1);
  bool added = true;
  EXPECT_EQ(list.FindOrAdd("iVaNoV", added), 1);
  EXPECT_FALSE(added);
  EXPECT_EQ(list.FindOrAdd("Jones", added), 4);
  EXPECT_TRUE(added);
  EXPECT_EQ(list.Count(), 5);
}

TEST(NameList, CyrillicLettersInWindows1251) {
  // "Иванов" and "иванов", "Ёжиков" and "ёжиков", Ukrainian "Ґ"/"ґ", "Ї"/"ї".
  const std::string upper = "\xC8\xE2\xE0\xED\xEE\xE2";
  const std::string lower = "\xE8\xE2\xE0\xED\xEE\xE2";
  EXPECT_EQ(AnsiUpperCase(lower), "\xC8\xC2\xC0\xCD\xCE\xC2");
  TNameList list;
  list.Append("x");
  list.Append(upper);
  list.Append("\xA8\xE6\xE8\xEA\xEE\xE2");
  list.Append("\xA5\xAF");
  EXPECT_EQ(list.Find(lower), 1);
  EXPECT_EQ(list.Find("\xB8\xC6\xC8\xCA\xCE\xC2"), 2);
  EXPECT_EQ(list.Find("\xB4\xBF"), 3);
  // Bytes without case are compared as they are, and kept as they are.
  EXPECT_EQ(AnsiUpperChar(0xB9), 0xB9);  // №
  EXPECT_EQ(AnsiUpperChar(0xD7), 0xD7);  // Ч
  EXPECT_EQ(AnsiUpperChar(0xF7), 0xD7);  // ч
  EXPECT_EQ(list[1], upper);
}

// Names match without regard to case in the code page the database holds.
TEST(NameList, CaseFollowsTheCodePage) {
  const TCodePage cp1251 = TCodePage::windows1251, cp1252 = TCodePage::windows1252, utf8 = TCodePage::utf8;
  struct Case {
    TCodePage page;
    const char* a;  // UTF-8, stored in `page`
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {cp1252, "m\u00FCller", "M\u00DCLLER", true},         {utf8, "m\u00FCller", "M\u00DCLLER", true},
      {cp1251, "\u0444\u0430\u0434\u0435\u0435\u0432", "\u0424\u0410\u0414\u0415\u0415\u0412", true},
      {utf8, "\u0444\u0430\u0434\u0435\u0435\u0432", "\u0424\u0410\u0414\u0415\u0415\u0412", true},
      {cp1252, "Jos\u00E9", "JOS\u00C9", true},             {utf8, "Jos\u00E9", "JOS\u00C9", true},
      {cp1252, "\u0161\u0153\u017E\u00FF", "\u0160\u0152\u017D\u0178", true},
      {utf8, "\u0142\u00F3d\u017A \u0151 \u0131", "\u0141\u00D3D\u0179 \u0150 \u0131", true},
      {utf8, "\u0451\u0491\u045E \u03C3\u03C2\u03AC", "\u0401\u0490\u040E \u03A3\u03A3\u0386", true},
      {utf8, "\u9AD8\u6587\u9F99", "\u9AD8\u6587\u9F99", true},
      // Different letters stay different, whatever their bytes mean elsewhere.
      {cp1252, "\u00FF", "\u00DF", false},  // the Windows-1251 table took "\u00FF" for "\u044F"
      {cp1252, "\u00F7", "\u00D7", false},  {utf8, "m\u00FCller", "muller", false},
      {utf8, "\u0444", "\u0424\u0430", false}, {cp1251, "\u0438", "\u0439", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(CodePageName(c.page)) + " " + c.a + " / " + c.b);
    CodePageScope scope(c.page);
    const std::string a = Utf8ToAnsi(c.a), b = Utf8ToAnsi(c.b);
    ASSERT_EQ(AnsiToUtf8(a), c.a);  // the code page holds the name
    EXPECT_EQ(AnsiUpperCase(a) == AnsiUpperCase(b), c.same);
    EXPECT_EQ(AnsiLowerCase(a) == AnsiLowerCase(b), c.same);
    TNameList list;
    list.Append("x");
    list.Append(b);
    EXPECT_EQ(list.Find(a), c.same ? 1 : -1);
  }
}

// The 8-bit tables and the case of decoded UTF-8 letters are two ways to the
// same answer: every byte folds alike in both.
TEST(NameList, EightBitCaseAgreesWithTheUtf8Case) {
  for (const TCodePage page : {TCodePage::windows1251, TCodePage::windows1252}) {
    for (int byte = 0; byte < 256; ++byte) {
      CodePageScope scope(page);
      const std::string stored(1, static_cast<char>(byte));
      const std::string text = AnsiToUtf8(stored);
      if (Utf8ToAnsi(text) != stored) continue;  // a byte the code page leaves unassigned
      const std::string upper = AnsiUpperCase(text, TCodePage::utf8), lower = AnsiLowerCase(text, TCodePage::utf8);
      EXPECT_EQ(AnsiUpperCase(stored), Utf8ToAnsi(upper)) << CodePageName(page) << " " << byte;
      EXPECT_EQ(AnsiLowerCase(stored), Utf8ToAnsi(lower)) << CodePageName(page) << " " << byte;
    }
  }
}

TEST(NameList, WritingAGameFindsOrAddsItsNames) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  for (int i = 0; i < 7; ++i) db.DBNames.Append("P" + std::to_string(i));
  db.DBNames.Append("Ivanov");
  db.DBTourn.Append("Cup");
  TGame game = LineGame(gtRussian, 3);
  game.WhiteName = "ivanov";
  game.BlackName = "IVANOV";
  game.AnnotatorName = "Editor";
  game.Tournament = "CUP";
  game.Site = "Paris";
  WriteDBGame(game, 0, db, true);
  EXPECT_EQ(game.Header.White.NameIndex, 7);
  EXPECT_EQ(game.Header.Black.NameIndex, 7);
  EXPECT_EQ(game.Header.AnnotatorIndex, 8);
  EXPECT_EQ(game.Header.TournamentIndex, 0);
  EXPECT_EQ(game.Header.SiteIndex, 0);
  EXPECT_EQ(db.DBNames.Count(), 9);
  EXPECT_EQ(db.DBTourn.Count(), 1);
  // Names are stored as first written; the game reads them back so.
  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_EQ(back.WhiteName, "Ivanov");
  EXPECT_EQ(back.Tournament, "Cup");
}

TEST(NamesFile, LinesInAnyOrderWrittenBackListByList) {
  TNameList players, tournaments, sites;
  ParseNamesFile("*Cup\r\n^Smith\r\n*League\r\n@Paris\r\n", players, tournaments, sites);
  ASSERT_EQ(players.Count(), 1);
  EXPECT_EQ(players[0], "Smith");
  ASSERT_EQ(tournaments.Count(), 2);
  EXPECT_EQ(tournaments[0], "Cup");
  EXPECT_EQ(tournaments[1], "League");
  ASSERT_EQ(sites.Count(), 1);
  EXPECT_EQ(sites[0], "Paris");
  EXPECT_EQ(FormatNamesFile(players, tournaments, sites), "^Smith\r\n*Cup\r\n*League\r\n@Paris\r\n");
}

TEST(NamesFile, OtherLinesEmptyNamesAndLineEnds) {
  TNameList players, tournaments, sites;
  ParseNamesFile("\r\n#comment\r\n^\r\n^A\n\n^B\r\r\n^C^D\r\n@last", players, tournaments, sites);
  ASSERT_EQ(players.Count(), 4);
  EXPECT_EQ(players[0], "");
  EXPECT_EQ(players[1], "A");
  EXPECT_EQ(players[2], "B\r");  // a lone CR is part of the name
  EXPECT_EQ(players[3], "C^D");
  ASSERT_EQ(sites.Count(), 1);
  EXPECT_EQ(sites[0], "last");
  EXPECT_EQ(tournaments.Count(), 0);
}

TEST(NamesFile, LineBreaksInNewNamesDoNotShiftIndexes) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  TGame game = LineGame(gtRussian, 3);
  game.WhiteName = "Two\r\nLines";
  game.BlackName = "Black";
  game.Tournament = "T\nX";
  WriteDBGame(game, 0, db, true);
  ASSERT_TRUE(OpenDatabase(dir.File("games"), db, false).ok());
  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_EQ(back.WhiteName, "Two  Lines");
  EXPECT_EQ(back.BlackName, "Black");
  EXPECT_EQ(back.Tournament, "T X");
}

TEST(NameTables, MaskGameNumber) {
  EXPECT_EQ(MaskGameNumber("Match, game 12"), "Match, game xx");
  EXPECT_EQ(MaskGameNumber("Match, game 3; final"), "Match, game x; final");
  EXPECT_EQ(MaskGameNumber("Cup; Match, game 3"), "Cup; Match, game 3");
  EXPECT_EQ(MaskGameNumber("Match, game "), "Match, game ");
  EXPECT_EQ(MaskGameNumber("Match,game 3"), "Match,game 3");
  EXPECT_EQ(MaskGameNumber("A, game 1, game 2"), "A, game xxxxxxxxx");
  EXPECT_EQ(MaskGameNumber(""), "");
}

TEST(NameTables, IndexesOutsideTheListsReadAsError) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  db.DBNames.Append("A");
  db.DBTourn.Append("Match, game 7");
  EXPECT_EQ(PlayerNameOf(db, 0), "A");
  EXPECT_EQ(PlayerNameOf(db, 1), "ERROR!!!");
  EXPECT_EQ(PlayerNameOf(db, -1), "ERROR!!!");
  EXPECT_EQ(SiteNameOf(db, 0), "ERROR!!!");
  EXPECT_EQ(TournamentNameOf(db, 0), "Match, game x");
  EXPECT_EQ(TournamentNameOf(db, 1 << 30), "ERROR!!!");
}

TEST(NameRepair, ShortListsGetPlaceholders) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  TGame game = LineGame(gtRussian, 2);
  game.WhiteName = "A";
  game.BlackName = "B";
  WriteDBGame(game, 0, db, false);
  for (int i = 1; i < 30; ++i) db.DBTourn.Append("T" + std::to_string(i));  // 30 tournaments
  TGameHeader h = game.Header;
  h.TournamentIndex = 40;
  h.AnnotatorIndex = 500;  // annotators are not considered
  WriteHeaderRecord(db, 1, h);
  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_EQ(back.Tournament, "ERROR!!!");

  const TNameRepairReport report = RepairNameLists(db);
  EXPECT_EQ(report.playersAdded, 0);
  EXPECT_EQ(report.tournamentsAdded, 11);
  EXPECT_EQ(report.sitesAdded, 0);
  EXPECT_EQ(report.messages, (std::vector<std::string>{"Sites are Ok", "Done!"}));
  ASSERT_EQ(db.DBTourn.Count(), 41);
  EXPECT_EQ(db.DBTourn[30], "Event#10");
  EXPECT_EQ(db.DBTourn[39], "Event#1");
  EXPECT_EQ(db.DBTourn[40], "Event#0");
  EXPECT_EQ(db.DBNames.Count(), 3);  // longer than needed: left alone
  EXPECT_FALSE(db.DBChanged);
  EXPECT_NE(ReadText(db.DBNameNames).find("*Event#0\r\n"), std::string::npos);
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_EQ(back.Tournament, "Event#0");
}

TEST(NameRepair, ImplausibleIndexesAreLeftAlone) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  TGame game = LineGame(gtRussian, 2);
  WriteDBGame(game, 0, db, false);
  TGameHeader h = game.Header;
  h.White.NameIndex = 2000000000;
  h.SiteIndex = 3;
  WriteHeaderRecord(db, 1, h);
  const TNameRepairReport report = RepairNameLists(db);
  EXPECT_EQ(report.implausible, 1);
  EXPECT_EQ(report.sitesAdded, 3);
  EXPECT_EQ(db.DBSites[3], "Site#0");
  EXPECT_EQ(db.DBNames.Count(), 1);
}

}  // namespace
}  // namespace kestrel
