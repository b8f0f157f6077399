#include "engine/evaluation.h"

#include <gtest/gtest.h>

#include "engine/tests/eval_test_helpers.h"

namespace kestrel {
namespace {

using evaltest::Pattern;
using evaltest::Position;
using evaltest::Squares;

TEvalFuncNew WithParams(std::initializer_list<std::pair<int, int16_t>> params,
                        std::initializer_list<TPattern> patterns = {}) {
  TEvalFuncNew f;
  for (const auto& [index, value] : params) f.SetParam(index, value);
  f.Patt.assign(patterns.begin(), patterns.end());
  CompileEvalFunc(f);
  return f;
}

TEST(Evaluate, SideWithoutPiecesScoresPlyMinus2001) {
  const TEvalFuncNew f = WithParams({{prManValue, 100}});
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {22, 23}), 7, 0, f, gtRussian), 7 - 2001);
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {}, {30}), 2, 0, f, gtRussian), -1999);
  EXPECT_EQ(Evaluate(TBitBoard64{}, 0, 3, TEvalFuncNew{}, gtInternational), -2001);
}

TEST(Evaluate, AllZeroFunctionScoresEveryPositionZero) {
  TEvalFuncNew f;
  CompileEvalFunc(f);
  std::mt19937_64 rng(5);
  for (int type : {gtRussian, gtEnglish, gtInternational, gtSpantsiretti, gtThai}) {
    for (int n = 0; n < 200; ++n) {
      const TBitBoard64 pos = evaltest::RandomPosition(rng, type, 30);
      if (pos.w == 0) continue;
      for (int stage = 0; stage < EvalStages; ++stage) ASSERT_EQ(Evaluate(pos, 4, stage, f, type), 0);
    }
  }
}

TEST(Evaluate, MaterialFromManAndKingValues) {
  // Only the man value: three men against two is one man up, kings count nothing.
  const TEvalFuncNew men = WithParams({{prManValue, 100}});
  for (int stage = 0; stage < EvalStages; ++stage) {
    EXPECT_EQ(Evaluate(Position(gtRussian, {9, 10, 11}, {22, 23}), 3, stage, men, gtRussian), 100);
    EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22, 23}, {14}), 3, stage, men, gtRussian), -100);
  }
  const TEvalFuncNew kings = WithParams({{prManValue, 100}, {prKingValue, 300}});
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {14}), 3, 0, kings, gtRussian), 300);
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {}, {}, {14}), 3, 0, kings, gtRussian), -200);
  EXPECT_EQ(Evaluate(Position(gtInternational, {}, {}, {3, 28}), 3, 0, kings, gtInternational), 600);
}

TEST(Evaluate, KingValueIsNotRoundedToWholeMen) {
  // 150 hundredths of a man: one king is one and a half men, not one.
  const TEvalFuncNew f = WithParams({{prManValue, 100}, {prKingValue, 150}});
  EXPECT_EQ(Evaluate(Position(gtEnglish, {}, {}, {14}), 3, 0, f, gtEnglish), 150);
  EXPECT_EQ(Evaluate(Position(gtEnglish, {}, {22}, {14}), 3, 0, f, gtEnglish), 50);
  EXPECT_EQ(Evaluate(Position(gtEnglish, {}, {}, {14, 15, 16}), 3, 0, f, gtEnglish), 450);
  const TEvalFuncNew g = WithParams({{prManValue, 90}, {prKingValue, 165}});
  EXPECT_EQ(Evaluate(Position(gtItalian, {}, {}, {14}), 3, 0, g, gtItalian), 148);  // 165 * 90 / 100
}

TEST(Evaluate, ScoreIsClampedToThirteenHundred) {
  const TEvalFuncNew up = WithParams({}, {Pattern(Squares({9}, gtRussian), 0, 0, {1500, 1500, 1500, 1500})});
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22}), 0, 2, up, gtRussian), 1300);
  const TEvalFuncNew down = WithParams({}, {Pattern(0, Squares({22}, gtRussian), 0, {-1500, -1500, -1500, -1500})});
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22}), 0, 2, down, gtRussian), -1300);
  // A man value that overflows 16 bits in a byte of eight men saturates
  // rather than wrapping round to a negative score.
  const TEvalFuncNew huge = WithParams({{prManValue, 30000}});
  EXPECT_EQ(Evaluate(Position(gtRussian, {1, 2, 3, 4, 5, 6}, {}), 0, 0, huge, gtRussian), 1300);
}

TEST(Evaluate, CompressionCutsTowardsZero) {
  const TPattern plus = Pattern(Squares({9}, gtRussian), 0, 0, {127, 127, 127, 127});
  const TPattern minus = Pattern(0, Squares({22}, gtRussian), 0, {-127, -127, -127, -127});
  const TEvalFuncNew f = WithParams({{prCompress, 10}}, {plus, minus});
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {}), 0, 0, f, gtRussian), 120);
  EXPECT_EQ(Evaluate(Position(gtRussian, {10}, {22}), 0, 0, f, gtRussian), -120);
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22}), 0, 0, f, gtRussian), 0);
  const TEvalFuncNew off = WithParams({}, {plus});
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {}), 0, 0, off, gtRussian), 127);
}

TEST(Evaluate, SqueezeScalesByTheAveragePieceValue) {
  // A king and a man against a man: 300; average piece value (100 + 100 + 300) / 3 = 166.
  const TEvalFuncNew f = WithParams({{prManValue, 100}, {prKingValue, 300}, {prSqueeze, 1}});
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22}, {14}), 0, 0, f, gtRussian), 300 * 100 / 166);
  // Men only: the average is the man value and the score is unchanged.
  EXPECT_EQ(Evaluate(Position(gtRussian, {9, 10}, {22}), 0, 0, f, gtRussian), 100);
  // A zero average gives 0.
  const TEvalFuncNew zero = WithParams({{prSqueeze, 1}}, {Pattern(Squares({9}, gtRussian), 0, 0, {50, 50, 50, 50})});
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22}), 0, 0, zero, gtRussian), 0);
}

TEST(Evaluate, KingRoadsOnSquareBoardsWithFlyingKings) {
  const TEvalFuncNew f = WithParams(
      {{prManValue, 100}, {prKingValue, 300}, {prKingMainRoad, 10}, {prKingDoubleRoad, 4}, {prKingTripleRoad, 2}});
  // 8 by 8: square 1 a1 and 5 b2 on the main road, 4 g1 and 8 h2 on the two
  // double roads, 9 a3 and 2 c1 on the two triple roads, 17 a5 on none; 14 d4
  // is on the main road and a double road.
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {1}), 0, 0, f, gtRussian), 310);
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {1, 5}), 0, 0, f, gtRussian), 610);  // a road counts once
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {4}), 0, 0, f, gtRussian), 304);
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {4, 8}), 0, 0, f, gtRussian), 608);
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {9, 2}), 0, 0, f, gtRussian), 604);
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {17}), 0, 0, f, gtRussian), 300);
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {14}), 0, 0, f, gtRussian), 314);
  EXPECT_EQ(Evaluate(Position(gtRussian, {}, {}, {1}, {4}), 0, 0, f, gtRussian), 6);
  // 10 by 10: 1 a1 main, 5 i1 and 10 j2 double, 11 a3 and 2 c1 triple.
  EXPECT_EQ(Evaluate(Position(gtInternational, {}, {}, {1}), 0, 0, f, gtInternational), 310);
  EXPECT_EQ(Evaluate(Position(gtInternational, {}, {}, {5, 10}), 0, 0, f, gtInternational), 608);
  EXPECT_EQ(Evaluate(Position(gtInternational, {}, {}, {11, 2}), 0, 0, f, gtInternational), 604);
  // Short kings and the 10 by 8 board get no road bonus.
  EXPECT_EQ(Evaluate(Position(gtEnglish, {}, {}, {1, 4, 9}), 0, 0, f, gtEnglish), 900);
  EXPECT_EQ(Evaluate(Position(gtItalian, {}, {}, {1}), 0, 0, f, gtItalian), 300);
  EXPECT_EQ(Evaluate(Position(gtSpantsiretti, {}, {}, {1}), 0, 0, f, gtSpantsiretti), 300);
}

TEST(Evaluate, FlankBalance) {
  const TEvalFuncNew f = WithParams({{prManValue, 100}, {prSideBalance, -5}});
  // Left half a-d: squares 1 a1, 2 c1, 5 b2; right half: 3 e1, 4 g1. The
  // other side's men on 29 b8 and 32 h8 stand one on each half.
  EXPECT_EQ(Evaluate(Position(gtRussian, {1, 2, 5, 4}, {29, 32}), 0, 0, f, gtRussian), 200 - 10);
  // A difference of one counts only with the extra man on the left.
  EXPECT_EQ(Evaluate(Position(gtRussian, {1, 2, 4}, {29, 32}), 0, 0, f, gtRussian), 100 - 5);
  EXPECT_EQ(Evaluate(Position(gtRussian, {1, 3, 4}, {29, 32}), 0, 0, f, gtRussian), 100);
  // The other side's balance is its own: 31 f8 and 32 h8 against 29 b8 is
  // one extra man on its left (the board seen from its side), a weakness of
  // its that counts for the side to move.
  EXPECT_EQ(Evaluate(Position(gtRussian, {1, 4}, {29, 31, 32}), 0, 0, f, gtRussian), -100 + 5);
  EXPECT_EQ(Evaluate(Position(gtRussian, {1, 4}, {29, 30, 32}), 0, 0, f, gtRussian), -100);
  // Kings count as pieces of their flank.
  EXPECT_EQ(Evaluate(Position(gtRussian, {1}, {29, 32}, {2, 5}), 0, 0, f, gtRussian), -100 - 15);
}

TEST(Evaluate, WideFlankBalanceOnlyInInternational) {
  const TEvalFuncNew f = WithParams({{prManValue, 100}, {prSideBalanceWide, -3}});
  // Files a-f: 1 a1, 2 c1, 3 e1; files e-j: 3 e1. 48 f10 stands on both.
  const TBitBoard64 pos = Position(gtInternational, {1, 2, 3}, {48});
  EXPECT_EQ(Evaluate(pos, 0, 0, f, gtInternational), 200 - 6);
  EXPECT_EQ(Evaluate(pos, 0, 0, f, gtFrisian), 200);
}

TEST(Evaluate, PatternsNeedMenOfTheRightSideAndEmptySquares) {
  const TPattern p =
      Pattern(Squares({9, 10}, gtRussian), Squares({22}, gtRussian), Squares({18}, gtRussian), {7, 0, 5, -2});
  const TEvalFuncNew f = WithParams({}, {p});
  const TBitBoard64 pos = Position(gtRussian, {9, 10, 1}, {22, 30});
  EXPECT_EQ(Evaluate(pos, 0, 0, f, gtRussian), 7);
  EXPECT_EQ(Evaluate(pos, 0, 1, f, gtRussian), 0);
  EXPECT_EQ(Evaluate(pos, 0, 2, f, gtRussian), 5);
  EXPECT_EQ(Evaluate(pos, 0, 3, f, gtRussian), -2);
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22}, {10}), 0, 0, f, gtRussian), 0);     // a king is no man
  EXPECT_EQ(Evaluate(Position(gtRussian, {9, 10}, {}, {}, {22}), 0, 0, f, gtRussian), 0);
  EXPECT_EQ(Evaluate(Position(gtRussian, {9, 10, 18}, {22}), 0, 0, f, gtRussian), 0);   // 18 not empty
  EXPECT_EQ(Evaluate(Position(gtRussian, {9, 10}, {22, 18}), 0, 0, f, gtRussian), 0);
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22, 10}), 0, 0, f, gtRussian), 0);       // wrong side
  // Several patterns add up.
  const TPattern q = Pattern(Squares({9}, gtRussian), Squares({30}, gtRussian), 0, {3, 3, 3, 3});
  EXPECT_EQ(Evaluate(pos, 0, 0, WithParams({}, {p, q}), gtRussian), 10);
}

TEST(Evaluate, EmptySquaresScoreThroughClearFields) {
  const TEvalFuncNew f = WithParams({}, {Pattern(0, 0, Squares({18}, gtRussian), {4, 4, 4, 4})});
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22}), 0, 0, f, gtRussian), 4);
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {18}), 0, 0, f, gtRussian), 0);
  EXPECT_EQ(Evaluate(Position(gtRussian, {9}, {22}, {18}), 0, 0, f, gtRussian), 0);
}

TEST(Evaluate, StageOutsideTheRangeIsTakenToTheNearest) {
  TEvalFuncNew f;
  f.P(0, prManValue) = 10;
  f.P(3, prManValue) = 40;
  CompileEvalFunc(f);
  const TBitBoard64 pos = Position(gtRussian, {9}, {});
  EXPECT_EQ(Evaluate(pos, 0, -5, f, gtRussian), 10);
  EXPECT_EQ(Evaluate(pos, 0, 9, f, gtRussian), 40);
}

TEST(StageOf, PieceCountAgainstTheStageBounds) {
  TEvalFuncNew f;
  const int bounds[] = {20, 13, 7, 0};
  for (int s = 0; s < EvalStages; ++s) f.P(s, prStageMinCount) = static_cast<int16_t>(bounds[s]);
  const std::pair<int, int> cases[] = {{24, 0}, {20, 0}, {19, 1}, {13, 1}, {12, 2}, {7, 2}, {6, 3}, {1, 3}};
  for (const auto& [pieces, stage] : cases) EXPECT_EQ(StageOfCount(pieces, f), stage) << pieces;
  EXPECT_EQ(StageOf(Position(gtRussian, {1, 2, 3, 4, 5, 6, 7}, {}), f), 2);
  EXPECT_EQ(StageOf(Position(gtRussian, {1, 2, 3}, {30, 31, 32}), f), 3);
  // Without bounds every position is in the opening stage.
  EXPECT_EQ(StageOf(Position(gtRussian, {1}, {}), TEvalFuncNew{}), 0);
}

}  // namespace
}  // namespace kestrel
