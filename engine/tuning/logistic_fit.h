// Logistic regression over sparse feature vectors, for fitting the weights
// of an evaluation function to the results of games: a position's score is
// a weighted sum of its features, and 1 / (1 + exp(-k * score)) is the
// chance that the side to move wins. Any engine whose evaluation is (near)
// linear in its weights can use it: it only has to describe positions as
// rows of features.
//
// Everything here is deterministic: sums run serially in row order, so the
// same rows and options give bit-identical weights on every machine run.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace kestrel {

// One training example.
struct TSparseRow {
  std::vector<uint32_t> index;  // feature numbers
  std::vector<float> value;     // one per index
  double offset = 0;            // the part of the score no weight changes
  float target = 0.5f;          // 1 the side to move won, 0.5 draw, 0 lost
};

// offset + sum of weights[index[i]] * value[i].
double RowScore(const TSparseRow& row, const std::vector<double>& weights);
double Sigmoid(double score, double k);
// A target that mixes a game's result for the side to move with the game's
// own search score of the position, read through the results' scale k:
// drawn games then still say which positions the search liked.
float BlendedTarget(float result, int score, double k, double scoreWeight);
// Mean cross-entropy of the rows' targets against their predictions.
double MeanLoss(const std::vector<TSparseRow>& rows, const std::vector<double>& weights, double k);
// The k in [lo, hi] with the least MeanLoss for fixed weights (golden section).
double FitScale(const std::vector<TSparseRow>& rows, const std::vector<double>& weights, double lo = 1e-4,
                double hi = 0.1);

struct TFitOptions {
  double k = 0.01;             // scale of the sigmoid, from FitScale on the starting weights
  int epochs = 200;            // full passes over the rows
  double learningRate = 1.0;   // Adam step, in score units
  double l2 = 0.0;             // pull towards the starting weights, per row
  std::vector<bool> frozen;    // weights left as they start (empty: none)
};

struct TFitResult {
  std::vector<double> weights;
  double lossBefore = 0;
  double lossAfter = 0;
  int epochs = 0;              // run; fewer than asked when cancelled
};

// Full-batch Adam on the cross-entropy (plus the L2 pull). `progress` gets
// the epoch and the loss before it, and may answer false to stop.
TFitResult FitLogistic(const std::vector<TSparseRow>& rows, std::vector<double> start, const TFitOptions& options,
                       const std::function<bool(int epoch, double loss)>& progress = {});

}  // namespace kestrel
