// The real PDN files of the shared reference folder: every one imports,
// with the game counts the folder's notes give, and the games that cannot
// be read to the end are shown to be faults of the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "database/database_file.h"
#include "database/game_blob.h"
#include "database/game_io.h"
#include "formats/pdn_game_reader.h"
#include "formats/pdn_import.h"
#include "formats/pdn_source.h"
#include "formats/pdn_variant_detect.h"
#include "formats/tests/pdn_test_util.h"
#include "game/navigation.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

struct TReferenceFile {
  const char* name;
  int type;   // the files carry no GameType tag, or only some do
  int games;  // as counted in the folder's notes
};

// Game counts from the notes; the tricks file has 91 games, one of them
// glued to the end of the line before (the notes count 91 result tags).
constexpr TReferenceFile Files[] = {
    {"intl_nk2009_ronde01_annotated.pdn", gtInternational, 7},
    {"intl_wk2003.pdn", gtInternational, 23},
    {"english_OCA_2.0_sample.pdn", gtEnglish, 43},
    {"english_tricks_traps_shots_fen.pdn", gtEnglish, 91},
    {"russian_ussr_ch_1950.pdn", gtRussian, 153},
    {"italian_campionato_assoluto_2005.pdn", gtItalian, 53},
};

std::string PathOf(const char* name) { return testing::ReferencePdnDir() + "/" + name; }

std::vector<TGame> ReadFileGames(const std::string& path, int type, std::vector<TPdnGameReport>& reports) {
  std::ifstream in(path, std::ios::binary);
  TPdnSource source(in);
  TPdnRawGame raw;
  std::vector<TGame> games;
  while (source.Next(raw)) {
    games.emplace_back();
    reports.push_back(ReadPdnGame(raw, type, games.back()));
  }
  return games;
}

class PdnReferenceFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(testing::ReferencePdnDir()))
      GTEST_SKIP() << "the reference PDN files are not at " << testing::ReferencePdnDir();
  }
};

TEST_F(PdnReferenceFiles, EveryFileImportsIntoADatabase) {
  testing::SettingsScope scope;
  testing::TempDir dir;
  for (const TReferenceFile& file : Files) {
    SCOPED_TRACE(file.name);
    TPdnImportOptions options;
    options.defaultType = file.type;
    TPdnImportSummary summary;
    ImportPDNIntoNewDatabase(PathOf(file.name), dir.File("ref.abd"), summary, options);
    EXPECT_EQ(summary.games, file.games);
    std::cout << file.name << ": " << summary.games << " games read, " << summary.damaged << " marked\n";
    for (const TPdnGameNote& note : summary.notes)
      std::cout << "  game " << note.game << " (line " << note.line << "): " << note.reason << "\n";

    TKestrelDB db;
    ASSERT_TRUE(OpenDatabase(dir.File("ref.abd"), db, false).ok());
    EXPECT_EQ(db.DBSize, file.games);
    TGame game;
    int marked = 0;
    for (int32_t n = 1; n <= db.DBSize; ++n) {
      std::string message;
      ASSERT_TRUE(ReadDBGame(db, n, false, game, &message)) << message;
      EXPECT_EQ(game.Header.TypeOfGame, file.type);
      marked += (game.Header.Flags & PdnDamagedFlag) != 0;
    }
    EXPECT_EQ(marked, summary.damaged);
    CloseDatabase(db);
  }
}

// Read without a GameType tag and whatever the current type, every file is
// taken for the variant it holds.
TEST_F(PdnReferenceFiles, TheVariantIsFoundFromTheMoves) {
  for (const TReferenceFile& file : Files) {
    for (int current : {gtRussian, gtInternational, gtEnglish}) {
      SCOPED_TRACE(std::string(file.name) + ", current type " + std::string(GameTypeNames[current]));
      const TVariantChoice choice = DetectPdnVariant(PathOf(file.name), current);
      if (!choice.detected) {
        // Only the International files carry the tag.
        EXPECT_EQ(file.type, gtInternational);
        continue;
      }
      EXPECT_EQ(choice.type, file.type) << choice.Explanation();
      EXPECT_NE(choice.Explanation().find("read as " + std::string(GameTypeNames[file.type])), std::string::npos);
    }
  }
}

TEST_F(PdnReferenceFiles, TheOnlyUnreadableMoveIsOneTheRulesForbid) {
  for (const TReferenceFile& file : Files) {
    SCOPED_TRACE(file.name);
    std::vector<TPdnGameReport> reports;
    const std::vector<TGame> games = ReadFileGames(PathOf(file.name), file.type, reports);
    for (size_t i = 0; i < games.size(); ++i) {
      if (reports[i].complete) continue;
      // Where the reading stopped, the side to move has a capture, which
      // the rules make compulsory, and the file plays a plain move instead.
      const TGame& game = games[i];
      int node = 0;
      for (int s = FirstChild(game, 0); s != 0; s = FirstChild(game, s)) node = s;
      TBoard board;
      TDColor side;
      ASSERT_TRUE(PositionAt(game, node, board, side));
      const std::vector<TMove> legal = testing::LegalMoves(board, side, file.type);
      ASSERT_FALSE(legal.empty());
      for (const TMove& m : legal) EXPECT_GT(m.lt, 0) << "game " << i + 1;
      const std::string rest = game.CommentsAft[node];
      ASSERT_EQ(rest.rfind("* ", 0), 0u);
      const std::string token = rest.substr(2, rest.find(' ', 2) - 2);
      EXPECT_EQ(token.find_first_of("x:"), std::string::npos) << token << " is no plain move";
      EXPECT_EQ(std::string(file.name), "english_tricks_traps_shots_fen.pdn") << "game " << i + 1 << ": " << reports[i].reason;
    }
  }
}

// Outside comments, the file's "(" in the International file: every one
// starts a side line of the tree; and its nine glyph tokens are all kept.
TEST_F(PdnReferenceFiles, VariationsCommentsAndGlyphsOfTheAnnotatedFile) {
  const std::string path = PathOf("intl_nk2009_ronde01_annotated.pdn");
  const std::string text = testing::ReadFile(path);
  int open = 0, depth = 0, nags = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') ++depth;
    if (text[i] == '}') --depth;
    if (depth == 0 && text[i] == '(') ++open;
    if (depth == 0 && text[i] == '$') ++nags;
  }
  std::vector<TPdnGameReport> reports;
  const std::vector<TGame> games = ReadFileGames(path, gtInternational, reports);
  int sideLines = 0, glyphs = 0, comments = 0;
  for (const TGame& game : games)
    for (int s = 1; s <= game.Header.LastMove; ++s) {
      if (game.Moves[s].free) continue;
      sideLines += FirstChild(game, game.Moves[s].parent) != s;
      glyphs += game.Moves[s].comm != 0;
      comments += !game.CommentsBef[s].empty() + !game.CommentsAft[s].empty();
    }
  EXPECT_EQ(sideLines, open);
  EXPECT_EQ(glyphs, nags);
  EXPECT_GT(comments, 90);
  // The first game opens with a comment before its first move.
  EXPECT_EQ(games[0].CommentsBef[FirstChild(games[0], 0)].rfind("Beide spelers", 0), 0u);
}

TEST_F(PdnReferenceFiles, TagsOfTheRussianItalianAndEnglishFiles) {
  std::vector<TPdnGameReport> reports;
  std::vector<TGame> games = ReadFileGames(PathOf("russian_ussr_ch_1950.pdn"), gtRussian, reports);
  ASSERT_FALSE(games.empty());
  // "Блиндер Б." written in UTF-8, kept in Windows-1251.
  EXPECT_EQ(games[0].WhiteName, "\xC1\xEB\xE8\xED\xE4\xE5\xF0 \xC1.");
  EXPECT_EQ(games[0].Header.Date.Year, 1950);
  EXPECT_EQ(games[0].Header.Result, 1);
  EXPECT_EQ(games[0].StartBoard, StandardStart(gtRussian));

  reports.clear();
  games = ReadFileGames(PathOf("italian_campionato_assoluto_2005.pdn"), gtItalian, reports);
  ASSERT_FALSE(games.empty());
  EXPECT_EQ(games[0].WhiteName, "BORGHETTI Michele");
  EXPECT_EQ(games[0].BlackName, "MASCOLO Luca");
  EXPECT_EQ(games[0].Tournament, "69\xB0 ASSOLUTO 1\xB0 TURNO");
  EXPECT_EQ(games[0].Site, "0028");
  EXPECT_EQ(games[0].Header.Date.Year, 2005);
  EXPECT_EQ(games[0].Header.Result, 1);

  reports.clear();
  games = ReadFileGames(PathOf("english_OCA_2.0_sample.pdn"), gtEnglish, reports);
  ASSERT_FALSE(games.empty());
  // The Black tag comes first and names the side that moves first.
  EXPECT_EQ(games[0].WhiteName, "Moorhead, W.");
  EXPECT_EQ(games[0].BlackName, "Wyllie, J.");
  EXPECT_EQ(games[0].Header.Date.Year, 1841);
  EXPECT_EQ(games[0].Header.Result, 3);
}

}  // namespace
}  // namespace kestrel
