// Importing PDN files into databases and exporting them: the tag table, the
// game type rule, the files made and replaced, damaged games kept.
#include <gtest/gtest.h>

#include <sstream>

#include "database/database_file.h"
#include "database/game_io.h"
#include "formats/pdn_export.h"
#include "formats/pdn_game_reader.h"
#include "formats/pdn_import.h"
#include "formats/pdn_writer.h"
#include "formats/tests/pdn_test_util.h"

namespace kestrel {
namespace {

using testing::TempDir;

TGame ReadOne(const std::string& text, int defaultType, TPdnGameReport* report = nullptr) {
  std::istringstream in(text);
  TPdnSource source(in);
  TPdnRawGame raw;
  TGame game;
  EXPECT_TRUE(source.Next(raw));
  const TPdnGameReport r = ReadPdnGame(raw, defaultType, game);
  if (report) *report = r;
  return game;
}

TEST(PdnTags, NamesEventSiteRoundDateAndResult) {
  const TGame game = ReadOne(
      "[Event \"Match, game 12; final\"]\n[Site \"Moscow\"]\n[TimeControl \"40/2h\"]\n[Black \"First\"]\n"
      "[White \"Second\"]\n[Nero \"Third\"]\n[Round \"3.2\"]\n[Date \"17.05.2012\"]\n[Result \"0:2\"]\n"
      "[ELO1 \"2400\"]\n[ELO2 \"x\"]\n[Annotator \"Notes\"]\n[Setup \"1\"]\n[Unknown \"tag\"]\n",
      gtRussian);
  EXPECT_EQ(game.Tournament, "Match, game xx; final");
  EXPECT_EQ(game.Site, "Moscow 40/2h");
  // Names by tag name, whatever their order; the first tag of a colour counts.
  EXPECT_EQ(game.WhiteName, "Second");
  EXPECT_EQ(game.BlackName, "First");
  EXPECT_EQ(game.Header.Round, 3);
  EXPECT_EQ(game.Header.Subround, 2);
  EXPECT_EQ(game.Header.Date.Day, 17);
  EXPECT_EQ(game.Header.Date.Month, 5);
  EXPECT_EQ(game.Header.Date.Year, 2012);
  EXPECT_EQ(game.Header.Result, 3);
  EXPECT_EQ(game.Header.White.Rating, 2400);
  EXPECT_EQ(game.Header.Black.Rating, 0);
  EXPECT_EQ(game.AnnotatorName, "Notes");
}

TEST(PdnTags, UnknownValuesTerminationAndSeparateDateParts) {
  TGame game = ReadOne("[Event \"?\"]\n[Site \"?\"]\n[Result \"1-0\"]\n[Termination \"time forfeit\"]\n", gtRussian);
  EXPECT_EQ(game.Tournament, "");
  EXPECT_EQ(game.Site, "");
  EXPECT_EQ(game.Header.Result, 4);
  // The termination tag counts whichever comes first.
  game = ReadOne("[Termination \"adjudication\"]\n[Result \"0-2\"]\n", gtRussian);
  EXPECT_EQ(game.Header.Result, 5);
  game = ReadOne("[Termination \"normal\"]\n[Result \"0-1\"]\n", gtRussian);
  EXPECT_EQ(game.Header.Result, 3);
  game = ReadOne("[Day \"4\"]\n[Month \"7\"]\n[Year \"1999\"]\n", gtRussian);
  EXPECT_EQ(game.Header.Date.Day, 4);
  EXPECT_EQ(game.Header.Date.Month, 7);
  EXPECT_EQ(game.Header.Date.Year, 1999);
}

TEST(PdnTags, ItalianTagsReadBackWithSiteAndRound) {
  TGame game;
  NewGame(game, gtItalian);
  game.WhiteName = "Bianchi";
  game.BlackName = "Neri";
  game.Tournament = "Campionato";
  game.Site = "Roma";
  game.Header.Round = 7;
  game.Header.Subround = 1;
  game.Header.Date = {1, 2, 2005};
  game.Header.Result = 2;
  TPdnWriteOptions options;
  options.italianTags = true;
  const TGame back = ReadOne(PDNGameText(game, options), gtRussian);
  EXPECT_EQ(back.Header.TypeOfGame, gtItalian);
  EXPECT_EQ(back.WhiteName, "Bianchi");
  EXPECT_EQ(back.BlackName, "Neri");
  EXPECT_EQ(back.Tournament, "Campionato");
  EXPECT_EQ(back.Site, "Roma");
  EXPECT_EQ(back.Header.Round, 7);
  EXPECT_EQ(back.Header.Subround, 1);
  EXPECT_EQ(back.Header.Result, 2);
  // The result tag of Italian files.
  EXPECT_EQ(ReadOne("[Risultato \"0-1\"]\n", gtItalian).Header.Result, 3);
}

TEST(PdnTags, EnglishGamesKeepTheirNamesTheRightWayRound) {
  TGame game;
  NewGame(game, gtEnglish);
  game.WhiteName = "Moves first";
  game.BlackName = "Moves second";
  const TGame back = ReadOne(PDNGameText(game), gtRussian);
  EXPECT_EQ(back.WhiteName, "Moves first");
  EXPECT_EQ(back.BlackName, "Moves second");
}

TEST(PdnGameType, TheTagDecidesElseTheFallbackType) {
  EXPECT_EQ(ReadOne("[GameType \"20\"]\n1. 32-28 *\n", gtRussian).Header.TypeOfGame, gtInternational);
  EXPECT_EQ(ReadOne("[GameType \"21,B,8,8,N1,0\"]\n", gtRussian).Header.TypeOfGame, gtEnglish);
  EXPECT_EQ(ReadOne("[Event \"e\"]\n1. 32-28 *\n", gtInternational).Header.TypeOfGame, gtInternational);
  // An unknown code leaves the fallback.
  EXPECT_EQ(ReadOne("[GameType \"30\"]\n", gtBrazilian).Header.TypeOfGame, gtBrazilian);
  // The game's moves are read by its own rules and its start position is
  // that of its type.
  TPdnGameReport report;
  const TGame game = ReadOne("[GameType \"20\"]\n1. 32-28 19-23 2. 28x19 14x23 *\n", gtRussian, &report);
  EXPECT_TRUE(report.complete) << report.reason;
  EXPECT_EQ(report.moves, 4);
  EXPECT_EQ(game.StartBoard, ReadOne("[GameType \"20\"]\n", gtRussian).StartBoard);
}

TEST(PdnGameType, TheFenIsReadWithTheTypeOfTheWholeTagSection) {
  // The FEN comes before the GameType tag: its squares are International.
  TPdnGameReport report;
  const TGame game = ReadOne("[FEN \"W:W46,50:B5\"]\n[GameType \"20\"]\n1. 46-41 *\n", gtRussian, &report);
  EXPECT_TRUE(report.complete) << report.reason;
  TBrd start;
  ASSERT_TRUE(UnpackBoard(game.StartBoard, start));
  int pieces = 0;
  for (int8_t c : start.cells) pieces += c != 0;
  EXPECT_EQ(pieces, 3);
  EXPECT_EQ(start[1], WhiteMan);  // square 46
}

TEST(PdnGameType, AnUnreadableFenKeepsTheMovesAsAComment) {
  TPdnGameReport report;
  const TGame game = ReadOne("[FEN \"W:W99:B1\"]\n1. c3-d4 *\n", gtRussian, &report);
  EXPECT_FALSE(report.complete);
  EXPECT_NE(report.reason.find("99"), std::string::npos) << report.reason;
  EXPECT_EQ(game.Header.Flags & PdnDamagedFlag, PdnDamagedFlag);
  EXPECT_EQ(game.CommentsAft[0], "* [FEN \"W:W99:B1\"] 1. c3-d4 *");
  EXPECT_EQ(FirstChild(game, 0), 0);
}

const char* ThreeGames =
    "[White \"A\"]\r\n[Black \"B\"]\r\n[GameType \"20\"]\r\n\r\n1. 32-28 18-23 *\r\n\r\n"
    "[White \"C\"]\r\n[Black \"D\"]\r\n[GameType \"20\"]\r\n\r\n1. 32-28 18-23 2. 32-27 12-18 *\r\n\r\n"
    "[White \"E\"]\r\n[Black \"A\"]\r\n\r\n1. c3-d4 *\r\n";

TEST(PdnImport, EveryGameGoesIntoTheDatabaseDamagedOnesMarked) {
  testing::SettingsScope scope;
  TempDir dir;
  testing::WriteFile(dir.File("three.pdn"), ThreeGames);
  std::vector<TPdnImportProgress> seen;
  TPdnImportOptions options;
  options.defaultType = gtRussian;
  options.progress = [&](const TPdnImportProgress& p) {
    seen.push_back(p);
    return true;
  };
  TPdnImportSummary summary;
  const std::string path = ImportPDNAsDatabase(dir.File("three.pdn"), summary, options);
  EXPECT_EQ(path, dir.File("three.abd"));
  EXPECT_EQ(summary.games, 3);
  EXPECT_EQ(summary.damaged, 1);
  ASSERT_EQ(summary.notes.size(), 1u);
  EXPECT_EQ(summary.notes[0].game, 2);
  EXPECT_EQ(summary.notes[0].line, 7);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen.back().games, 3);
  EXPECT_EQ(seen.back().damaged, 1);
  EXPECT_EQ(seen.back().bytesRead, seen.back().totalBytes);

  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(path, db, false).ok());
  ASSERT_EQ(db.DBSize, 3);
  // The names file was written: the names read back.
  for (const char* name : {"A", "B", "C", "D", "E"}) EXPECT_GE(db.DBNames.Find(name), 0) << name;
  TGame game;
  ASSERT_TRUE(ReadDBGame(db, 2, false, game));
  EXPECT_EQ(game.Header.Flags & PdnDamagedFlag, PdnDamagedFlag);
  EXPECT_EQ(game.WhiteName, "C");
  const int last = FirstChild(game, FirstChild(game, 0));
  EXPECT_EQ(game.CommentsAft[last], "* 32-27 12-18 *");
  ASSERT_TRUE(ReadDBGame(db, 3, false, game));
  EXPECT_EQ(game.Header.TypeOfGame, gtRussian);
  EXPECT_EQ(game.Header.Flags & PdnDamagedFlag, 0);
  EXPECT_EQ(game.BlackName, "A");
  CloseDatabase(db);
}

TEST(PdnImport, ReplacesADatabaseOfTheSameNameButNotForAMissingFile) {
  TempDir dir;
  testing::WriteFile(dir.File("games.pdn"), ThreeGames);
  TPdnImportSummary summary;
  ImportPDNAsDatabase(dir.File("games.pdn"), summary);
  ImportPDNAsDatabase(dir.File("games.pdn"), summary);
  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(dir.File("games.abd"), db, false).ok());
  EXPECT_EQ(db.DBSize, 3);
  CloseDatabase(db);

  EXPECT_THROW(ImportPDNIntoNewDatabase(dir.File("missing.pdn"), dir.File("games.abd"), summary), TPdnFileError);
  ASSERT_TRUE(OpenDatabase(dir.File("games.abd"), db, false).ok());
  EXPECT_EQ(db.DBSize, 3);
  CloseDatabase(db);
}

TEST(PdnImport, CancelledFromTheProgress) {
  TempDir dir;
  testing::WriteFile(dir.File("games.pdn"), ThreeGames);
  TPdnImportOptions options;
  options.progress = [](const TPdnImportProgress& p) { return p.games < 2; };
  TPdnImportSummary summary;
  ImportPDNAsDatabase(dir.File("games.pdn"), summary, options);
  EXPECT_TRUE(summary.cancelled);
  EXPECT_EQ(summary.games, 2);
  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(dir.File("games.abd"), db, false).ok());
  EXPECT_EQ(db.DBSize, 2);
  CloseDatabase(db);
}

TEST(PdnExport, FileNamesAppendingAndRanges) {
  EXPECT_EQ(PdnExportFileName("/x/games.PDN"), "/x/games.pdn");
  EXPECT_EQ(PdnExportFileName("/x.y/games"), "/x.y/games.pdn");
  EXPECT_EQ(PdnExportFileName("games.txt"), "games.pdn");

  TempDir dir;
  TGame game;
  NewGame(game, gtRussian);
  game.WhiteName = "Alone";
  const std::string file = dir.File("out.pdn");
  AppendPDNGame(game, file);
  const std::string once = testing::ReadFile(file);
  AppendPDNGame(game, file);
  EXPECT_EQ(testing::ReadFile(file), once + once);
  EXPECT_THROW(AppendPDNGame(game, dir.File("no/such/folder.pdn")), TPdnFileError);

  testing::WriteFile(dir.File("three.pdn"), ThreeGames);
  TPdnImportSummary summary;
  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(ImportPDNAsDatabase(dir.File("three.pdn"), summary), db, false).ok());
  TPdnExportSummary exported = ExportPDN(db, file, 2, 99);
  EXPECT_EQ(exported.written, 2);
  std::istringstream in(testing::ReadFile(file));
  TPdnSource source(in);
  TPdnRawGame raw;
  std::vector<std::string> whites;
  while (source.Next(raw)) {
    TGame g;
    ReadPdnGame(raw, gtRussian, g);
    whites.push_back(g.WhiteName);
  }
  EXPECT_EQ(whites, (std::vector<std::string>{"C", "E"}));
  exported = ExportPDN(db, file, 5, 9);
  EXPECT_EQ(exported.written, 0);
  EXPECT_EQ(testing::ReadFile(file), "");
  CloseDatabase(db);
}

}  // namespace
}  // namespace kestrel
