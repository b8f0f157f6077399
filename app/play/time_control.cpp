#include "app/play/time_control.h"

#include <algorithm>

#include "app/play/time_manager.h"
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

TMoveLimits PlayLimits(const TTimeControl& c, int moverClock, TDColor mover, int type, const TPlayPhase& phase) {
  TMoveLimits l;
  const bool planned = phase.pieces > 0 && IsValidGameType(type);
  if (planned && (c.movesPerControl == 0 || c.movesPerControl == 1)) {
    TClockSituation s;
    // A per-move control gives every move its time afresh; a whole-game
    // control has only what is left on the clock.
    s.clockMs = 10 * int64_t{c.movesPerControl == 0 ? std::max(moverClock, 0) : c.time[ColorIndex(mover)]};
    s.movesToGo = c.movesPerControl;
    s.moveNumber = std::max(phase.moveNumber, 1);
    s.pieces = phase.pieces;
    s.startPieces = 2 * MenPerSide(type);
    const TTimeBudget b = PlanMoveTime(s);
    // The search counts whole centiseconds and stops past its limit: round down.
    l.hard = std::max<int64_t>(b.hardMs / 10, 1);
    l.soft = std::max<int64_t>(b.softMs / 10, 1);
    return l;
  }
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
