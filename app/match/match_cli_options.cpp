#include "app/match/match_cli_options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kestrel {
namespace {

bool ReadNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(value) && value >= 0;
}

}  // namespace

std::optional<TTimeSettings> ParseTimeControl(const std::string& text, std::string& error) {
  error = "time control " + text + " is not MOVES/SECONDS+INC";
  std::string rest = text;
  TTimeSettings t;
  if (const auto slash = rest.find('/'); slash != std::string::npos) {
    double moves = 0;
    if (!ReadNumber(rest.substr(0, slash), moves) || moves != std::floor(moves) || moves > 9999) return std::nullopt;
    t.movesPerControl = static_cast<int>(moves);
    rest = rest.substr(slash + 1);
  }
  double increment = 0;
  if (const auto plus = rest.find('+'); plus != std::string::npos) {
    if (!ReadNumber(rest.substr(plus + 1), increment) || increment > 3600) return std::nullopt;
    rest = rest.substr(0, plus);
  }
  double seconds = 0;
  if (!ReadNumber(rest, seconds) || seconds <= 0 || seconds > 36000) return std::nullopt;
  t.timeMs = std::llround(seconds * 1000);
  t.incrementMs = std::llround(increment * 1000);
  error.clear();
  return t;
}

bool ParseTimeOptions(int64_t moveTimeMs, const std::string& tc, int depth, TTimeSettings& out, std::string& error) {
  out = {};
  if (moveTimeMs < 0 || depth < 0) {
    error = "--time and --depth must not be negative";
    return false;
  }
  if (moveTimeMs > 0 && !tc.empty()) {
    error = "give --time or --tc, not both";
    return false;
  }
  if (!tc.empty()) {
    const auto parsed = ParseTimeControl(tc, error);
    if (!parsed) return false;
    out = *parsed;
  }
  out.moveTimeMs = moveTimeMs;
  out.maxDepth = depth;
  if (moveTimeMs == 0 && tc.empty() && depth == 0) {
    error = "give --time, --tc or --depth";
    return false;
  }
  return true;
}

std::optional<TSprt> ParseSprt(const std::string& text, std::string& error) {
  const auto comma = text.find(',');
  TSprt s;
  char* end = nullptr;
  if (comma != std::string::npos) {
    const std::string a = text.substr(0, comma), b = text.substr(comma + 1);
    s.elo0 = std::strtod(a.c_str(), &end);
    const bool okA = !a.empty() && end == a.c_str() + a.size();
    s.elo1 = std::strtod(b.c_str(), &end);
    const bool okB = !b.empty() && end == b.c_str() + b.size();
    if (okA && okB && s.elo0 < s.elo1 && std::abs(s.elo0) < 1000 && std::abs(s.elo1) < 1000) return s;
  }
  error = "--sprt wants ELO0,ELO1 with ELO0 < ELO1";
  return std::nullopt;
}

}  // namespace kestrel
