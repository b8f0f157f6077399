// The ballot lists of data/Ballots: every line replays, the counts are the
// published ones, the shipped databases are what the lists make, and a draw
// gives a game of the asking type.
#include "formats/ballot_lists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "database/ballots.h"
#include "database/database_file.h"
#include "game/navigation.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

const std::string Folder = std::string(KESTREL_SOURCE_DIR) + "/data/Ballots/";

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BallotLists : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::string> errors;
    lists = ParseBallotLists(FileText(Folder + "ballot_lists.txt"), errors);
    for (const std::string& e : errors) ADD_FAILURE() << e;
    for (const TBallotFile& f : lists) byName[f.name] = &f;
  }
  std::vector<TBallotFile> lists;
  std::map<std::string, const TBallotFile*> byName;
};

TEST_F(BallotLists, TheDecksHaveTheirPublishedSizes) {
  ASSERT_EQ(byName.size(), 3u);
  EXPECT_EQ(byName["3move.abd"]->lines.size(), 156u);  // 174 ACF ballots less the 18 barred
  EXPECT_EQ(byName["2move.abd"]->lines.size(), 43u);   // 49 less the 6 excluded
  EXPECT_EQ(byName["fly.abd"]->lines.size(), 745u);    // 23 rows of 33 columns, the last with 9
  EXPECT_EQ(byName["3move.abd"]->lines.back().round, 174);
}

// Every line replays in every type its file serves. Where rules differ,
// Brazilian's compulsory majority capture makes four lines of the Russian
// table illegal, all among the nine cells its table leaves out.
TEST_F(BallotLists, EveryLineReplaysInTheTypesItServes) {
  const std::map<std::string, std::vector<int>> serves = {
      {"3move.abd", {gtEnglish}},
      {"2move.abd", {gtRussian, gtEnglish, gtBrazilian, gtPool, gtCzech, gtSpanish}},
      {"fly.abd", {gtRussian, gtBrazilian, gtPool}}};
  for (const TBallotFile& file : lists) {
    std::set<std::vector<int8_t>> positions;
    int illegalInBrazilian = 0, leftOutOfBrazilian = 0;
    for (const TBallotLine& line : file.lines) {
      TGame game;
      std::string reason;
      ASSERT_TRUE(MakeBallotGame(file, line, game, reason)) << file.name << " " << line.label << ": " << reason;
      GoToLineEnd(game, 0);
      std::vector<int8_t> key(game.CurBoard.b.cells.begin(), game.CurBoard.b.cells.end());
      key.push_back(static_cast<int8_t>(game.SideToMove));
      positions.insert(key);
      for (const int type : serves.at(file.name)) {
        if (type == gtBrazilian && line.notInBrazilianTable) {
          ++leftOutOfBrazilian;
          EXPECT_FALSE(BallotServes(game, type));
          TGame unmarked = game;
          unmarked.Tournament.clear();
          if (!BallotServes(unmarked, type)) ++illegalInBrazilian;
          continue;
        }
        EXPECT_TRUE(BallotServes(game, type)) << file.name << " " << line.label << " in " << GameTypeNames[type];
      }
    }
    if (file.name == "3move.abd") {
      EXPECT_EQ(positions.size(), 156u) << "every ACF ballot leads elsewhere";
    }
    if (file.name == "fly.abd") {
      EXPECT_EQ(leftOutOfBrazilian, 9);
      EXPECT_EQ(illegalInBrazilian, 4);
      EXPECT_EQ(positions.size(), 742u) << "745 cells, three pairs reached by transposition";
    }
  }
}

TEST_F(BallotLists, TheShippedDatabasesAreWhatTheListsMake) {
  testing::TempDir dir;
  std::vector<std::string> errors;
  EXPECT_EQ(BuildBallotDatabases(lists, dir.path().string(), errors), 156 + 43 + 745);
  EXPECT_TRUE(errors.empty());
  for (const char* base : {"3move", "2move", "fly"})
    for (const char* ext : {".abd", ".abm", ".abn"}) {
      const std::string name = std::string(base) + ext;
      EXPECT_EQ(FileText(dir.File(name)), FileText(Folder + name)) << name << ": run kestrel-cli ballots build data/Ballots";
    }
}

TEST_F(BallotLists, DrawsServeTheAskingType) {
  std::mt19937 rng(3);
  struct Case {
    int type;
    TBallotKind kind;
    bool found;
    std::string_view message;
  };
  const Case cases[] = {
      {gtPool, TBallotKind::full, true, ""},          {gtBrazilian, TBallotKind::full, true, ""},
      {gtEnglish, TBallotKind::full, true, ""},       {gtSpanish, TBallotKind::twoMove, true, ""},
      {gtCzech, TBallotKind::full, false, BallotNotFoundText},
      {gtThai, TBallotKind::twoMove, false, BallotNotFoundText},
      {gtItalian, TBallotKind::twoMove, false, BallotNotFoundText},
      {gtInternational, TBallotKind::twoMove, false, ""},
  };
  for (const Case& c : cases) {
    for (int round = 0; round < 30; ++round) {
      TGame game;
      std::string message;
      ASSERT_EQ(DrawBallot(Folder, c.type, c.kind, rng, game, &message), c.found) << GameTypeNames[c.type];
      EXPECT_EQ(message, c.message);
      if (!c.found) break;
      EXPECT_EQ(game.Header.TypeOfGame, c.type);
      EXPECT_EQ(game.DBGameNo, 0);
      EXPECT_GE(game.CurMovPos, game.Header.LastMove > 0 ? 1 : 0) << "the drawn opening is played on the board";
      EXPECT_TRUE(BallotServes(game, c.type));
    }
  }
}

}  // namespace
}  // namespace kestrel
