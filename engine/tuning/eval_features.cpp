#include "engine/tuning/eval_features.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "engine/eval_geometry.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

int Squares(const TPattern& p) { return std::popcount(p.B.w) + std::popcount(p.B.b) + std::popcount(p.B.k); }

int16_t Round16(double v) {
  return static_cast<int16_t>(std::clamp<double>(std::lround(v), std::numeric_limits<int16_t>::min(),
                                                 std::numeric_limits<int16_t>::max()));
}

}  // namespace

TEvalFeatureMap::TEvalFeatureMap(const TEvalFuncNew& func, int gametype)
    : func_(func), gametype_(gametype), highBit_(IsValidGameType(gametype) ? 63 - GameTypes[gametype].FlipShift : 63) {
  CompileEvalFunc(func_);
  for (int i = 0; i < static_cast<int>(func_.Patt.size()); ++i)
    if (Squares(func_.Patt[i]) >= 2) multi_.push_back(i);
  stageSize_ = fPatterns + static_cast<int>(multi_.size());
}

TSparseRow TEvalFeatureMap::Features(const TBitBoard64& pos) const {
  TSparseRow row;
  const int s = StageOf(pos, func_);
  const int base = s * stageSize_;
  const TEvalGeometry& g = EvalGeometry(gametype_);
  const uint64_t mw = pos.w & ~pos.k, mb = pos.b & ~pos.k, kw = pos.w & pos.k, kb = pos.b & pos.k;
  const uint64_t empty = g.mask & ~(pos.w | pos.b);
  const auto add = [&](int feature, double value) {
    if (value == 0) return;
    row.index.push_back(static_cast<uint32_t>(base + feature));
    row.value.push_back(static_cast<float>(value));
  };
  std::array<int, 64> square{};
  for (uint64_t m = mw; m; m &= m - 1) ++square[std::countr_zero(m)];
  for (uint64_t m = mb; m; m &= m - 1) {
    const int mirror = Mirror(std::countr_zero(m));
    if (mirror >= 0 && mirror < 64) --square[mirror];
  }
  for (int b = 0; b < 64; ++b) add(b, square[b]);
  add(fMen, std::popcount(mw) - std::popcount(mb));
  add(fKing, (std::popcount(kw) - std::popcount(kb)) * func_.P(s, prManValue) / 100.0);
  if (g.roads) {
    add(fMainRoad, ((kw & g.mainRoad) != 0) - ((kb & g.mainRoad) != 0));
    int doubles = 0, triples = 0;
    for (uint64_t road : g.doubleRoads) doubles += ((kw & road) != 0) - ((kb & road) != 0);
    for (uint64_t road : g.tripleRoads) triples += ((kw & road) != 0) - ((kb & road) != 0);
    add(fDoubleRoad, doubles);
    add(fTripleRoad, triples);
  }
  add(fBalance, FlankBalance(pos.w, g.left, g.right) - FlankBalance(pos.b, g.right, g.left));
  if (g.wideBalance)
    add(fWideBalance, FlankBalance(pos.w, g.wideLeft, g.wideRight) - FlankBalance(pos.b, g.wideRight, g.wideLeft));
  for (int j = 0; j < static_cast<int>(multi_.size()); ++j)
    if (func_.Patt[multi_[j]].Applies(mw, mb, empty)) add(fPatterns + j, 1);
  row.offset = static_cast<double>(ByteTableSum(func_.c[s], empty));
  return row;
}

std::vector<double> TEvalFeatureMap::Weights() const {
  std::vector<double> w(Size(), 0.0);
  const uint64_t mask = EvalGeometry(gametype_).mask;
  for (int s = 0; s < EvalStages; ++s) {
    const int base = s * stageSize_;
    for (int b = 0; b < 64; ++b) {
      const int mirror = Mirror(b);
      if (!(mask >> b & 1) || mirror < 0 || mirror > 63) continue;
      // Both sides' values of the square, as mirror images; a file written
      // by hand may differ between them: take the mean.
      w[base + b] = (func_.WhiteFields[s][b] - func_.BlackFields[s][mirror]) / 2.0;
    }
    w[base + fMen] = func_.P(s, prManValue);
    w[base + fKing] = func_.P(s, prKingValue);
    w[base + fMainRoad] = func_.P(s, prKingMainRoad);
    w[base + fDoubleRoad] = func_.P(s, prKingDoubleRoad);
    w[base + fTripleRoad] = func_.P(s, prKingTripleRoad);
    w[base + fBalance] = func_.P(s, prSideBalance);
    w[base + fWideBalance] = func_.P(s, prSideBalanceWide);
    for (int j = 0; j < static_cast<int>(multi_.size()); ++j) w[base + fPatterns + j] = func_.Patt[multi_[j]].value[s];
  }
  return w;
}

std::vector<bool> TEvalFeatureMap::Frozen(bool holdKings) const {
  std::vector<bool> frozen(Size(), false);
  const TEvalGeometry& g = EvalGeometry(gametype_);
  for (int s = 0; s < EvalStages; ++s) {
    const int base = s * stageSize_;
    for (int b = 0; b < 64; ++b) frozen[base + b] = !(g.mask >> b & 1) || Mirror(b) < 0;
    frozen[base + fMen] = true;
    frozen[base + fKing] = holdKings;
    if (!g.roads) frozen[base + fMainRoad] = frozen[base + fDoubleRoad] = frozen[base + fTripleRoad] = true;
    if (!g.wideBalance) frozen[base + fWideBalance] = true;
  }
  return frozen;
}

TEvalFuncNew TEvalFeatureMap::Apply(const std::vector<double>& weights, const std::string& name) const {
  TEvalFuncNew out = func_;
  out.Name = name;
  if (static_cast<int>(weights.size()) != Size()) return out;
  const uint64_t mask = EvalGeometry(gametype_).mask;
  std::vector<TPattern> patt;
  // Single squares first, in bit order: men of the side to move, men of the
  // other side, empty squares; then the larger patterns in their order.
  for (int kind = 0; kind < 3; ++kind)
    for (int b = 0; b < 64; ++b) {
      if (!(mask >> b & 1)) continue;
      TPattern p{};
      const uint64_t bit = uint64_t{1} << b;
      bool any = false;
      for (int s = 0; s < EvalStages; ++s) {
        const int base = s * stageSize_;
        const int mirror = Mirror(b);
        int16_t v = 0;
        if (kind == 0) v = Round16(weights[base + b]);
        if (kind == 1 && mirror >= 0 && mirror < 64) v = static_cast<int16_t>(-Round16(weights[base + mirror]));
        if (kind == 2) v = func_.ClearFields[s][b];
        p.value[s] = v;
        any = any || v != 0;
      }
      if (!any) continue;
      (kind == 0 ? p.B.w : kind == 1 ? p.B.b : p.B.k) = bit;
      patt.push_back(p);
    }
  for (int j = 0; j < static_cast<int>(multi_.size()); ++j) {
    TPattern p = func_.Patt[multi_[j]];
    for (int s = 0; s < EvalStages; ++s) p.value[s] = Round16(weights[s * stageSize_ + fPatterns + j]);
    patt.push_back(p);
  }
  out.Patt = std::move(patt);
  for (int s = 0; s < EvalStages; ++s) {
    const int base = s * stageSize_;
    out.P(s, prKingValue) = Round16(weights[base + fKing]);
    out.P(s, prKingMainRoad) = Round16(weights[base + fMainRoad]);
    out.P(s, prKingDoubleRoad) = Round16(weights[base + fDoubleRoad]);
    out.P(s, prKingTripleRoad) = Round16(weights[base + fTripleRoad]);
    out.P(s, prSideBalance) = Round16(weights[base + fBalance]);
    out.P(s, prSideBalanceWide) = Round16(weights[base + fWideBalance]);
  }
  CompileEvalFunc(out);
  return out;
}

std::string TEvalFeatureMap::Describe(int index) const {
  if (index < 0 || index >= Size()) return "?";
  const int s = index / stageSize_, f = index % stageSize_;
  const std::string stage = "stage " + std::to_string(s) + " ";
  if (f < 64) return stage + "square bit " + std::to_string(f);
  switch (f) {
    case fMen: return stage + "man";
    case fKing: return stage + "king";
    case fMainRoad: return stage + "main road";
    case fDoubleRoad: return stage + "double road";
    case fTripleRoad: return stage + "triple road";
    case fBalance: return stage + "flank balance";
    case fWideBalance: return stage + "wide flank balance";
    default: return stage + "pattern " + std::to_string(f - fPatterns + 1);
  }
}

}  // namespace kestrel
