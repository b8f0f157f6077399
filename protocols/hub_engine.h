// The engine side of the Hub protocol: reads the GUI's lines, searches on a
// thread of its own and answers with protocol lines. Reading the input and
// writing the output are left to the caller, so the same session serves
// stdin/stdout and tests.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <thread>

#include "engine/engine.h"
#include "engine/opening_book.h"
#include "protocols/hub_level.h"
#include "protocols/hub_line.h"
#include "protocols/hub_notation.h"

namespace kestrel {

struct THubEngineSetup {
  std::string name = "Kestrel Thornby";
  std::string version;
  std::string author;
  // The settings of a variant with the engine file `evalFile` (empty: the
  // variant's own); nullopt with a message in `error` when it cannot be read.
  std::function<std::optional<TEngineParams>(int gametype, const std::string& evalFile, std::string& error)> loadParams;
  uint64_t maxHashMb = 1024;
  uint64_t hashMb = 16;
};

class THubEngine {
 public:
  using Sink = std::function<void(const std::string&)>;
  // `protocol` receives the lines for the GUI, `diagnostics` everything else;
  // both may be called from the search thread.
  THubEngine(THubEngineSetup setup, Sink protocol, Sink diagnostics);
  ~THubEngine();
  THubEngine(const THubEngine&) = delete;
  THubEngine& operator=(const THubEngine&) = delete;

  // Handles one line of the GUI. False once the session is over ("quit").
  bool Handle(std::string_view text);
  // Stops a running search and waits for its "done".
  void StopSearch();
  bool Searching() const { return searching_.load(); }

 private:
  struct TJob;
  class TListener;

  void Send(const THubLine& line);
  void Complain(const std::string& message);
  void Identify();
  void SetParam(const THubLine& line);
  bool EnsureReady();
  void SetPosition(const THubLine& line);
  void Go(const THubLine& line);
  void RunSearch(const TJob& job);
  std::optional<TMove> BookMove(const TJob& job);
  void JoinSearch();

  THubEngineSetup setup_;
  Sink protocol_;
  Sink diagnostics_;
  std::mutex outMutex_;

  // Parameters, as the GUI set them.
  int gametype_;
  std::string evalFile_;
  uint64_t hashMb_;
  int threads_ = 1;
  std::string bookFile_;
  bool ready_ = false;

  std::unique_ptr<TEngine> engine_;
  std::optional<TEngineParams> params_;
  TOpeningBook book_;
  std::mt19937 random_{std::random_device{}()};

  std::optional<THubPosition> position_;
  THubLevel level_;

  std::thread worker_;
  std::atomic<bool> searching_{false};
  // Pondering: the clock starts on "ponder-hit".
  std::atomic<bool> pondering_{false};
  std::mutex timerMutex_;
  std::condition_variable timerWake_;
  std::optional<std::chrono::steady_clock::time_point> timingStart_;
  bool searchOver_ = false;
  // A stop that arrives before the search has begun is kept here, because
  // the engine clears its own flag when a search starts.
  std::atomic<bool> stopRequested_{false};
};

}  // namespace kestrel
