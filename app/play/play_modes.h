// How the program plays: the two modes (analysis, play), the level, the time
// control with the clock, the replay of a game, and the switches of the play
// menu. Flags that the engine worker reads are atomic; the rest belongs to
// the interface thread.
#pragma once

#include <atomic>

#include "app/play/game_clock.h"
#include "app/play/levels.h"
#include "app/play/time_control.h"

namespace kestrel {

class TPlayModes {
 public:
  explicit TPlayModes(TTimeSource now);

  // ---- Mode.
  bool AnalysisMode() const { return analysisMode_.load(); }
  void SetAnalysisMode(bool on) { analysisMode_ = on; }
  // The user stopped the analysis: moves and navigation leave it stopped.
  bool StoppedByUser() const { return stoppedByUser_.load(); }
  void SetStoppedByUser(bool on) { stoppedByUser_ = on; }
  // An engine game charges the clock itself; the timer leaves it alone.
  std::atomic<bool>& WorkerChargesClock() { return workerChargesClock_; }
  bool WorkerChargesClockNow() const { return workerChargesClock_.load(); }

  // ---- Level.
  int LevelIndex() const { return levelIndex_; }
  int LevelDepth() const { return Levels[levelIndex_].depth; }
  // False for an index outside the levels.
  bool SetLevel(int index);

  // ---- Time control and clock.
  int TimeIndex() const { return timeIndex_; }  // a preset or SetTimeIndex
  const TSetTimeValues& SetTimeValues() const { return setTime_; }
  // False for an index outside the presets.
  bool SetTimePreset(int index);
  void SetCustomTime(const TSetTimeValues& values);
  // The chosen control on the clock again, both clocks full.
  void ApplyTimeControl();
  TGameClock& Clock() { return clock_; }

  // ---- Replay: a step every 50 timer ticks (1.25 s).
  bool ReplayRunning() const { return replayRunning_; }
  void StopReplay() { replayRunning_ = false; }
  void ToggleReplay();
  // Counts a timer tick; true when the replay takes its next step.
  bool ReplayStepDue();

  // ---- Switches.
  bool Reversed() const { return reversed_; }
  void SetReversed(bool on) { reversed_ = on; }
  bool TournamentMode() const { return tournamentMode_; }
  void SetTournamentMode(bool on) { tournamentMode_ = on; }
  bool BlindPlay() const { return blindPlay_; }
  void SetBlindPlay(bool on) { blindPlay_ = on; }
  bool ExtendedAnalysis() const { return extendedAnalysis_; }
  void SetExtendedAnalysis(bool on) { extendedAnalysis_ = on; }

 private:
  std::atomic<bool> analysisMode_{true};
  std::atomic<bool> stoppedByUser_{true};
  std::atomic<bool> workerChargesClock_{false};
  int levelIndex_ = 0;
  int timeIndex_ = DefaultTimeIndex;
  TSetTimeValues setTime_;
  TGameClock clock_;
  bool replayRunning_ = false;
  int replayTicks_ = 0;
  bool reversed_ = false;
  bool tournamentMode_ = false;
  bool blindPlay_ = false;
  bool extendedAnalysis_ = false;
};

}  // namespace kestrel
