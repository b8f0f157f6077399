// The tuner's two halves: the linear form of the evaluation function must
// give exactly the engine's scores, and the regression must find known
// weights again.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/default_eval.h"
#include "engine/engine_params.h"
#include "engine/tuning/eval_features.h"
#include "engine/tuning/logistic_fit.h"
#include "rules/game_types.h"
#include "test_support/random_position.h"

namespace kestrel {
namespace {

TEST(EvalFeatures, TheWeightedSumOfTheFeaturesIsTheEnginesScore) {
  std::mt19937 rng(5);
  for (const int type : {gtRussian, gtInternational, gtEnglish, gtSpantsiretti}) {
    TEvalFuncNew func;
    const auto file = std::filesystem::path(KESTREL_SOURCE_DIR) / "data/EvalFunc" / GameTypeNames[type] /
                      (std::string(GameTypeNames[type]) + ".eng");
    if (!ReadEngine(file, func)) func = DefaultEvalFunc(type);
    // Shipped weights, then the same disturbed at random: the map must put
    // every weight where the evaluation reads it, mirrored for the other side.
    std::vector<double> weights = TEvalFeatureMap(func, type).Weights();
    const std::vector<bool> frozen = TEvalFeatureMap(func, type).Frozen();
    for (int round = 0; round < 2; ++round) {
      if (round == 1)
        for (std::size_t i = 0; i < weights.size(); ++i)
          if (!frozen[i]) weights[i] = std::uniform_int_distribution<int>(-40, 40)(rng);
      const TEvalFuncNew applied = TEvalFeatureMap(func, type).Apply(weights, "t");
      const TEvalFeatureMap map(applied, type);
      const std::vector<double> w = map.Weights();
      for (int i = 0; i < 400; ++i) {
        TBitBoard64 pos;
        BoardToBit64(testing::RandomPosition(rng, type, 35), pos, type);
        if (pos.w == 0) continue;
        const int expected = Evaluate(pos, 0, StageOf(pos, applied), applied, type);
        if (std::abs(expected) >= EvalMaxScore) continue;
        ASSERT_EQ(std::lround(RowScore(map.Features(pos), w)), expected) << GameTypeNames[type] << " round " << round;
      }
    }
  }
}

// Rows of a known logistic model: random features, targets the model's own
// probabilities, so the fitted weights must come back to the model's.
std::vector<TSparseRow> ModelRows(const std::vector<double>& truth, double k, int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> normal(0, 50);
  std::vector<TSparseRow> rows(count);
  for (TSparseRow& r : rows) {
    for (uint32_t j = 0; j < truth.size(); ++j) {
      r.index.push_back(j);
      r.value.push_back(static_cast<float>(normal(rng) / 50));
    }
    r.offset = normal(rng) / 10;
    r.target = static_cast<float>(Sigmoid(RowScore(r, truth), k));
  }
  return rows;
}

TEST(LogisticFit, FindsTheWeightsAndTheScaleOfAKnownModel) {
  const std::vector<double> truth{40, -25, 100, 0, 10};
  const double k = 0.02;
  const std::vector<TSparseRow> rows = ModelRows(truth, k, 3000, 9);
  EXPECT_NEAR(FitScale(rows, truth), k, 1e-4);
  // By hand: one row, score 100 at k 0.01 predicts 1/(1+e^-1) = 0.7311.
  TSparseRow one;
  one.offset = 100;
  one.target = 1;
  EXPECT_NEAR(Sigmoid(RowScore(one, {}), 0.01), 0.731059, 1e-6);
  EXPECT_NEAR(MeanLoss({one}, {}, 0.01), -std::log(0.731059), 1e-6);

  TFitOptions o;
  o.k = k;
  o.epochs = 600;
  o.learningRate = 2;
  o.frozen = {false, false, false, true, false};
  const TFitResult fit = FitLogistic(rows, std::vector<double>(truth.size(), 0.0), o);
  for (std::size_t j = 0; j < truth.size(); ++j) EXPECT_NEAR(fit.weights[j], j == 3 ? 0 : truth[j], 1.0) << j;
  EXPECT_LT(fit.lossAfter, fit.lossBefore);
  // Same rows, same options: the same weights to the last bit.
  EXPECT_EQ(FitLogistic(rows, std::vector<double>(truth.size(), 0.0), o).weights, fit.weights);
}

}  // namespace
}  // namespace kestrel
