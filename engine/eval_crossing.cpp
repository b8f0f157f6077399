#include "engine/eval_crossing.h"

#include <algorithm>
#include <limits>
#include <map>
#include <tuple>

namespace kestrel {
namespace {

class Dice {
 public:
  explicit Dice(std::mt19937& rng) : rng_(rng) {}
  // A uniform integer 0..n-1.
  int operator()(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

 private:
  std::mt19937& rng_;
};

int16_t To16(int64_t v) {
  return static_cast<int16_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

int32_t To32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// The child's patterns, found by their masks.
class PatternSet {
 public:
  explicit PatternSet(std::vector<TPattern>& patterns) : patterns_(patterns) {}
  // Index of the pattern with these masks, or -1.
  int Find(const TBitBoard64& masks) const {
    const auto it = index_.find(Key(masks));
    return it == index_.end() ? -1 : it->second;
  }
  void Add(const TPattern& pattern) {
    index_.emplace(Key(pattern.B), static_cast<int>(patterns_.size()));
    patterns_.push_back(pattern);
  }

 private:
  static std::tuple<uint64_t, uint64_t, uint64_t> Key(const TBitBoard64& b) { return {b.w, b.b, b.k}; }
  std::vector<TPattern>& patterns_;
  std::map<std::tuple<uint64_t, uint64_t, uint64_t>, int> index_;
};

void MutatePatterns(std::vector<TPattern>& patterns, int m, Dice& R) {
  const bool strong = R(10) == 1;
  for (TPattern& pat : patterns) {
    int64_t v = pat.value[m];
    if (strong) {
      if (R(10) == 1) v += R(5) - 2;
      if (R(20) == 2) v += R(11) - 5;
      if (R(300) == 2) v = 0;
      if (R(100) == 2) v += R(31) - 15;
    } else {
      if (R(30) == 2) v += R(5) - 2;
      if (R(60) == 2) v += R(11) - 5;
      if (R(300) == 2) v = 0;
      if (R(300) == 2) v += R(31) - 15;
    }
    pat.value[m] = To32(v);
  }
}

// Small, middle and rare large steps.
int64_t Nudge(int64_t v, Dice& R) {
  if (R(20) == 1) v += R(5) - 2;
  if (R(50) == 1) v += R(31) - 15;
  if (R(200) == 1) v += R(101) - 50;
  return v;
}

void MutateParams(TEvalFuncNew& child, int m, bool dynamicFlag, bool staticFlag, Dice& R) {
  for (int i = 0; i < prNamedCount - 4; ++i) {  // 0..17
    int64_t v = child.P(m, i);
    switch (i) {
      case prExtensionSelf:
      case prReductionAlpha:
      case prReductionBeta:
      case prExtensionOpponent:
        if (dynamicFlag && R(100) == 1) v += R(34);
        break;
      case prRangeAlphaSelf:
      case prRangeAlphaOpponent:
      case prRangeBetaSelf:
      case prRangeBetaOpponent:
        if (dynamicFlag) v = Nudge(v, R);
        break;
      case prStageMinCount:
        if (staticFlag) {
          if (R(20) == 1) v += R(3) - 1;
          if (R(100) == 1) v += R(11) - 5;
          if (m > 0 && v >= child.P(m - 1, i)) v = child.P(m - 1, i) - 1;
          if (m <= 2 && child.P(m + 1, i) >= v) v = child.P(m + 1, i) + 1;
        }
        break;
      case prSqueeze:
        if (staticFlag && R(100) == 1) v = 0;
        break;
      default:
        if (staticFlag) v = Nudge(v, R);
        break;
    }
    child.P(m, i) = To16(v);
  }
}

}  // namespace

void RepairStageBounds(TEvalFuncNew& func, int keep) {
  keep = std::clamp(keep, 0, EvalStages - 1);
  std::array<int, EvalStages> v;
  for (int s = 0; s < EvalStages; ++s) v[s] = func.P(s, prStageMinCount);
  for (int s = keep - 1; s >= 0; --s) v[s] = std::max(v[s], v[s + 1] + 1);
  for (int s = keep + 1; s < EvalStages; ++s) v[s] = std::min(v[s], v[s - 1] - 1);
  // At the ends of the 16-bit range the kept bound has to give way too.
  const int top = std::numeric_limits<int16_t>::max(), bottom = std::numeric_limits<int16_t>::min();
  if (v[0] > top) {
    v[0] = top;
    for (int s = 1; s < EvalStages; ++s) v[s] = std::min(v[s], v[s - 1] - 1);
  }
  if (v[EvalStages - 1] < bottom) {
    v[EvalStages - 1] = bottom;
    for (int s = EvalStages - 2; s >= 0; --s) v[s] = std::max(v[s], v[s + 1] + 1);
  }
  for (int s = 0; s < EvalStages; ++s) func.P(s, prStageMinCount) = static_cast<int16_t>(v[s]);
}

void CrossEvalFuncs(const TEvalFuncNew& a, const TEvalFuncNew& b, TEvalFuncNew& child, bool dynamicFlag,
                    bool staticFlag, int stage, std::mt19937& rng) {
  Dice R(rng);
  // Built apart, so that `child` may be one of the parents.
  TEvalFuncNew out;
  PatternSet set(out.Patt);
  for (const TPattern& pat : a.Patt) {
    const int at = set.Find(pat.B);
    if (at < 0) set.Add(pat);
    else out.Patt[at].value = pat.value;
  }
  for (const TPattern& pat : b.Patt) {
    const int r = R(3);
    const int at = set.Find(pat.B);
    if (at < 0) {
      set.Add(pat);
    } else if (r == 0) {
      out.Patt[at].value = pat.value;
    } else if (r == 1) {
      for (int s = 0; s < EvalStages; ++s)
        out.Patt[at].value[s] = To32((int64_t{out.Patt[at].value[s]} + pat.value[s]) / 2);
    }
  }
  for (int i = 0; i < EvalParamCount; ++i) {
    for (int s = 0; s < EvalStages; ++s) {
      const int r = R(3);
      out.P(s, i) = r == 0 ? a.P(s, i) : r == 1 ? b.P(s, i) : To16((int{a.P(s, i)} + b.P(s, i)) / 2);
    }
  }
  const int m = stage == 4 ? R(4) : std::clamp(stage, 0, EvalStages - 1);
  if (staticFlag) MutatePatterns(out.Patt, m, R);
  MutateParams(out, m, dynamicFlag, staticFlag, R);
  // Each parent's bounds decrease, but a mix of the two need not.
  RepairStageBounds(out, m);
  CompileEvalFunc(out);
  child = std::move(out);
}

}  // namespace kestrel
