#include "engine/tuning/logistic_fit.h"

#include <algorithm>
#include <cmath>

namespace kestrel {
namespace {

// -log of the predicted chance of the outcome, kept finite.
double CrossEntropy(double p, double target) {
  constexpr double tiny = 1e-12;
  p = std::clamp(p, tiny, 1 - tiny);
  return -(target * std::log(p) + (1 - target) * std::log(1 - p));
}

}  // namespace

double RowScore(const TSparseRow& row, const std::vector<double>& weights) {
  double s = row.offset;
  const std::size_t n = std::min(row.index.size(), row.value.size());
  for (std::size_t i = 0; i < n; ++i)
    if (row.index[i] < weights.size()) s += weights[row.index[i]] * row.value[i];
  return s;
}

double Sigmoid(double score, double k) { return 1.0 / (1.0 + std::exp(-k * score)); }

float BlendedTarget(float result, int score, double k, double scoreWeight) {
  return static_cast<float>((1 - scoreWeight) * result + scoreWeight * Sigmoid(score, k));
}

double MeanLoss(const std::vector<TSparseRow>& rows, const std::vector<double>& weights, double k) {
  if (rows.empty()) return 0;
  double sum = 0;
  for (const TSparseRow& r : rows) sum += CrossEntropy(Sigmoid(RowScore(r, weights), k), r.target);
  return sum / static_cast<double>(rows.size());
}

double FitScale(const std::vector<TSparseRow>& rows, const std::vector<double>& weights, double lo, double hi) {
  // The loss is convex in k for fixed scores; a golden-section search on a
  // log scale finds its minimum.
  const double g = (std::sqrt(5.0) - 1) / 2;
  double a = std::log(lo), b = std::log(hi);
  double c = b - g * (b - a), d = a + g * (b - a);
  double fc = MeanLoss(rows, weights, std::exp(c)), fd = MeanLoss(rows, weights, std::exp(d));
  for (int i = 0; i < 60; ++i) {
    if (fc < fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - g * (b - a);
      fc = MeanLoss(rows, weights, std::exp(c));
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + g * (b - a);
      fd = MeanLoss(rows, weights, std::exp(d));
    }
  }
  return std::exp((a + b) / 2);
}

TFitResult FitLogistic(const std::vector<TSparseRow>& rows, std::vector<double> start, const TFitOptions& o,
                       const std::function<bool(int, double)>& progress) {
  TFitResult result;
  const std::size_t n = start.size();
  const std::vector<double> origin = start;
  std::vector<double> w = std::move(start);
  result.lossBefore = MeanLoss(rows, w, o.k);
  if (rows.empty() || n == 0) {
    result.weights = std::move(w);
    result.lossAfter = result.lossBefore;
    return result;
  }
  const double rowsInv = 1.0 / static_cast<double>(rows.size());
  std::vector<double> grad(n), m(n, 0.0), v(n, 0.0);
  constexpr double beta1 = 0.9, beta2 = 0.999, eps = 1e-8;
  double power1 = 1, power2 = 1;
  for (int epoch = 0; epoch < o.epochs; ++epoch) {
    std::fill(grad.begin(), grad.end(), 0.0);
    double loss = 0;
    for (const TSparseRow& r : rows) {
      const double p = Sigmoid(RowScore(r, w), o.k);
      loss += CrossEntropy(p, r.target);
      // d(cross-entropy)/d(score) = k (p - target).
      const double d = o.k * (p - r.target);
      const std::size_t count = std::min(r.index.size(), r.value.size());
      for (std::size_t i = 0; i < count; ++i)
        if (r.index[i] < n) grad[r.index[i]] += d * r.value[i];
    }
    if (progress && !progress(epoch, loss * rowsInv)) break;
    power1 *= beta1;
    power2 *= beta2;
    for (std::size_t j = 0; j < n; ++j) {
      if (j < o.frozen.size() && o.frozen[j]) continue;
      const double g = grad[j] * rowsInv + o.l2 * (w[j] - origin[j]);
      m[j] = beta1 * m[j] + (1 - beta1) * g;
      v[j] = beta2 * v[j] + (1 - beta2) * g * g;
      const double mh = m[j] / (1 - power1), vh = v[j] / (1 - power2);
      w[j] -= o.learningRate * mh / (std::sqrt(vh) + eps);
    }
    result.epochs = epoch + 1;
  }
  result.lossAfter = MeanLoss(rows, w, o.k);
  result.weights = std::move(w);
  return result;
}

}  // namespace kestrel
