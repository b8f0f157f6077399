// A function whose every value has a mirrored twin of the opposite sign for
// the other side scores a position and the same position with the other
// side to move as opposites.
#include <gtest/gtest.h>

#include <random>

#include "engine/default_eval.h"
#include "engine/evaluation.h"
#include "engine/tests/eval_test_helpers.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using evaltest::RandomPosition;
using evaltest::Turned;

// Every parameter that the evaluation reads set in every stage, with
// mirrored single squares and patterns.
TEvalFuncNew MirroredFunction(int type, std::mt19937_64& rng) {
  TEvalFuncNew f;
  const int16_t params[][2] = {{prManValue, 100},   {prKingValue, 250},      {prSideBalance, -4},
                               {prSideBalanceWide, 3}, {prKingMainRoad, 9}, {prKingDoubleRoad, 5},
                               {prKingTripleRoad, 2}};
  for (const auto& p : params) f.SetParam(p[0], p[1]);
  std::uniform_int_distribution<int> value(-20, 20);
  const uint64_t mask = BitBoardMask(type);
  for (int n = 0; n < 40; ++n) {
    TPattern p;
    const uint64_t squares = mask & rng() & rng() & rng();
    const uint64_t own = squares & rng();
    const uint64_t opp = squares & ~own & rng();
    p.B = {own, opp, squares & ~own & ~opp};
    if (n < 20) p.B = {uint64_t{1} << (n * 2 + 1) & mask, 0, 0};
    for (int32_t& v : p.value) v = value(rng);
    TPattern twin = p;
    FlipBitBoard(twin.B, type);
    for (int32_t& v : twin.value) v = -v;
    f.Patt.push_back(p);
    f.Patt.push_back(twin);
  }
  CompileEvalFunc(f);
  return f;
}

TEST(EvalSymmetry, MirroredFunctionsScoreTheOtherSideAsTheOpposite) {
  std::mt19937_64 rng(11);
  for (int type : {gtRussian, gtEnglish, gtItalian, gtInternational, gtSpantsiretti, gtThai}) {
    for (int round = 0; round < 5; ++round) {
      TEvalFuncNew f = MirroredFunction(type, rng);
      for (int n = 0; n < 300; ++n) {
        const TBitBoard64 pos = RandomPosition(rng, type, 24);
        if (pos.w == 0 || pos.b == 0) continue;
        for (int stage = 0; stage < EvalStages; ++stage) {
          ASSERT_EQ(Evaluate(Turned(pos, type), 0, stage, f, type), -Evaluate(pos, 0, stage, f, type))
              << GameTypeNames[type] << " stage " << stage;
        }
      }
      // Compression and squeeze cut towards zero, so they keep the symmetry.
      f.SetParam(prCompress, 7);
      f.SetParam(prSqueeze, 1);
      CompileEvalFunc(f);
      for (int n = 0; n < 300; ++n) {
        const TBitBoard64 pos = RandomPosition(rng, type, 24);
        if (pos.w == 0 || pos.b == 0) continue;
        ASSERT_EQ(Evaluate(Turned(pos, type), 0, 1, f, type), -Evaluate(pos, 0, 1, f, type));
      }
    }
  }
}

TEST(EvalSymmetry, DefaultFunctionsScoreTheOtherSideAsTheOpposite) {
  std::mt19937_64 rng(12);
  for (int type = 1; type <= GameTypeCount; ++type) {
    if (!HasBitBoardForm(type)) continue;
    const TEvalFuncNew f = DefaultEvalFunc(type);
    for (int n = 0; n < 1000; ++n) {
      const TBitBoard64 pos = RandomPosition(rng, type, 2 * MenPerSide(type));
      if (pos.w == 0 || pos.b == 0) continue;
      const int stage = StageOf(pos, f);
      ASSERT_EQ(Evaluate(Turned(pos, type), 0, stage, f, type), -Evaluate(pos, 0, stage, f, type))
          << GameTypeNames[type];
    }
  }
}

TEST(EvalSymmetry, ColourTwinsScoreAlikeForTheSideToMove) {
  // A board with White to move and the same board turned round, colours
  // exchanged, with Black to move, are one position for the engine.
  std::mt19937_64 rng(13);
  for (int type = 1; type <= GameTypeCount; ++type) {
    if (!HasBitBoardForm(type)) continue;
    const TEvalFuncNew f = DefaultEvalFunc(type);
    for (int n = 0; n < 300; ++n) {
      const TBitBoard64 pos = RandomPosition(rng, type, 20);
      TBoard board;
      Bit64toBoard(pos, board.b, type);
      TBoard twin = board;
      FlipBoard(twin.b, type);
      TBitBoard64 a, b;
      BoardToBit64(board, a, type);
      BoardToBit64(twin, b, type);
      FlipBitBoard(b, type);  // Black to move: turned so that it is in `w`
      ASSERT_EQ(Evaluate(a, 3, StageOf(a, f), f, type), Evaluate(b, 3, StageOf(b, f), f, type));
    }
  }
}

}  // namespace
}  // namespace kestrel
