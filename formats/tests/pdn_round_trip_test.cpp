// Games written and read back: random games of legal moves of every type,
// with variations, comments, glyphs, set-up positions and all the header
// values PDN carries, through the text and through a database.
#include <gtest/gtest.h>

#include <sstream>

#include "database/game_blob.h"

#include "database/database_file.h"
#include "database/game_io.h"
#include "formats/pdn_export.h"
#include "formats/pdn_game_reader.h"
#include "formats/pdn_import.h"
#include "formats/pdn_source.h"
#include "formats/pdn_writer.h"
#include "formats/tests/pdn_test_util.h"

namespace kestrel {
namespace {

using testing::ExpectSamePdnGame;
using testing::RandomGame;

// The games of a PDN text, read with `defaultType` for games without a
// GameType tag.
std::vector<TGame> ReadAll(const std::string& text, int defaultType, int* damaged = nullptr) {
  std::istringstream in(text);
  TPdnSource source(in);
  TPdnRawGame raw;
  std::vector<TGame> games;
  if (damaged) *damaged = 0;
  while (source.Next(raw)) {
    games.emplace_back();
    const TPdnGameReport report = ReadPdnGame(raw, defaultType, games.back());
    if (!report.complete && damaged) ++*damaged;
  }
  return games;
}

void ExpectRoundTrip(const TGame& game, const TPdnWriteOptions& options, const std::string& what) {
  SCOPED_TRACE(what);
  const std::string text = PDNGameText(game, options);
  // Any other type as the fallback: the GameType tag must decide.
  const int other = GameTypeOf(game) % GameTypeCount + 1;
  int damaged = 0;
  const std::vector<TGame> back = ReadAll(text, other, &damaged);
  ASSERT_EQ(back.size(), 1u) << text;
  EXPECT_EQ(damaged, 0) << text;
  ExpectSamePdnGame(game, back[0]);
  if (::testing::Test::HasFailure()) {
    ADD_FAILURE() << text;
    return;
  }
  // Written again, the text is the same.
  EXPECT_EQ(PDNGameText(back[0], options), text);
}

class PdnRoundTrip : public ::testing::TestWithParam<int> {};

// What the random games hold, so that the test is known to cover it.
struct TCoverage {
  int moves = 0, sideLines = 0, comments = 0, glyphs = 0, setUps = 0, captures = 0;

  void Add(const TGame& game) {
    for (int s = 1; s <= game.Header.LastMove; ++s) {
      const TMove& m = game.Moves[s];
      if (m.free) continue;
      ++moves;
      sideLines += FirstChild(game, m.parent) != s;
      comments += !game.CommentsBef[s].empty() + !game.CommentsAft[s].empty();
      glyphs += m.comm != 0;
      captures += m.lt > 1;
    }
    setUps += !IsStandardStart(game.StartBoard, GameTypeOf(game));
  }
};

TEST_P(PdnRoundTrip, RandomGamesReadBackTheSame) {
  testing::SettingsScope scope;
  const int type = GetParam();
  std::mt19937 rng(1000 + type);
  TCoverage coverage;
  for (int i = 0; i < 60 && !HasFailure(); ++i) {
    if (type == gtPool) PoolChessNotation = i % 2 == 1;
    const TGame game = RandomGame(type, rng);
    coverage.Add(game);
    TPdnWriteOptions options;
    options.italianTags = i % 3 == 0;
    options.resultStyle = i % 2;
    ExpectRoundTrip(game, options, std::string(GameTypeNames[type]) + " game " + std::to_string(i));
  }
  EXPECT_GT(coverage.moves, 1000);
  EXPECT_GT(coverage.sideLines, 100);
  EXPECT_GT(coverage.comments, 100);
  EXPECT_GT(coverage.glyphs, 100);
  EXPECT_GT(coverage.setUps, 5);
  EXPECT_GT(coverage.captures, 0);  // captures of more than one piece
}

INSTANTIATE_TEST_SUITE_P(EveryType, PdnRoundTrip, ::testing::Range(1, GameTypeCount + 1),
                         [](const auto& info) { return std::string(GameTypeNames[info.param]); });

TEST(PdnRoundTripFile, ManyGamesThroughAFileAndADatabase) {
  testing::SettingsScope scope;
  testing::TempDir dir;
  std::mt19937 rng(77);
  std::vector<TGame> games;
  for (int type = 1; type <= GameTypeCount; ++type)
    for (int i = 0; i < 5; ++i) games.push_back(RandomGame(type, rng));
  const std::string pdn = dir.File("games.pdn");
  for (const TGame& game : games) AppendPDNGame(game, pdn);

  TPdnImportSummary summary;
  const std::string dbPath = ImportPDNAsDatabase(pdn, summary);
  EXPECT_EQ(dbPath, dir.File("games.abd"));
  EXPECT_EQ(summary.games, static_cast<int>(games.size()));
  EXPECT_EQ(summary.damaged, 0);

  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(dbPath, db, false).ok());
  ASSERT_EQ(db.DBSize, static_cast<int32_t>(games.size()));
  for (int32_t n = 1; n <= db.DBSize; ++n) {
    TGame stored;
    std::string message;
    ASSERT_TRUE(ReadDBGame(db, n, false, stored, &message)) << message;
    SCOPED_TRACE("game " + std::to_string(n));
    ExpectSamePdnGame(games[n - 1], stored);
  }
  // Exported again from the database, the file holds the same text.
  const std::string again = dir.File("again.pdn");
  const TPdnExportSummary exported = ExportPDN(db, again, 1, db.DBSize);
  EXPECT_EQ(exported.written, db.DBSize);
  EXPECT_EQ(testing::ReadFile(again), testing::ReadFile(pdn));
  CloseDatabase(db);
}

}  // namespace
}  // namespace kestrel
