// Fitting the pattern weights of "Kestrel 4" to game results: logistic
// regression of the result on the evaluation, by minibatch Adam over
// positions in an order drawn from the seed. The same positions, start
// weights and options give the same weights, bit for bit.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/bitboard.h"
#include "engine/gen2/gen2_patterns.h"

namespace kestrel::gen2 {

// A position (side to move in `w`) and the result of its game for the side
// to move: 1 won, 0.5 drawn, 0 lost.
struct TLabelledPosition {
  TBitBoard64 pos;
  float target = 0.5f;
};

struct TFitOptions {
  int epochs = 40;
  uint64_t seed = 1;
  double learningRate = 2.0;  // hundredths of a man per step, at most
  double l2 = 1e-8;           // pulls the region weights towards zero (the loss is a mean)
  int batch = 4096;
};

struct TFitReport {
  double k = 0;  // probability of a win = 1 / (1 + exp(-k * score))
  double lossBefore = 0;
  double lossAfter = 0;
  size_t positions = 0;
};

// The weights that best predict the results, starting from `start`.
// `progress(epoch, loss)` returning false stops early (the weights so far).
TPatternWeights FitPatternWeights(const std::vector<TLabelledPosition>& positions, const TPatternWeights& start,
                                  const TFitOptions& options, TFitReport& report,
                                  const std::function<bool(int, double)>& progress = {});

}  // namespace kestrel::gen2
