#include "engine/score_text.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kestrel {
namespace {

TEST(ScoreText, OrdinaryScoresAreManFractions) {
  EXPECT_EQ(ScoreText(0), "0.00");
  EXPECT_EQ(ScoreText(5), "0.05");
  EXPECT_EQ(ScoreText(-5), "-0.05");
  EXPECT_EQ(ScoreText(125), "1.25");
  EXPECT_EQ(ScoreText(150), "1.50");
  EXPECT_EQ(ScoreText(-1037), "-10.37");
  EXPECT_EQ(ScoreText(1300), "13.00");
  EXPECT_EQ(ScoreText(1399), "13.99");
}

TEST(ScoreText, ForcedWinsCountMoves) {
  // A side without moves at the root's child scores -1999: the winner sees x1.
  EXPECT_EQ(ScoreText(1999), "x1");
  EXPECT_EQ(ScoreText(-1999), "-x1");
  EXPECT_EQ(ScoreText(1995), "x3");
  EXPECT_EQ(ScoreText(1997), "x2");
  EXPECT_EQ(ScoreText(2000), "x0");
  EXPECT_EQ(ScoreText(2100), "x0");
  EXPECT_EQ(ScoreText(1740), "x130");
}

TEST(ScoreText, DatabaseWinsCountMovesInBrackets) {
  // Database wins are 1501 - ply.
  EXPECT_EQ(ScoreText(1499), "xN(1)");
  EXPECT_EQ(ScoreText(-1493), "-xN(4)");
  EXPECT_EQ(ScoreText(1400), "xN(50)");
  EXPECT_EQ(ScoreText(1739), "xN(0)");
}

TEST(ScoreText, ReadsBackWhatItWrites) {
  for (int score = -2000; score <= 2000; ++score) {
    const std::string text = ScoreText(score);
    int back = 9999;
    ASSERT_TRUE(ReadScoreText(text, back)) << text;
    if (std::abs(score) < 1400) {
      EXPECT_EQ(back, score) << text;
    }
    EXPECT_EQ(ScoreText(back), text);
  }
  int v = 0;
  for (const char* bad : {"", "-", "1.5", "1.234", "+1.25", "1,25", "x", "xN(", "xN()", "x-3", "0.-5", "14.00", "abc"})
    EXPECT_FALSE(ReadScoreText(bad, v)) << bad;
}

TEST(ScoreText, PairsShowBoundsOrOneScore) {
  EXPECT_EQ(ScorePairText(12, 12), "0.12");
  EXPECT_EQ(ScorePairText(-32000, 12), "<0.12");
  EXPECT_EQ(ScorePairText(12, 32000), ">0.12");
  EXPECT_EQ(ScorePairText(-40, 25), "-0.40..0.25");
  EXPECT_EQ(ScorePairText(1995, 1995), "x3");
}

}  // namespace
}  // namespace kestrel
