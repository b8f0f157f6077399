#include "app/play/game_clock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace kestrel {

int64_t SteadyCentiseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() / 10;
}

std::string ClockText(int64_t cs) {
  const int64_t s = std::max<int64_t>(cs, 0) / 100;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return buf;
}

std::string ClockText2(int64_t cs) {
  const int64_t s = std::max<int64_t>(cs, 0) / 100;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return buf;
}

TGameClock::TGameClock(TTimeSource now) : now_(std::move(now)) { clocks_ = InitialClocks(control_); }

void TGameClock::SetControl(const TTimeControl& control) {
  std::lock_guard lock(mutex_);
  control_ = control;
  clocks_ = InitialClocks(control);
}

TTimeControl TGameClock::Control() const {
  std::lock_guard lock(mutex_);
  return control_;
}

void TGameClock::Start() {
  std::lock_guard lock(mutex_);
  running_ = true;
  reference_ = now_();
}

void TGameClock::Stop() {
  std::lock_guard lock(mutex_);
  running_ = false;
}

bool TGameClock::Running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

bool TGameClock::ChargeLocked(TDColor side, int64_t elapsed) {
  int& clock = clocks_[ColorIndex(side)];
  elapsed = std::max<int64_t>(elapsed, 0);
  if (control_.movesPerControl != 0) {
    // Time used per move only grows; it never runs out.
    clock = static_cast<int>(std::min<int64_t>(clock + elapsed, INT32_MAX));
    return false;
  }
  const int64_t left = clock - elapsed;
  if (left < 0) {
    clock = 0;
    running_ = false;
    return true;
  }
  clock = static_cast<int>(left);
  return false;
}

bool TGameClock::Tick(TDColor side) {
  std::lock_guard lock(mutex_);
  if (!running_) return false;
  const int64_t now = now_();
  const int64_t elapsed = now - reference_;
  reference_ = now;
  return ChargeLocked(side, elapsed);
}

bool TGameClock::Charge(TDColor side, int64_t elapsed) {
  std::lock_guard lock(mutex_);
  return ChargeLocked(side, elapsed);
}

int TGameClock::Clock(TDColor side) const {
  std::lock_guard lock(mutex_);
  return clocks_[ColorIndex(side)];
}

std::array<int, 2> TGameClock::Clocks() const {
  std::lock_guard lock(mutex_);
  return clocks_;
}

void TGameClock::SetClocks(const std::array<int, 2>& clocks) {
  std::lock_guard lock(mutex_);
  clocks_ = clocks;
}

void TGameClock::SwapSides() {
  std::lock_guard lock(mutex_);
  std::swap(clocks_[0], clocks_[1]);
  std::swap(control_.time[0], control_.time[1]);
}

std::string TGameClock::Text() const {
  std::lock_guard lock(mutex_);
  return ClockText(clocks_[0]) + " " + ClockText(clocks_[1]);
}

}  // namespace kestrel
