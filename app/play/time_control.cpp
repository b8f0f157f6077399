#include "app/play/time_control.h"

#include <algorithm>

#include "rules/game_types.h"

namespace kestrel {

TTimeControl PresetControl(int index) {
  const TTimePreset& p = TimePresets[std::clamp(index, 0, static_cast<int>(TimePresets.size()) - 1)];
  return {p.movesPerControl, {p.time, p.time}};
}

TTimeControl ControlFromDialog(const TSetTimeValues& v) {
  TTimeControl c;
  c.movesPerControl = std::clamp(v.moves, 0, MaxMovesPerControl);
  for (int s = 0; s < 2; ++s)
    c.time[s] = std::clamp(v.minutes[s], 0, 9999) * 6000 + std::clamp(v.seconds[s], 0, 59) * 100;
  return c;
}

std::array<int, 2> InitialClocks(const TTimeControl& control) {
  if (control.movesPerControl != 0) return {0, 0};
  return control.time;
}

std::string TimeControlText(const TTimeControl& c) {
  if (c.movesPerControl != 0)
    return std::to_string(c.time[0] / 100) + " s / " +
           (c.movesPerControl == 1 ? std::string() : std::to_string(c.movesPerControl)) + "m";
  return std::to_string(c.time[0] / 6000) + " min";
}

int SoftLimitDivisor(int type) {
  switch (type) {
    case gtEnglish:
    case gtItalian:
      return 30;
    case gtInternational:
    case gtFrisian:
    case gtCanadian:
      return 40;
    default:
      return 15;
  }
}

TMoveLimits PlayLimits(const TTimeControl& c, int moverClock, TDColor mover, int type) {
  TMoveLimits l;
  if (c.movesPerControl == 0) {
    const int64_t clock = std::max(moverClock, 0);
    l.hard = clock / 3;
    l.soft = clock / SoftLimitDivisor(type);
  } else {
    const int64_t time = c.time[ColorIndex(mover)];
    l.hard = 2 * time / c.movesPerControl;
    l.soft = time / c.movesPerControl;
  }
  return l;
}

}  // namespace kestrel
