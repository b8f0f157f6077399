#include "app/match/match_stats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrel {
namespace {

// Textbook figures of the logistic Elo model.
TEST(MatchStats, EloOfScoreMatchesTheLogisticTable) {
  const struct {
    double fraction, elo;
  } table[] = {{0.5, 0.0}, {0.75, 190.85}, {0.25, -190.85}, {10.0 / 11.0, 400.0}, {0.64, 99.95}, {0.9, 381.70}};
  for (const auto& row : table) {
    EXPECT_NEAR(EloFromFraction(row.fraction), row.elo, 0.01) << row.fraction;
    EXPECT_NEAR(FractionFromElo(row.elo), row.fraction, 1e-4) << row.elo;
  }
  EXPECT_EQ(EloFromFraction(0), -2000);
  EXPECT_EQ(EloFromFraction(1), 2000);
}

TEST(MatchStats, PointsPercentagesAndScoreLine) {
  const struct {
    TMatchScore score;
    int points;
    const char* percent;
  } table[] = {{{0, 0, 0}, 0, "-"}, {{1, 0, 0}, 2, "100"}, {{0, 1, 0}, 1, "50"}, {{1, 1, 1}, 3, "50"}, {{2, 0, 1}, 4, "66"}};
  for (const auto& row : table) {
    EXPECT_EQ(row.score.Points(), row.points);
    EXPECT_EQ(PairPercentText(row.score), row.percent);
  }
  EXPECT_EQ(ScoreLine({30, 40, 30}), "score 30 40 30  elo 0.0 +- 53.2  los 50.0%");
}

TEST(MatchStats, MarginAndLikelihoodOfSuperiority) {
  // LOS = (1 + erf((W - L) / sqrt(2 (W + L)))) / 2, a normal table value.
  EXPECT_NEAR(EstimateElo({10, 0, 0}).los, 0.99922, 1e-5);
  EXPECT_NEAR(EstimateElo({60, 0, 40}).los, 0.97725, 1e-5);  // two standard deviations
  EXPECT_NEAR(EstimateElo({5, 50, 5}).los, 0.5, 1e-12);
  // 100 games of which 50 wins and 50 losses: standard error 0.05 of a game,
  // so 0.5 +- 0.098 in score, about +-69.0 Elo.
  EXPECT_NEAR(EstimateElo({50, 0, 50}).margin, 69.0, 0.1);
  // More games, a narrower margin.
  EXPECT_LT(EstimateElo({500, 0, 500}).margin, EstimateElo({50, 0, 50}).margin / 3);
}

// Figures worked out apart from the program (a pair's score is 0, 1/4, ..,
// 1 of its points; mean, variance and the normal interval as for games).
TEST(MatchStats, PairsOfGamesHaveTheirOwnMargin) {
  const struct {
    TPairCounts pairs;
    double elo, margin, los;
  } table[] = {
      {{{0, 54, 609, 276, 61}}, 60.36, 7.49, 1.0},  // the counts of a real 2,000-game match
      {{{1, 0, 2, 0, 1}}, 0.0, 296.58, 0.5},        // mean 1/2, variance 1/8
      {{{10, 20, 40, 20, 14}}, 13.37, 38.30, 0.754},
      {{{0, 0, 10, 0, 0}}, 0.0, 0.0, 0.5},          // every pair even: nothing uncertain
      {{{0, 0, 0, 0, 7}}, 2000.0, 0.0, 1.0},
      {{}, 0.0, 0.0, 0.5},
  };
  for (const auto& row : table) {
    const TEloEstimate e = EstimatePairsElo(row.pairs);
    EXPECT_NEAR(e.elo, row.elo, 0.01) << row.pairs.Pairs();
    EXPECT_NEAR(e.margin, row.margin, 0.01) << row.pairs.Pairs();
    EXPECT_NEAR(e.los, row.los, 0.005) << row.pairs.Pairs();
  }
  // Openings that win for whoever has them: the games (10 wins, 10 losses)
  // leave a wide margin, the pairs (all even) none.
  EXPECT_GT(EstimateElo(TMatchScore{10, 0, 10}).margin, 100);
  EXPECT_EQ(PairsLine({{0, 0, 10, 0, 0}}), "pairs 0 0 10 0 0  elo 0.0 +- 0.0  los 50.0%");
}

TEST(MatchStats, SprtBoundsAndDecisions) {
  const TSprt sprt{0, 10, 0.05, 0.05};
  EXPECT_NEAR(sprt.UpperBound(), 2.944439, 1e-6);  // log(0.95 / 0.05)
  EXPECT_NEAR(sprt.LowerBound(), -2.944439, 1e-6);
  // The mean score halfway between the two hypotheses gives no evidence.
  const double mid = (FractionFromElo(0) + FractionFromElo(10)) / 2;
  EXPECT_LT(std::abs(mid - 0.5071939), 1e-6);
  // 60 wins, 20 draws, 20 losses: mean 0.7, variance 0.16 per game.
  EXPECT_NEAR(sprt.Llr({60, 20, 20}), 100 * (FractionFromElo(10) - 0.5) * (1.4 - 0.5 - FractionFromElo(10)) / 0.32,
              1e-9);
  EXPECT_EQ(sprt.Decide({60, 20, 20}), TSprtDecision::running);
  EXPECT_EQ(sprt.Decide({600, 200, 200}), TSprtDecision::acceptH1);
  EXPECT_EQ(sprt.Decide({200, 200, 600}), TSprtDecision::acceptH0);
  EXPECT_EQ(sprt.Llr({3, 0, 0}), 0);  // no variance yet
}

}  // namespace
}  // namespace kestrel
