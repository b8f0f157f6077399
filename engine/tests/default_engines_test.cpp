// The engine files shipped in data/EvalFunc: readable, stable through
// WriteEngine, regenerated from DefaultEvalFunc, and sensible.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "engine/default_eval.h"
#include "engine/engine_params.h"
#include "engine/tests/eval_test_helpers.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

fs::path ShippedFile(int type) {
  return EngineFolder(fs::path(KESTREL_SOURCE_DIR) / "data", type) / DefaultEngineFileName(type);
}

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DefaultEngines, EveryVariantShipsAFileThatReadsAndWritesBackUnchanged) {
  for (int type = 1; type <= GameTypeCount; ++type) {
    SCOPED_TRACE(GameTypeNames[type]);
    const fs::path file = ShippedFile(type);
    TEvalFuncNew f;
    const TEngineFileResult r = ReadEngine(file, f);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(EngineFileText(f), ReadText(file));
    // The file is what the generator makes (`kestrel-cli engine-file defaults`
    // rewrites it), or what a recorded tuning run made: such a function keeps
    // its run's name, and the tuning tests check it against the record.
    if (f.Name.find("-tune-") == std::string::npos) {
      EXPECT_EQ(EngineFileText(DefaultEvalFunc(type)), ReadText(file));
    }
  }
}

TEST(DefaultEngines, MaterialStagesAndSearchParametersAreSound) {
  for (int type = 1; type <= GameTypeCount; ++type) {
    SCOPED_TRACE(GameTypeNames[type]);
    TEvalFuncNew f;
    ASSERT_TRUE(ReadEngine(ShippedFile(type), f));
    const bool shortKings = GameTypes[type].ShortKings != 0;
    for (int s = 0; s < EvalStages; ++s) {
      EXPECT_EQ(f.P(s, prManValue), 100);
      if (shortKings) {
        EXPECT_GE(f.P(s, prKingValue), 140);
        EXPECT_LE(f.P(s, prKingValue), 180);
      } else {
        EXPECT_GE(f.P(s, prKingValue), 250);
        EXPECT_LE(f.P(s, prKingValue), 350);
      }
      if (s > 0) {
        EXPECT_LT(f.P(s, prStageMinCount), f.P(s - 1, prStageMinCount));
      }
      // Reduced searches need a margin of at least half a man.
      for (int i : {prRangeAlphaSelf, prRangeAlphaOpponent, prRangeBetaSelf, prRangeBetaOpponent})
        EXPECT_GE(f.P(s, i), 50);
      EXPECT_EQ(f.P(s, prCompress), 0);
      EXPECT_EQ(f.P(s, prSqueeze), 0);
    }
    // The start position is the opening stage.
    EXPECT_LE(f.P(0, prStageMinCount), 2 * MenPerSide(type));
    EXPECT_GT(f.P(0, prStageMinCount), MenPerSide(type));
  }
}

TEST(DefaultEngines, StartIsLevelAndAManUpIsClearlyBetter) {
  std::mt19937 rng(21);
  for (int type = 1; type <= GameTypeCount; ++type) {
    if (!HasBitBoardForm(type)) continue;
    SCOPED_TRACE(GameTypeNames[type]);
    const TEvalFuncNew f = DefaultEvalFunc(type);
    TBitBoard64 start;
    BoardToBit64(InitialPosition(type), start, type);
    EXPECT_EQ(Evaluate(start, 0, StageOf(start, f), f, type), 0);
    // Take away any one man of the other side: the side to move is better
    // by most of a man.
    for (uint64_t rest = start.b; rest != 0; rest &= rest - 1) {
      TBitBoard64 pos = start;
      pos.b &= ~(rest & ~(rest - 1));
      const int v = Evaluate(pos, 0, StageOf(pos, f), f, type);
      EXPECT_GE(v, 70);
      EXPECT_LE(v, 140);
    }
  }
}

TEST(DefaultEngines, AdvancedMenAndKingsAreWorthMoreInTheEndgame) {
  for (int type = 1; type <= GameTypeCount; ++type) {
    if (!HasBitBoardForm(type)) continue;
    SCOPED_TRACE(GameTypeNames[type]);
    const TEvalFuncNew f = DefaultEvalFunc(type);
    const int n = GameTypes[type].SquareCount;
    const int perRank = n == 32 ? 4 : 5;
    // A lone man of each side in the middle of its second rank, against
    // the same with the side to move's man three ranks further on.
    const int back = perRank + perRank / 2, ahead = back + 3 * perRank;
    const int theirs = n + 1 - back;
    const TBitBoard64 level = evaltest::Position(type, {back}, {theirs});
    const TBitBoard64 advanced = evaltest::Position(type, {ahead}, {theirs});
    EXPECT_EQ(Evaluate(level, 0, 3, f, type), 0);
    EXPECT_GT(Evaluate(advanced, 0, 3, f, type), 5);
    // A king against a man is worth more than a man against a man.
    const TBitBoard64 king = evaltest::Position(type, {}, {theirs}, {back});
    EXPECT_GT(Evaluate(king, 0, 3, f, type), 40);
  }
}

}  // namespace
}  // namespace kestrel
