// What "Kestrel 4" evaluates with: the variant's pattern weights when they
// are loaded, otherwise the engine file's evaluation function; weights made
// on the engine file's evaluation add to it.
#pragma once

#include <algorithm>
#include <memory>

#include "engine/bitboard.h"
#include "engine/evaluation.h"
#include "engine/gen2/gen2_patterns.h"

namespace kestrel::gen2 {

class TEvaluator {
 public:
  TEvaluator(const TEvalFuncNew& func, std::shared_ptr<const TPatternWeights> weights, int gametype)
      : func_(func), weights_(std::move(weights)), gametype_(gametype) {
    if (weights_) patterns_ = std::make_unique<TPatternEval>(*weights_);
  }

  // Score for the side to move (`w`), which has a piece.
  int operator()(const TBitBoard64& pos, int ply) const {
    if (patterns_ && !weights_->onEngineFile) return (*patterns_)(pos);
    const int base = Evaluate(pos, ply, StageOf(pos, func_), func_, gametype_);
    if (!patterns_) return base;
    return std::clamp(base + (*patterns_)(pos), -EvalMaxScore, EvalMaxScore);
  }
  bool UsesPatterns() const { return weights_ != nullptr; }

 private:
  const TEvalFuncNew& func_;
  std::shared_ptr<const TPatternWeights> weights_;
  std::unique_ptr<const TPatternEval> patterns_;
  int gametype_;
};

}  // namespace kestrel::gen2
