#include "app/match/match_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kestrel {
namespace {

constexpr double EloLimit = 2000;

std::string Format(const char* format, double a, double b = 0, double c = 0) {
  char text[96];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

// Mean and variance of one game's score (1, 0.5, 0) over the games played.
void Moments(const TMatchScore& s, double& mean, double& variance) {
  const double n = s.Games();
  mean = s.Fraction();
  if (n <= 0) {
    variance = 0;
    return;
  }
  variance = (s.wins * (1 - mean) * (1 - mean) + s.draws * (0.5 - mean) * (0.5 - mean) +
              s.losses * mean * mean) / n;
}

// Half width in Elo of the 95% interval of a mean score over `n` samples of
// this variance.
double EloMargin(double mean, double variance, int n) {
  if (n <= 0) return 0;
  const double deviation = std::sqrt(variance / n);
  return (EloFromFraction(mean + 1.959964 * deviation) - EloFromFraction(mean - 1.959964 * deviation)) / 2;
}

}  // namespace

double TMatchScore::Fraction() const {
  const int n = Games();
  return n == 0 ? 0.5 : static_cast<double>(Points()) / (2.0 * n);
}

double EloFromFraction(double fraction) {
  if (fraction <= 0) return -EloLimit;
  if (fraction >= 1) return EloLimit;
  // Adding 0 turns the -0 of an even score into 0.
  return std::clamp(-400.0 * std::log10(1.0 / fraction - 1.0), -EloLimit, EloLimit) + 0.0;
}

double FractionFromElo(double elo) { return 1.0 / (1.0 + std::pow(10.0, -elo / 400.0)); }

TEloEstimate EstimateElo(const TMatchScore& s) {
  TEloEstimate e;
  double mean = 0, variance = 0;
  Moments(s, mean, variance);
  e.elo = EloFromFraction(mean);
  e.margin = EloMargin(mean, variance, s.Games());
  const int decisive = s.wins + s.losses;
  e.los = decisive == 0 ? 0.5 : 0.5 * (1 + std::erf((s.wins - s.losses) / std::sqrt(2.0 * decisive)));
  return e;
}

std::string ScoreLine(const TMatchScore& s) {
  const TEloEstimate e = EstimateElo(s);
  return "score " + std::to_string(s.wins) + " " + std::to_string(s.draws) + " " + std::to_string(s.losses) +
         Format("  elo %.1f +- %.1f  los %.1f%%", e.elo, e.margin, 100 * e.los);
}

TEloEstimate EstimatePairsElo(const TPairCounts& pairs) {
  TEloEstimate e;
  const int n = pairs.Pairs();
  if (n == 0) return e;
  // A pair's score as a share of its points: 0, 1/4, .., 1.
  double mean = 0;
  for (int h = 0; h < 5; ++h) mean += pairs.counts[h] * (h / 4.0);
  mean /= n;
  double variance = 0;
  for (int h = 0; h < 5; ++h) variance += pairs.counts[h] * (h / 4.0 - mean) * (h / 4.0 - mean);
  variance /= n;
  e.elo = EloFromFraction(mean);
  e.margin = EloMargin(mean, variance, n);
  const double deviation = std::sqrt(variance / n);
  if (deviation > 0) e.los = 0.5 * (1 + std::erf((mean - 0.5) / (deviation * std::sqrt(2.0))));
  else e.los = mean > 0.5 ? 1 : mean < 0.5 ? 0 : 0.5;
  return e;
}

std::string PairsLine(const TPairCounts& pairs) {
  const TEloEstimate e = EstimatePairsElo(pairs);
  std::string line = "pairs";
  for (int c : pairs.counts) line += " " + std::to_string(c);
  return line + Format("  elo %.1f +- %.1f  los %.1f%%", e.elo, e.margin, 100 * e.los);
}

std::string PairPercentText(const TMatchScore& s) {
  if (s.Games() == 0) return "-";
  return std::to_string(s.Points() * 50 / s.Games());
}

double TSprt::LowerBound() const { return std::log(beta / (1 - alpha)); }
double TSprt::UpperBound() const { return std::log((1 - beta) / alpha); }

double TSprt::Llr(const TMatchScore& s) const {
  double mean = 0, variance = 0;
  Moments(s, mean, variance);
  if (variance <= 0) return 0;
  const double s0 = FractionFromElo(elo0);
  const double s1 = FractionFromElo(elo1);
  return s.Games() * (s1 - s0) * (2 * mean - s0 - s1) / (2 * variance);
}

TSprtDecision TSprt::Decide(const TMatchScore& s) const {
  const double llr = Llr(s);
  if (llr >= UpperBound()) return TSprtDecision::acceptH1;
  if (llr <= LowerBound()) return TSprtDecision::acceptH0;
  return TSprtDecision::running;
}

std::string SprtLine(const TSprt& sprt, const TMatchScore& s) {
  std::string line = Format("sprt elo0 %.1f elo1 %.1f", sprt.elo0, sprt.elo1) +
                     Format("  llr %.3f (%.3f..%.3f)", sprt.Llr(s), sprt.LowerBound(), sprt.UpperBound());
  switch (sprt.Decide(s)) {
    case TSprtDecision::acceptH0: return line + "  H0 accepted";
    case TSprtDecision::acceptH1: return line + "  H1 accepted";
    case TSprtDecision::running: break;
  }
  return line + "  no decision";
}

}  // namespace kestrel
