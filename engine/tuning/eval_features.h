// The current engine's evaluation function as a linear model for the
// tuner: a position becomes a row of features (TSparseRow) whose weighted
// sum is the function's score, and a weight vector goes back into a
// function. Per stage: the square values of the men (one weight per square,
// shared by both sides as mirror images, so the function stays symmetric),
// the man value (kept fixed: it sets the scale), the king value, the road
// bonuses, the flank balance terms and every pattern of two or more squares.
// The empty-square values are kept as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/evaluation.h"
#include "engine/tuning/logistic_fit.h"

namespace kestrel {

class TEvalFeatureMap {
 public:
  // The layout for `func` (its patterns and stage limits) on `gametype`.
  TEvalFeatureMap(const TEvalFuncNew& func, int gametype);

  int Size() const { return stageSize_ * EvalStages; }
  // `pos` has the side to move in `w`; the row's target is left as it is.
  TSparseRow Features(const TBitBoard64& pos) const;
  std::vector<double> Weights() const;
  // Weights that stay as they start: the man values and squares off the board,
  // and the king values when `holdKings` (shallow self-play learns too little
  // of what a king can do, and would price it below the sound range).
  std::vector<bool> Frozen(bool holdKings = false) const;
  // The function with `weights` (rounded) in place of its own.
  TEvalFuncNew Apply(const std::vector<double>& weights, const std::string& name) const;
  // What a weight means, for reports: "stage 1 square 13", "stage 0 king".
  std::string Describe(int index) const;

 private:
  enum : int { fMen = 64, fKing, fMainRoad, fDoubleRoad, fTripleRoad, fBalance, fWideBalance, fPatterns };
  int Mirror(int bit) const { return highBit_ - bit; }

  TEvalFuncNew func_;
  int gametype_;
  int highBit_;
  std::vector<int> multi_;  // indices into func_.Patt of the patterns of two or more squares
  int stageSize_;
};

}  // namespace kestrel
