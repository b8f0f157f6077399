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
// to move: 1 won, 0.5 drawn, 0 lost; and, when the game's search scored the
// position, that score (the side to move's view).
struct TLabelledPosition {
  TBitBoard64 pos;
  float target = 0.5f;
  bool scored = false;
  int score = 0;
  int game = 0;  // positions of one game are held out together
  // The engine file's evaluation of the position (side to move's view), for
  // weights that add to it; the fit leaves it as it is.
  int base = 0;
};

struct TFitOptions {
  int epochs = 40;
  uint64_t seed = 1;
  double learningRate = 2.0;  // hundredths of a man per step, at most
  double l2 = 1e-8;           // pulls the region weights towards zero (the loss is a mean)
  int batch = 4096;
  // Share of each scored position's target taken from its search score
  // (through the results' scale k) instead of the game's result.
  double scoreWeight = 0;
  // Pull of the men and king weights towards their start values: the
  // material is the one part of the evaluation the engine file already
  // knows well, and endgames are too rare in the games to relearn it.
  double materialPull = 0;
  // A king is worth at least a man in either phase, whatever the fit wants.
  bool kingsOverMen = false;
  // Every holdOut-th game (game % holdOut == holdOut - 1) is not fitted but
  // judges the epochs; the weights of the best epoch are kept. 0: none.
  int holdOut = 0;
  // Region states seen in fewer fitted positions keep their start weights.
  int minCount = 0;
};

struct TFitReport {
  double k = 0;  // probability of a win = 1 / (1 + exp(-k * score))
  double lossBefore = 0;
  double lossAfter = 0;
  size_t positions = 0;  // fitted
  size_t heldOut = 0;
  double heldOutLoss = 0;  // of the weights kept
  int bestEpoch = 0;       // whose weights were kept (0: the start's)
};

// The weights that best predict the results, starting from `start` (whose
// region family is fitted).
// `progress(epoch, loss)` returning false stops early (the weights so far).
TPatternWeights FitPatternWeights(const std::vector<TLabelledPosition>& positions, const TPatternWeights& start,
                                  const TFitOptions& options, TFitReport& report,
                                  const std::function<bool(int, double)>& progress = {});

}  // namespace kestrel::gen2
