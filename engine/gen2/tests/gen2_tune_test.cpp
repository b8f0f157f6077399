// The weight fit: reproducible, and it finds weights planted in the labels.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/gen2/gen2_tune.h"
#include "rules/game_types.h"
#include "test_support/random_position.h"

namespace kestrel::gen2 {
namespace {

// Positions labelled with the win probability that `truth` gives them.
std::vector<TLabelledPosition> PlantedPositions(const TPatternWeights& truth, int count, double k) {
  std::mt19937 rng(3);
  std::vector<TLabelledPosition> out;
  while (static_cast<int>(out.size()) < count) {
    const TBoard board = testing::RandomPosition(rng, truth.gametype, 35);
    TBitBoard64 pos;
    BoardToBit64(board, pos, truth.gametype);
    if (pos.w == 0 || pos.b == 0) continue;
    const double p = 1 / (1 + std::exp(-k * PatternEvaluate(pos, truth)));
    out.push_back({pos, static_cast<float>(p)});
  }
  return out;
}

TEST(Kestrel4Tune, FindsPlantedWeightsAndRepeatsItselfExactly) {
  TPatternWeights truth = TPatternWeights::Plain(gtRussian);
  const int planted = 3 * RegionStates + 0;  // region 3 empty
  truth.region[0][planted] = truth.region[1][planted] = 120;
  truth.term[0][termTempo] = truth.term[1][termTempo] = 6;
  const auto positions = PlantedPositions(truth, 12000, 0.01);

  TFitOptions options;
  options.batch = 512;
  options.epochs = 15;
  options.seed = 9;
  TFitReport first, second;
  const TPatternWeights start = TPatternWeights::Plain(gtRussian);
  const TPatternWeights a = FitPatternWeights(positions, start, options, first);
  const TPatternWeights b = FitPatternWeights(positions, start, options, second);
  EXPECT_EQ(a, b);
  EXPECT_EQ(first.lossAfter, second.lossAfter);
  EXPECT_LT(first.lossAfter, first.lossBefore);
  EXPECT_EQ(first.positions, 12000u);

  // The states of one region always sum to one, so single weights are not
  // identifiable; the odds they predict are. On fresh positions the fitted
  // log-odds (k times the score) must be far closer to the planted ones
  // than the material start's were.
  const auto fresh = PlantedPositions(truth, 12500, 0.01);
  double fitted = 0, plain = 0;
  for (size_t i = 12000; i < fresh.size(); ++i) {
    const double want = 0.01 * PatternEvaluate(fresh[i].pos, truth);
    fitted += std::abs(first.k * PatternEvaluate(fresh[i].pos, a) - want);
    plain += std::abs(first.k * PatternEvaluate(fresh[i].pos, start) - want);
  }
  EXPECT_LT(fitted, 0.4 * plain) << "fitted " << fitted / 500 << " start " << plain / 500;

  options.seed = 10;  // another order of the positions: another path, similar weights
  TFitReport third;
  const TPatternWeights c = FitPatternWeights(positions, start, options, third);
  EXPECT_NE(c, a);
  EXPECT_NEAR(third.lossAfter, first.lossAfter, 0.01);
}

}  // namespace
}  // namespace kestrel::gen2
