// Time controls: the menu presets, the "Set time" values, the tournament
// text of a new game and the limits of the engine's search in play mode.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "rules/board.h"

namespace kestrel {

struct TTimeControl {
  int movesPerControl = 0;           // 0: the time covers the whole game
  std::array<int, 2> time{18000, 18000};  // centiseconds, by side

  bool operator==(const TTimeControl&) const = default;
};

struct TTimePreset {
  std::string_view caption;
  int movesPerControl;
  int time;
};

inline constexpr std::array<TTimePreset, 11> TimePresets = {{
    {"3 minutes/game", 0, 18000},
    {"5 minutes/game", 0, 30000},
    {"10 minutes/game", 0, 60000},
    {"30 minutes/game", 0, 180000},
    {"60 minutes/game", 0, 360000},
    {"1 sec/move", 1, 100},
    {"3 sec/move", 1, 300},
    {"5 sec/move", 1, 500},
    {"10 sec/move", 1, 1000},
    {"15 sec/move", 1, 1500},
    {"30 sec/move", 1, 3000},
}};
// The "Set time" item follows the presets in the menu.
inline constexpr int SetTimeIndex = static_cast<int>(TimePresets.size());
inline constexpr int DefaultTimeIndex = 0;

// The fields of the "Set time" dialog; row 0 belongs to side 0.
struct TSetTimeValues {
  int moves = 0;  // 0..9999, 0 = all
  std::array<int, 2> minutes{3, 3};
  std::array<int, 2> seconds{0, 0};

  bool operator==(const TSetTimeValues&) const = default;
};
inline constexpr int MaxMovesPerControl = 9999;

TTimeControl PresetControl(int index);
// Values beyond the dialog's ranges are taken to the nearest allowed one.
TTimeControl ControlFromDialog(const TSetTimeValues& values);
// Clocks at the start: each side's time for a whole-game control, else 0.
std::array<int, 2> InitialClocks(const TTimeControl& control);

// "3 min", or "5 s / m" and "120 s / 40m" for controls per move count.
std::string TimeControlText(const TTimeControl& control);

// Search limits of the engine's reply, centiseconds.
struct TMoveLimits {
  int64_t hard = 0;
  int64_t soft = 0;
};
// The share of the remaining time a whole-game control gives one move.
int SoftLimitDivisor(int type);
// Where the game stands when the engine replies; with the pieces known the
// limits follow the engine's time plan (more time in the middle game, a
// reserve that outlasts long endgames, a second per move never exceeded),
// without them the plain shares of the clock.
struct TPlayPhase {
  int pieces = 0;      // on the board; 0: unknown
  int moveNumber = 1;  // of the game
};
TMoveLimits PlayLimits(const TTimeControl& control, int moverClock, TDColor mover, int type,
                       const TPlayPhase& phase = {});

}  // namespace kestrel
