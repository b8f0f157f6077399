#include "protocols/hub_level.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <type_traits>

namespace kestrel {

namespace {

// Without a move count the clock is shared out as if this many moves remained.
constexpr int AssumedMovesLeft = 30;
// Kept back from a clock for the time the answer takes to reach the GUI.
constexpr double ClockReserve = 0.05;
constexpr double ShortestSearch = 0.01;

template <typename T>
bool ReadNumber(const std::string& text, T& out) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && out >= 0 && (!std::is_floating_point_v<T> || std::isfinite(out));
}

}  // namespace

std::optional<THubLevel> ParseHubLevel(const THubLine& line, std::string& error) {
  THubLevel level;
  for (const auto& arg : line.args) {
    bool ok = true;
    if (arg.name == "depth") {
      ok = ReadNumber(arg.value, level.depth);
    } else if (arg.name == "nodes") {
      ok = ReadNumber(arg.value, level.nodes);
    } else if (arg.name == "move-time") {
      ok = ReadNumber(arg.value, level.moveTime);
    } else if (arg.name == "time") {
      ok = ReadNumber(arg.value, level.time);
      level.clock = true;
    } else if (arg.name == "inc") {
      ok = ReadNumber(arg.value, level.increment);
    } else if (arg.name == "moves") {
      ok = ReadNumber(arg.value, level.moves);
    } else if (arg.name == "infinite") {
      level = THubLevel{};
    }
    if (!ok) {
      error = "bad value of " + arg.name + ": " + arg.value;
      return std::nullopt;
    }
  }
  return level;
}

std::optional<THubBudget> HubTimeBudget(const THubLevel& level) {
  if (level.moveTime > 0) return THubBudget{level.moveTime / 2, level.moveTime};
  if (!level.clock) return std::nullopt;
  const double available = level.time + level.increment;
  const int movesLeft = level.moves > 0 ? level.moves : AssumedMovesLeft;
  const double share = level.time / movesLeft + level.increment;
  // A hard search may take three shares, never most of what is left.
  const double hard = std::max(ShortestSearch, std::min(3 * share, available * 0.8 - ClockReserve));
  return THubBudget{std::min(share, hard) / 2, hard};
}

}  // namespace kestrel
