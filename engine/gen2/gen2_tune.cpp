#include "engine/gen2/gen2_tune.h"

#include <algorithm>
#include <cmath>

#include "engine/tuning/logistic_fit.h"
#include "rules/game_types.h"

namespace kestrel::gen2 {
namespace {

struct TRow {
  std::array<int32_t, MaxRegions> index;  // into the parameter vector, opening phase
  int regions = 0;
  std::array<int, termCount> term{};
  double open = 1;  // share of the opening weights; the endgame gets the rest
  double target = 0.5;
  double base = 0;  // fixed part of the score
};

// Parameters: [open regions][end regions][open terms][end terms].
struct TLayoutOfParams {
  size_t regionCount;
  size_t EndRegion(size_t i) const { return regionCount + i; }
  size_t OpenTerm(int t) const { return 2 * regionCount + t; }
  size_t EndTerm(int t) const { return 2 * regionCount + termCount + t; }
  size_t Size() const { return 2 * regionCount + 2 * termCount; }
};

double Score(const TRow& r, const std::vector<double>& p, const TLayoutOfParams& l) {
  double open = 0, end = 0;
  for (int i = 0; i < r.regions; ++i) {
    open += p[r.index[i]];
    end += p[l.EndRegion(r.index[i])];
  }
  for (int t = 0; t < termCount; ++t) {
    open += r.term[t] * p[l.OpenTerm(t)];
    end += r.term[t] * p[l.EndTerm(t)];
  }
  return r.base + r.open * open + (1 - r.open) * end;
}

double Sigmoid(double x) { return 1 / (1 + std::exp(-x)); }

double Loss(const std::vector<TRow>& rows, const std::vector<double>& p, const TLayoutOfParams& l, double k) {
  double sum = 0;
  for (const TRow& r : rows) {
    const double q = std::clamp(Sigmoid(k * Score(r, p, l)), 1e-9, 1 - 1e-9);
    sum -= r.target * std::log(q) + (1 - r.target) * std::log(1 - q);
  }
  return rows.empty() ? 0 : sum / static_cast<double>(rows.size());
}

// The scale that best fits the start weights: golden-section search.
double FitScale(const std::vector<TRow>& rows, const std::vector<double>& p, const TLayoutOfParams& l) {
  double lo = 1e-4, hi = 0.05;
  const double g = (std::sqrt(5.0) - 1) / 2;
  for (int i = 0; i < 60; ++i) {
    const double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
    if (Loss(rows, p, l, a) < Loss(rows, p, l, b)) hi = b;
    else lo = a;
  }
  return (lo + hi) / 2;
}

// splitmix64: the order of the positions, the same on every platform.
uint64_t Next(uint64_t& s) {
  uint64_t z = (s += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

TPatternWeights FitPatternWeights(const std::vector<TLabelledPosition>& positions, const TPatternWeights& start,
                                  const TFitOptions& options, TFitReport& report,
                                  const std::function<bool(int, double)>& progress) {
  const int gametype = start.gametype;
  const TRegionSet& set = RegionsOf(gametype, start.family);
  const TLayoutOfParams layout{static_cast<size_t>(set.weights)};
  if (start.region[0].size() != layout.regionCount || start.region[1].size() != layout.regionCount) return start;

  // Every holdOut-th game judges the epochs instead of being fitted.
  const auto heldOut = [&](const TLabelledPosition& lp) {
    return options.holdOut > 0 && lp.game % options.holdOut == options.holdOut - 1;
  };
  std::vector<TRow> rows, check;
  rows.reserve(positions.size());
  for (const TLabelledPosition& lp : positions) {
    TFeatures f;
    ExtractFeatures(lp.pos, gametype, f, start.family);
    TRow r;
    r.regions = f.regions;
    for (int i = 0; i < f.regions; ++i) r.index[i] = set.regions[i].offset + f.index[i];
    r.term = f.term;
    r.open = static_cast<double>(std::min(f.pieces, set.startPieces)) / set.startPieces;
    r.target = lp.target;
    if (start.onEngineFile) r.base = lp.base;
    (heldOut(lp) ? check : rows).push_back(r);
  }
  std::vector<double> p(layout.Size());
  for (size_t i = 0; i < layout.regionCount; ++i) {
    p[i] = start.region[0][i];
    p[layout.EndRegion(i)] = start.region[1][i];
  }
  for (int t = 0; t < termCount; ++t) {
    p[layout.OpenTerm(t)] = start.term[0][t];
    p[layout.EndTerm(t)] = start.term[1][t];
  }
  report = {};
  report.positions = rows.size();
  report.heldOut = check.size();
  if (rows.empty()) return start;
  const double k = FitScale(rows, p, layout);
  report.k = k;
  // The scale is the results' own, so a search score and an evaluation mean
  // the same odds; the targets change only after it is fitted.
  if (options.scoreWeight > 0) {
    size_t fit = 0, held = 0;
    for (const TLabelledPosition& lp : positions) {
      TRow& r = heldOut(lp) ? check[held++] : rows[fit++];
      if (lp.scored) r.target = BlendedTarget(lp.target, lp.score, k, options.scoreWeight);
    }
  }
  report.lossBefore = Loss(rows, p, layout, k);

  // Region states seen in fewer than minCount fitted positions keep their
  // start weights: a handful of games says nothing about them.
  std::vector<uint8_t> fitted(2 * layout.regionCount, 1);
  if (options.minCount > 1) {
    std::vector<int> seen(layout.regionCount, 0);
    for (const TRow& r : rows)
      for (int i = 0; i < r.regions; ++i) ++seen[r.index[i]];
    for (size_t i = 0; i < layout.regionCount; ++i)
      fitted[i] = fitted[layout.EndRegion(i)] = seen[i] >= options.minCount;
  }

  // Material: men and kings of both phases.
  const std::array<size_t, 4> material{layout.OpenTerm(termMen), layout.EndTerm(termMen), layout.OpenTerm(termKings),
                                       layout.EndTerm(termKings)};
  const std::vector<double> initial = p;
  std::vector<double> best = p;
  double bestLoss = check.empty() ? 0 : Loss(check, p, layout, k);

  std::vector<double> m(p.size()), v(p.size()), grad(p.size());
  std::vector<uint32_t> order(rows.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  uint64_t state = options.seed;
  const double beta1 = 0.9, beta2 = 0.999;
  int64_t step = 0;
  const size_t batch = static_cast<size_t>(std::max(1, options.batch));
  for (int epoch = 1; epoch <= options.epochs; ++epoch) {
    // The step shrinks to a tenth over the run, so the weights settle.
    const double rate =
        options.learningRate * (1.0 - 0.9 * (epoch - 1) / std::max(1.0, static_cast<double>(options.epochs - 1)));
    for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[Next(state) % i]);
    for (size_t from = 0; from < order.size(); from += batch) {
      const size_t to = std::min(order.size(), from + batch);
      std::fill(grad.begin(), grad.end(), 0.0);
      for (size_t j = from; j < to; ++j) {
        const TRow& r = rows[order[j]];
        // d(cross-entropy)/d(score) = k * (prediction - target)
        const double e = k * (Sigmoid(k * Score(r, p, layout)) - r.target);
        const double eo = e * r.open, ee = e * (1 - r.open);
        for (int i = 0; i < r.regions; ++i) {
          grad[r.index[i]] += eo;
          grad[layout.EndRegion(r.index[i])] += ee;
        }
        for (int t = 0; t < termCount; ++t) {
          grad[layout.OpenTerm(t)] += eo * r.term[t];
          grad[layout.EndTerm(t)] += ee * r.term[t];
        }
      }
      const double n = static_cast<double>(to - from);
      if (options.materialPull > 0)
        for (const size_t i : material) grad[i] += n * options.materialPull * (p[i] - initial[i]);
      ++step;
      const double c1 = 1 - std::pow(beta1, static_cast<double>(step));
      const double c2 = 1 - std::pow(beta2, static_cast<double>(step));
      for (size_t i = 0; i < p.size(); ++i) {
        if (i < fitted.size() && !fitted[i]) continue;
        double g = grad[i] / n;
        if (i < 2 * layout.regionCount) g += options.l2 * p[i];
        m[i] = beta1 * m[i] + (1 - beta1) * g;
        v[i] = beta2 * v[i] + (1 - beta2) * g * g;
        p[i] -= rate * (m[i] / c1) / (std::sqrt(v[i] / c2) + 1e-12);
      }
      if (options.kingsOverMen)
        for (const auto& [men, kings] : {std::pair{material[0], material[2]}, std::pair{material[1], material[3]}})
          if (p[kings] < p[men]) p[kings] = p[men] = (p[kings] + p[men]) / 2;  // the nearest weights that obey
    }
    if (!check.empty()) {
      if (const double loss = Loss(check, p, layout, k); loss < bestLoss) {
        bestLoss = loss;
        best = p;
        report.bestEpoch = epoch;
      }
    }
    if (progress && !progress(epoch, Loss(rows, p, layout, k))) break;
  }
  if (!check.empty()) {
    p = best;
    report.heldOutLoss = bestLoss;
  } else {
    report.bestEpoch = options.epochs;
  }
  report.lossAfter = Loss(rows, p, layout, k);

  TPatternWeights out = start;
  const auto round = [](double x) { return static_cast<int16_t>(std::clamp(std::lround(x), -2000l, 2000l)); };
  for (size_t i = 0; i < layout.regionCount; ++i) {
    out.region[0][i] = round(p[i]);
    out.region[1][i] = round(p[layout.EndRegion(i)]);
  }
  for (int t = 0; t < termCount; ++t) {
    out.term[0][t] = round(p[layout.OpenTerm(t)]);
    out.term[1][t] = round(p[layout.EndTerm(t)]);
  }
  return out;
}

}  // namespace kestrel::gen2
