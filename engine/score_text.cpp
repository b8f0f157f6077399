#include "engine/score_text.h"

#include <algorithm>
#include <cstdlib>

namespace kestrel {

namespace {

constexpr int ForcedWinFrom = 1740;
constexpr int DatabaseWinFrom = 1400;

}  // namespace

std::string ScoreText(int score) {
  const int magnitude = std::abs(score);
  const std::string sign = score < 0 ? "-" : "";
  if (magnitude >= ForcedWinFrom) return sign + "x" + std::to_string((2001 - std::min(magnitude, 2000)) / 2);
  if (magnitude >= DatabaseWinFrom) {
    // Database wins are 1501 - ply; anything above that has no distance.
    return sign + "xN(" + std::to_string(std::max(0, 1501 - magnitude) / 2) + ")";
  }
  const int hundredths = magnitude % 100;
  return sign + std::to_string(magnitude / 100) + "." + (hundredths < 10 ? "0" : "") + std::to_string(hundredths);
}

std::string ScorePairText(int lower, int upper) {
  if (lower == upper) return ScoreText(lower);
  if (upper >= ScorePairOpen) return ">" + ScoreText(lower);
  if (lower <= -ScorePairOpen) return "<" + ScoreText(upper);
  return ScoreText(lower) + ".." + ScoreText(upper);
}

}  // namespace kestrel
