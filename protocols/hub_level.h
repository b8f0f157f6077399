// The limits of one Hub search ("level" line) and the time it may take.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "protocols/hub_line.h"

namespace kestrel {

struct THubLevel {
  int depth = 0;             // 0: no depth limit
  uint64_t nodes = 0;        // 0: no node limit
  double moveTime = 0;       // seconds per move; 0: none
  // A clock: seconds left, increment added before each move, moves to the
  // next time control (0: the rest of the game).
  double time = 0;
  double increment = 0;
  int moves = 0;
  bool clock = false;

  bool Timed() const { return moveTime > 0 || clock; }
};

// Every known key of the line is read, so "level depth=9 move-time=2" limits
// both. Nullopt, with the reason in `error`, for an unreadable or negative
// number.
std::optional<THubLevel> ParseHubLevel(const THubLine& line, std::string& error);

// When a timed search stops, in seconds from the moment it starts timing:
// no iteration starts after `startBy`, none runs past `hardStop`.
struct THubBudget {
  double startBy = 0;
  double hardStop = 0;
};
// Nullopt for an untimed level.
std::optional<THubBudget> HubTimeBudget(const THubLevel& level);

}  // namespace kestrel
