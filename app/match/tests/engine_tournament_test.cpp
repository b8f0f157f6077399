#include "app/match/engine_tournament.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "app/match/material_eval.h"
#include "app/match/match_openings.h"
#include "app/play/engine_worker.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "engine/default_eval.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

using testing::TempDir;

// Sortition positions: the start position followed by a random 4-ply line.
std::vector<TGame> Positions(int count) {
  std::vector<TGame> games;
  for (const TOpening& o : RandomOpenings(gtRussian, count, 4, 9)) {
    TGame g;
    NewGame(g, gtRussian);
    int slot = 0;
    for (const TMove& m : o.moves) slot = AddMove(g, slot, m).slot;
    games.push_back(std::move(g));
  }
  return games;
}

TPairContext FastContext(TKestrelDB* save) {
  TPairContext c;
  c.gametype = gtRussian;
  c.timeControl = {1, {100, 100}};  // a second per move, cut short by the depth
  c.maxDepth = 5;
  c.maxPlies = 40;
  c.hashMegabytes = 1;
  c.save = save;
  return c;
}

std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(EngineTournament, FewerFilesThanEntriesFillsWithOffspringAndSavesEveryGame) {
  TempDir dir;
  const auto file = dir.path() / "mat.eng";
  ASSERT_TRUE(WriteEngine(file, MaterialEvalFunc(gtRussian)));
  TKestrelDB save;
  CreateDatabase(dir.File("save.abd"), save);

  TTournamentSettings s;
  s.gametype = gtRussian;
  s.positions = Positions(2);
  s.gamesPerRound = 2;  // the whole database: every position once, in order
  s.folder = dir.path();
  s.engineFiles = {file};
  s.totalFunctions = 3;
  s.namePrefix = "Gen";
  s.current = DefaultEvalFunc(gtRussian);
  s.seed = 5;
  std::vector<std::string> posted;
  TPairContext c = FastContext(&save);
  c.post = [&](const std::string& line) { posted.push_back(line); };
  TEngineTournament t(s, c);
  ASSERT_EQ(t.Run(), "");
  EXPECT_EQ(t.RoundsPlayed(), 1);

  std::set<std::string> names;
  for (int j = 1; j <= 3; ++j) names.insert(t.Entries()[j].func.Name);
  EXPECT_EQ(names, (std::set<std::string>{"Russian material", "Gen-2", "Gen-3"}));
  for (const char* f : {"Gen-2.eng", "Gen-3.eng", "Russian material.eng", "Round1.txt", "Round1tb.txt"})
    EXPECT_TRUE(std::filesystem::exists(dir.path() / f)) << f;

  // 2 positions x 3 pairs x 2 games, each pair's games with Round = the
  // position's number and Subround 1 then 2, colours exchanged.
  ASSERT_EQ(save.RecordCount(), 12);
  for (int32_t n = 1; n <= 12; n += 2) {
    TQuickGameHeader first, second;
    ASSERT_TRUE(ReadQuickHeader(save, n, first));
    ASSERT_TRUE(ReadQuickHeader(save, n + 1, second));
    EXPECT_EQ(first.Header.Round, n <= 6 ? 1 : 2);
    EXPECT_EQ(second.Header.Round, first.Header.Round);
    EXPECT_EQ(first.Header.Subround, 1);
    EXPECT_EQ(second.Header.Subround, 2);
    EXPECT_EQ(first.WhiteName, second.BlackName);
    EXPECT_EQ(first.BlackName, second.WhiteName);
    EXPECT_EQ(first.Site, "00:00:01 vs 00:00:01");
  }
  CloseDatabase(save);
  EXPECT_EQ(posted.size(), 12u);

  // The cross table: every pair's 4 points at stake are shared out.
  int points = 0;
  for (int j = 1; j <= 3; ++j) {
    EXPECT_EQ(t.Cross()[j][j], 0);
    for (int k = 1; k <= 3; ++k)
      if (j != k) {
        EXPECT_EQ(t.Cross()[j][k] + t.Cross()[k][j], 2 * 2 * 2);
        points += t.Cross()[j][k];
      }
  }
  EXPECT_EQ(points, 24);
  EXPECT_GE(t.Entries()[1].total, t.Entries()[2].total);
  EXPECT_GE(t.Entries()[2].total, t.Entries()[3].total);
  const std::string round = ReadText(dir.path() / "Round1.txt");
  EXPECT_NE(round.find("Table after round 2, 2/3\r\n"), std::string::npos);
  EXPECT_NE(round.find("1." + t.Entries()[1].func.Name + " = " + std::to_string(t.Entries()[1].total) + "\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadText(dir.path() / "Round1tb.txt").substr(0, 26), "Table after round 1, 2/3\r\n");
}

TEST(EngineTournament, AnUnwritableFolderEndsTheRunWithAMessage) {
  TempDir dir;
  TTournamentSettings s;
  s.gametype = gtRussian;
  s.positions = Positions(1);
  s.folder = dir.path() / "missing" / "folder";
  s.totalFunctions = 2;
  s.current = DefaultEvalFunc(gtRussian);
  TEngineTournament t(s, FastContext(nullptr));
  const std::string message = t.Run();
  EXPECT_NE(message.find("Cannot write"), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(s.folder / "Round1.txt"));
}

TEST(EngineTournament, StopDuringARunReturnsTheWorkerToIdle) {
  TempDir dir;
  TTournamentSettings s;
  s.gametype = gtRussian;
  s.positions = Positions(3);
  s.gamesPerRound = 3;
  s.folder = dir.path();
  s.totalFunctions = 4;
  s.runNext = true;  // would go on for ever
  s.current = DefaultEvalFunc(gtRussian);
  TPairContext c = FastContext(nullptr);
  c.maxDepth = 0;  // a full second per move
  c.maxPlies = 1000;
  TEngineTournament t(s, c);
  TEngine engine(1);
  TEngineWorker worker(engine);
  std::string result = "not run";
  worker.Start(TWorkKind::match, [&] { result = t.Run(); });
  worker.SetStopHook([&] { t.RequestStop(); });
  ASSERT_TRUE(worker.Busy());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  worker.RequestStop();  // what STOP does
  EXPECT_TRUE(worker.IdleEvent().WaitFor(std::chrono::seconds(20)));
  EXPECT_EQ(result, "");
  EXPECT_EQ(t.RoundsPlayed(), 0);
}

TEST(EngineTournament, ResultTextsShowADashWithoutResults) {
  EXPECT_EQ(PairProgressText({}), "+0-0=0 (-%)");
  EXPECT_EQ(PairProgressText({1, 1, 0}), "+1-0=1 (75%)");
}

}  // namespace
}  // namespace kestrel
