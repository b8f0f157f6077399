// The cache of tables: concurrent probes under a memory limit of 0 (every
// load unloads the others), damaged files refused with their name, and the
// answers the search takes from it.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <thread>

#include "endgame_fixture.h"
#include "engine/bitboard_movegen.h"
#include "engine/endgame/endgame_cache.h"
#include "engine/endgame/endgame_verdict.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

struct TProbe {
  TBitBoard64 pos;
  int ply;
  int16_t score;
};

// Quiet positions of every three-piece table with their answers, from a
// cache without a memory limit.
std::vector<TProbe> ExpectedProbes(const fs::path& root, int gametype) {
  TEndgameCache cache;
  cache.Configure(root, 1024);
  cache.SetGameType(gametype);
  const TEdbBoard board(gametype);
  std::mt19937_64 random(5);
  std::vector<TProbe> probes;
  const TEdbMaterial materials[] = {{0, 0, 2, 1, 0, 0}, {1, 0, 1, 1, 3, 0}, {0, 1, 2, 0, 0, 5}, {2, 0, 0, 1, 7, 0},
                                    {0, 0, 1, 1, 0, 0}, {1, 1, 0, 0, 2, 6}};
  for (const auto& m : materials)
    for (int n = 0; n < 300;) {
      TBitBoard64 pos;
      if (!board.Position(m, random() % board.TableSize(m), pos) || CaptureMask(pos, gametype) != 0) continue;
      TProbe p{pos, n % 2 ? 1 : 9, 0};  // ply 9 with more than 5 pieces would ask WDL; here MTW
      if (!cache.ProbeEDB(pos, gametype, p.ply, p.score, TExcludedTables{})) continue;
      probes.push_back(p);
      ++n;
    }
  return probes;
}

TEST(EndgameCache, ZeroMemoryLimitWithConcurrentProbes) {
  const int gametype = gtRussian;
  const fs::path& root = testing::GeneratedTables(gametype, 3);
  const std::vector<TProbe> probes = ExpectedProbes(root, gametype);
  ASSERT_EQ(probes.size(), 1800u);
  TEndgameCache cache;
  cache.Configure(root, 0);
  cache.SetGameType(gametype);
  std::atomic<int> wrong{0};
  {
    std::vector<std::jthread> threads;
    for (int t = 0; t < 4; ++t)
      threads.emplace_back([&, t] {
        for (size_t i = t; i < probes.size() * 3; i += 4) {
          const TProbe& p = probes[(i * 7919) % probes.size()];
          int16_t score = 0;
          if (!cache.ProbeEDB(p.pos, gametype, p.ply, score, TExcludedTables{}) || score != p.score) ++wrong;
        }
      });
  }
  EXPECT_EQ(wrong.load(), 0);
  const TEdbCacheStats stats = cache.Stats();
  EXPECT_GT(stats.tablesLoaded, 6u);  // tables were unloaded and loaded again
  EXPECT_EQ(stats.answers, probes.size() * 3);
  EXPECT_EQ(stats.largestPieces, 3);
}

// The search probes no position with more pieces than the tables present:
// only final table files count, not working files or the log.
TEST(EndgameCache, PiecesAreThoseOfTheTablesPresent) {
  testing::TempDir dir;
  const auto touch = [&](const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
  };
  touch(TableFolder(dir.path(), gtRussian, false) / "3-2100-0-0");
  touch(TableFolder(dir.path(), gtRussian, true) / "5-2111-7-5");
  touch(TableFolder(dir.path(), gtRussian, false) / "GEN" / "7-2212-7-5");
  touch(TableFolder(dir.path(), gtRussian, false).parent_path() / "log2026-01-01_00-00-00.txt");
  touch(TableFolder(dir.path(), gtInternational, false) / "B-3322-7-5");
  TEndgameCache cache;
  cache.Configure(dir.path(), 16);
  EXPECT_EQ(cache.Pieces(gtRussian), 5);
  EXPECT_EQ(cache.Pieces(gtEnglish), 0);
  EXPECT_EQ(cache.Pieces(gtInternational), 11);
  // New tables count after the reset that follows a generation.
  touch(TableFolder(dir.path(), gtRussian, false) / "6-1122-7-5");
  cache.Reset();
  EXPECT_EQ(cache.Pieces(gtRussian), 6);
}

TEST(EndgameCache, DamagedTableIsRefusedByName) {
  const int gametype = gtRussian;
  testing::TempDir dir;
  fs::copy(testing::GeneratedTables(gametype, 3), dir.path(), fs::copy_options::recursive);
  const fs::path mtw = TableFolder(dir.path(), gametype, true);
  const fs::path wdl = TableFolder(dir.path(), gametype, false);
  // Two kings against one: the MTW file cut short, the WDL file intact.
  fs::resize_file(mtw / "3-2100-0-0", fs::file_size(mtw / "3-2100-0-0") / 2);
  std::vector<std::string> messages;
  TEndgameCache cache;
  cache.Configure(dir.path(), 16);
  cache.SetGameType(gametype);
  cache.SetMessageSink([&](const std::string& m) { messages.push_back(m); });
  const TEdbBoard board(gametype);
  TBitBoard64 pos;
  uint64_t i = 0;
  while (!board.Position({0, 0, 2, 1, 0, 0}, i, pos) || CaptureMask(pos, gametype) != 0 ||
         OpponentCaptureMask(pos, gametype) != 0)
    ++i;
  int16_t score = 0;
  // The probe falls back to the WDL table.
  ASSERT_TRUE(cache.ProbeEDB(pos, gametype, 1, score, TExcludedTables{}));
  EXPECT_TRUE(score == 0 || std::abs(score) == 1500) << score;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("3-2100-0-0"), std::string::npos) << messages[0];
  // With both files damaged there is no answer, and the search goes on.
  std::ofstream(wdl / "3-2100-0-0", std::ios::trunc) << "garbage";
  cache.Reset();
  EXPECT_FALSE(cache.ProbeEDB(pos, gametype, 1, score, TExcludedTables{}));
  EXPECT_EQ(messages.size(), 3u);
  // The root's own tables give no WDL win or loss; a draw still counts.
  TEdbMaterial m;
  const TEdbBoard b(gametype);
  fs::remove(mtw / "3-2001-0-7");
  for (uint64_t j = 0; j < 5000; ++j) {
    if (!b.Position({0, 1, 2, 0, 0, 7}, j, pos) || CaptureMask(pos, gametype) || OpponentCaptureMask(pos, gametype))
      continue;
    b.MaterialOf(pos, m);
    cache.Reset();
    const TExcludedTables root{m.Number(), 0};
    int16_t plain = 0, excluded = 0;
    ASSERT_TRUE(cache.ProbeEDB(pos, gametype, 9, plain, TExcludedTables{}));
    const bool answered = cache.ProbeEDB(pos, gametype, 9, excluded, root);
    EXPECT_EQ(answered, plain == 0);
  }
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TBoard Position(std::initializer_list<std::pair<int, int8_t>> pieces) {
  TBoard board;
  for (const auto& [square, piece] : pieces) board.b[square] = piece;
  return board;
}

TEST(EndgameVerdict, AdjudicatesKnownQuietPositionsOnly) {
  const int gametype = gtRussian;
  TEndgameCache cache;
  cache.Configure(testing::GeneratedTables(gametype, 4), 16);
  cache.SetGameType(gametype);
  // Two kings on the long diagonal's neighbours against a king: a draw in Russian.
  EXPECT_EQ(EndgameVerdict(cache, Position({{2, WhiteKing}, {3, WhiteKing}, {32, BlackKing}}), TDColor::white, gametype),
            0);
  // Three kings holding the long diagonal against a king: won for them,
  // lost for the lone king, whoever is to move.
  const TBoard board = Position({{10, WhiteKing}, {2, WhiteKing}, {3, WhiteKing}, {25, BlackKing}});
  EXPECT_EQ(EndgameVerdict(cache, board, TDColor::white, gametype), 1);
  EXPECT_EQ(EndgameVerdict(cache, board, TDColor::black, gametype), -1);
  // A capture pending, a side without pieces or a missing table: no verdict.
  EXPECT_FALSE(EndgameVerdict(cache, Position({{10, WhiteKing}, {14, BlackKing}}), TDColor::white, gametype));
  EXPECT_FALSE(EndgameVerdict(cache, Position({{10, WhiteKing}}), TDColor::white, gametype));
  EXPECT_FALSE(EndgameVerdict(cache, InitialPosition(gametype), TDColor::white, gametype));
  EXPECT_FALSE(EndgameVerdict(cache, Position({{1, WhiteKing}, {2, WhiteKing}, {9, BlackKing}, {32, BlackKing}}),
                              TDColor::white, gametype));  // two against two: not generated here

  TEdbCacheStats stats;
  EXPECT_EQ(EndgameText(stats), "EDB n/a");
  stats.answers = 12;
  stats.largestPieces = 3;
  stats.blocksLoaded = 40;
  stats.bytesLoaded = 3 << 20;
  EXPECT_EQ(EndgameText(stats), "EDB3=12 (40, 3MB)");
}

}  // namespace
}  // namespace kestrel
