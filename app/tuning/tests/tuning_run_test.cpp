// Tuning runs repeat exactly, and every tuned file shipped with the program
// is one that a recorded run wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/match/engine_player.h"
#include "app/play/result_detection.h"
#include "app/tuning/tuning_run.h"
#include "engine/default_eval.h"
#include "engine/engine_params.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

TEST(TuningRun, TheSameGamesAndSeedGiveTheSameWeights) {
  TTuneSettings s;
  s.base = DefaultEvalFunc(gtRussian);
  s.runName = "t";
  s.play.gametype = gtRussian;
  s.play.games = 24;
  s.play.depth = 2;
  s.epochs = 40;
  const auto text = [&](int concurrency, uint64_t seed) {
    s.play.concurrency = concurrency;
    s.play.seed = seed;
    const TTuneOutcome r = RunTuning(s);
    EXPECT_EQ(r.games, 24);
    EXPECT_GT(r.positions, 200u);
    EXPECT_LT(r.lossAfter, r.lossBefore);
    return EngineFileText(r.tuned);
  };
  const std::string first = text(1, 7);
  EXPECT_EQ(text(2, 7), first) << "the threads must not change the games";
  EXPECT_NE(text(1, 8), first) << "another seed, other games";
  EXPECT_NE(EngineFileText(s.base), first);

  // Held kings keep the base's values while the rest is fitted.
  s.holdKings = true;
  s.base.P(1, prKingValue) = 260;
  const TTuneOutcome held = RunTuning(s);
  EXPECT_NE(EngineFileText(held.tuned), first);
  for (int stage = 0; stage < EvalStages; ++stage)
    EXPECT_EQ(held.tuned.P(stage, prKingValue), s.base.P(stage, prKingValue)) << stage;

  // Targets partly from the games' searches: the same games, another fit.
  s.holdKings = false;
  s.scoreWeight = 0.5;
  const TTuneOutcome blended = RunTuning(s);
  EXPECT_EQ(blended.positions, held.positions);
  EXPECT_NE(EngineFileText(blended.tuned), first);
}

TEST(TuningRun, EachPositionCarriesTheScoreOfTheSearchThatMovedFromIt) {
  TEngineParams params;
  params.Engine = EngineNew;
  params.UseBook = false;
  params.EvalFunc = DefaultEvalFunc(gtRussian);
  CompileEvalFunc(params.EvalFunc);
  const TMatchEntry player{"self", [params] { return std::make_unique<TEnginePlayer>("self", params, 1); }};
  for (const int openingPlies : {0, 4}) {
    TSelfPlaySettings play;
    play.games = 16;
    play.depth = 3;
    play.openingPlies = openingPlies;
    const std::vector<TPlayedGame> games = PlaySelfPlayGames(player, play);
    TLabelOptions all;
    all.skipPlies = 0;
    all.quietOnly = false;
    const std::vector<TTrainingPosition> positions = LabelPositions(games, gtRussian, all);
    std::size_t at = 0;
    int decisive = 0;
    for (const TPlayedGame& g : games) {
      ASSERT_EQ(g.scores.size(), g.moves.size());
      // Every position after a move, the last one (no move left) unscored.
      const std::size_t plies = g.opening.moves.size() + g.moves.size();
      ASSERT_LE(at + plies, positions.size());
      for (std::size_t i = 0; i < plies; ++i) {
        const TTrainingPosition& p = positions[at + i];
        EXPECT_EQ(p.scored, p.ply >= openingPlies && i + 1 < plies) << p.ply;
        // Near the end the search sees the result coming: the side to move's
        // score agrees with the result for it (a shift by one ply inverts it).
        if (g.result != ResultDraw && p.scored && i + 4 >= plies && p.score != 0) {
          EXPECT_EQ(p.score > 0, p.target > 0.5f) << "score " << p.score << " at ply " << p.ply;
        }
      }
      at += plies;
      decisive += g.result != ResultDraw;
    }
    EXPECT_EQ(at, positions.size());
    if (openingPlies > 0) {
      EXPECT_GT(decisive, 3) << "one opening alone plays one game over and over";
    }
  }
}

TEST(TuningRun, TheRecordKeepsOneRowPerTunedFile) {
  testing::TempDir dir;
  const fs::path record = dir.path() / "TUNING.md";
  TTuningRecord r{"Russian-tune-s1-g10-d2.eng", "Russian", "Russian.eng", 1, 10, 2, 30, "0123456789abcdef",
                  "kestrel-cli tune --variant Russian --games 10"};
  std::string error;
  ASSERT_TRUE(AddToRecord(record, r, error)) << error;
  std::ofstream(record, std::ios::app) << "\n## Notes below the table\n";
  r.hash = "fedcba9876543210";
  ASSERT_TRUE(AddToRecord(record, r, error)) << error;
  TTuningRecord other = r;
  other.file = "International-tune-s1-g10-d2.eng";
  ASSERT_TRUE(AddToRecord(record, other, error)) << error;
  const std::vector<TTuningRecord> rows = ParseRecord(ReadAll(record));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].file, r.file);
  EXPECT_EQ(rows[0].hash, "fedcba9876543210");
  EXPECT_EQ(rows[0].command, r.command);
  EXPECT_EQ(rows[1].file, other.file);
  const std::string text = ReadAll(record);
  EXPECT_LT(text.find(other.file), text.find("## Notes")) << "rows stay in the table";
  // FNV-1a 64 of published test vectors.
  EXPECT_EQ(ContentHash(""), "cbf29ce484222325");
  EXPECT_EQ(ContentHash("a"), "af63dc4c8601ec8c");
}

TEST(TuningRun, EveryShippedTunedFileIsOneARecordedRunWrote) {
  const fs::path root = fs::path(KESTREL_SOURCE_DIR) / "data" / "EvalFunc";
  const std::vector<TTuningRecord> rows = ParseRecord(ReadAll(root / "TUNING.md"));
  int tuned = 0;
  for (const auto& folder : fs::directory_iterator(root)) {
    if (!folder.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(folder.path())) {
      const std::string name = file.path().filename().string();
      // A tuned file, or a default replaced by one: its function keeps the
      // tuned file's name.
      TEvalFuncNew func;
      const bool claims = name.find("-tune-") != std::string::npos ||
                          (ReadEngine(file.path(), func) && func.Name.find("-tune-") != std::string::npos);
      if (!claims) continue;
      ++tuned;
      const std::string stem = name.find("-tune-") != std::string::npos ? name : func.Name + ".eng";
      const auto row = std::find_if(rows.begin(), rows.end(), [&](const TTuningRecord& r) { return r.file == stem; });
      ASSERT_NE(row, rows.end()) << name << " has no run in the record";
      EXPECT_EQ(row->variant, folder.path().filename().string()) << name;
      EXPECT_EQ(ContentHash(ReadAll(file.path())), row->hash) << name << " differs from what its run wrote";
    }
  }
  // And no recorded run lacks its file.
  for (const TTuningRecord& r : rows) EXPECT_TRUE(fs::exists(root / r.variant / r.file)) << r.file;
  EXPECT_GE(tuned, static_cast<int>(rows.size()));
}

}  // namespace
}  // namespace kestrel
