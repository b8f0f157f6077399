// The two clocks of a game under a time control. Time comes from an
// injectable source of centiseconds, so that tests can drive it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "app/play/time_control.h"
#include "rules/board.h"

namespace kestrel {

using TTimeSource = std::function<int64_t()>;
// Centiseconds of a monotonic clock.
int64_t SteadyCentiseconds();

// "H:MM:SS" of a clock value; negative values show as 0.
std::string ClockText(int64_t cs);
// "HH:MM:SS", as engine games write their clocks.
std::string ClockText2(int64_t cs);

// Read by the interface thread and by engine workers; every call locks.
class TGameClock {
 public:
  explicit TGameClock(TTimeSource now = SteadyCentiseconds);

  // Takes the control and sets both clocks to their starting values.
  void SetControl(const TTimeControl& control);
  TTimeControl Control() const;

  void Start();  // running, reference now
  void Stop();
  bool Running() const;

  // Charges `side` with the time since the reference and moves the
  // reference to now. True when a whole-game clock has just run out: the
  // clock then stops and shows 0. Does nothing while stopped.
  bool Tick(TDColor side);
  // Charges `side` with `elapsed` centiseconds; same answer as Tick.
  bool Charge(TDColor side, int64_t elapsed);

  int Clock(TDColor side) const;
  std::array<int, 2> Clocks() const;
  void SetClocks(const std::array<int, 2>& clocks);
  // The engine takes over the other side: clocks and times change places.
  void SwapSides();
  // Both clocks, side 0 first: "0:03:00 0:02:41".
  std::string Text() const;
  int64_t Now() const { return now_(); }

 private:
  bool ChargeLocked(TDColor side, int64_t elapsed);

  TTimeSource now_;
  mutable std::mutex mutex_;
  TTimeControl control_;
  std::array<int, 2> clocks_{};
  bool running_ = false;
  int64_t reference_ = 0;
};

}  // namespace kestrel
