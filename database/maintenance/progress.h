// The progress window of long database commands, seen from the commands: a
// caption and a text, a bar with a maximum, the estimated time left, and a
// Cancel button that the loops read at each step.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

class TProgress {
 public:
  virtual ~TProgress() = default;
  // Shows the window and notes the start time.
  virtual void Open(std::string_view caption, std::string_view text, int64_t maximum) {}
  // Moves the bar to `done`; false once the user has pressed Cancel.
  virtual bool Step(int64_t done) { return true; }
  virtual void Close() {}
};

// For commands run without a window.
TProgress& NoProgress();

// Remaining time from the elapsed time and the share done: elapsed x maximum
// / done - elapsed; zero before the first step.
std::chrono::milliseconds EstimatedRemaining(std::chrono::milliseconds elapsed, int64_t done, int64_t maximum);

// "Estimated time " and the remaining time as h:mm:ss.
std::string EstimateText(std::chrono::milliseconds remaining);

// Opens the window for one stage and closes it however the stage ends.
class TProgressStage {
 public:
  TProgressStage(TProgress& progress, std::string_view caption, std::string_view text, int64_t maximum)
      : progress_(progress) {
    progress_.Open(caption, text, maximum);
  }
  ~TProgressStage() { progress_.Close(); }
  TProgressStage(const TProgressStage&) = delete;
  TProgressStage& operator=(const TProgressStage&) = delete;
  bool Step(int64_t done) { return progress_.Step(done); }

 private:
  TProgress& progress_;
};

}  // namespace kestrel
