#include "engine/score_text.h"

#include <algorithm>
#include <charconv>
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

bool ReadScoreText(std::string_view text, int& score) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const auto number = [](std::string_view digits, int& v) {
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    return !digits.empty() && r.ec == std::errc() && r.ptr == digits.data() + digits.size() && v >= 0;
  };
  int magnitude = 0, moves = 0;
  if (text.size() > 4 && text.substr(0, 3) == "xN(" && text.back() == ')') {
    if (!number(text.substr(3, text.size() - 4), moves) || moves > 50) return false;
    magnitude = 1501 - 2 * moves;
  } else if (!text.empty() && text.front() == 'x') {
    if (!number(text.substr(1), moves) || moves > 130) return false;
    magnitude = 2001 - 2 * moves;
  } else {
    // "M.HH": whole men, a point, exactly two digits of hundredths.
    const auto point = text.find('.');
    int men = 0, hundredths = 0;
    if (point == std::string_view::npos || text.size() - point != 3 || !number(text.substr(0, point), men) ||
        !number(text.substr(point + 1), hundredths) || men > 13)
      return false;
    magnitude = 100 * men + hundredths;
  }
  score = negative ? -magnitude : magnitude;
  return true;
}

std::string ScorePairText(int lower, int upper) {
  if (lower == upper) return ScoreText(lower);
  if (upper >= ScorePairOpen) return ">" + ScoreText(lower);
  if (lower <= -ScorePairOpen) return "<" + ScoreText(upper);
  return ScoreText(lower) + ".." + ScoreText(upper);
}

}  // namespace kestrel
