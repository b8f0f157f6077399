// The engine worker: at most one thread at a time runs an engine
// computation (analysis, the engine's reply, game analysis, autoplay). The
// engine-idle event is signalled while none runs; commands that change the
// game stop the worker and wait for that event first.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "app/play/manual_reset_event.h"
#include "engine/engine.h"

namespace kestrel {

// `prepare` sets the engine up for the variant (its table, its weights) off
// the clock of the next move; no computation the user waits for.
enum class TWorkKind : uint8_t { none, analysis, gameAnalysis, autoplay, match, prepare };

class TEngineWorker {
 public:
  explicit TEngineWorker(TEngine& engine);
  ~TEngineWorker();
  TEngineWorker(const TEngineWorker&) = delete;
  TEngineWorker& operator=(const TEngineWorker&) = delete;

  // A computation runs. Preparing the engine does not count: the window
  // shows no search for it, and the next Start waits for it all the same.
  bool Busy() const { return !idle_.IsSet() && kind_.load() != TWorkKind::prepare; }
  TWorkKind Kind() const { return kind_.load(); }
  const TManualResetEvent& IdleEvent() const { return idle_; }

  // Interface thread: stops and waits for a running computation, clears both
  // stop requests, resets the idle event and starts `work` on a new thread.
  // The thread signals the idle event as its very last action, also when
  // `work` throws (`onFailure` is called with the exception's text first).
  void Start(TWorkKind kind, std::function<void()> work,
             std::function<void(const char*)> onFailure = nullptr);

  // Asks the search and the run to end; returns at once.
  void RequestStop();
  // A run that plays with engines of its own (matches, tournaments) is
  // stopped through this hook by every stop request; the hook is dropped
  // when the run ends. Set it after Start.
  void SetStopHook(std::function<void()> hook);
  // Requests the stop until the worker is idle; no time limit.
  void StopAndWait();

  bool RunStopRequested() const { return runStop_.load(std::memory_order_acquire); }
  // Called by searches of the worker: a stop that a search start cleared
  // is passed on again.
  void PropagateStop();

  TEngine& Engine() { return engine_; }

 private:
  void Join();

  TEngine& engine_;
  TManualResetEvent idle_{true};
  std::atomic<bool> runStop_{false};
  std::atomic<TWorkKind> kind_{TWorkKind::none};
  std::thread thread_;
  std::mutex hookMutex_;
  std::function<void()> stopHook_;
};

}  // namespace kestrel
