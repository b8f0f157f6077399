// Playing levels: the deepest iteration a play-mode search may start.
#pragma once

#include <array>
#include <string_view>

namespace kestrel {

struct TLevel {
  std::string_view caption;
  int depth;
};

inline constexpr std::array<TLevel, 6> Levels = {{
    {"Grandmaster", 50},
    {"Master", 15},
    {"Candidate", 13},
    {"Level A", 11},
    {"Level B", 9},
    {"Level C", 7},
}};

// Continuous analysis searches up to this depth, whatever the level.
inline constexpr int AnalysisDepth = 49;
// The level a new installation plays at.
inline constexpr int DefaultLevelIndex = 0;

// Index into Levels of a depth; -1 when no level has it.
constexpr int LevelIndexOfDepth(int depth) {
  for (int i = 0; i < static_cast<int>(Levels.size()); ++i)
    if (Levels[i].depth == depth) return i;
  return -1;
}

}  // namespace kestrel
