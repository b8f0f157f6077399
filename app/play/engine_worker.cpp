#include "app/play/engine_worker.h"

#include <chrono>
#include <exception>

namespace kestrel {

TEngineWorker::TEngineWorker(TEngine& engine) : engine_(engine) {}

TEngineWorker::~TEngineWorker() {
  StopAndWait();
  Join();
}

void TEngineWorker::Join() {
  if (thread_.joinable()) thread_.join();
}

void TEngineWorker::Start(TWorkKind kind, std::function<void()> work, std::function<void(const char*)> onFailure) {
  StopAndWait();
  Join();
  // Cleared here, before the thread exists, so that a stop requested the
  // moment after Start cannot be lost.
  runStop_.store(false, std::memory_order_release);
  kind_.store(kind);
  idle_.Reset();
  thread_ = std::thread([this, work = std::move(work), onFailure = std::move(onFailure)] {
    try {
      work();
    } catch (const std::exception& e) {
      if (onFailure) onFailure(e.what());
    } catch (...) {
      if (onFailure) onFailure("unknown exception");
    }
    SetStopHook(nullptr);
    // A preparation reads as idle to Busy(): it keeps its kind until the
    // event is set, so that it never looks like a computation on its way out.
    // Start joins this thread before it stores the next kind.
    const bool preparing = kind_.load() == TWorkKind::prepare;
    if (!preparing) kind_.store(TWorkKind::none);
    idle_.Set();
    if (preparing) kind_.store(TWorkKind::none);
  });
}

void TEngineWorker::RequestStop() {
  runStop_.store(true, std::memory_order_release);
  engine_.Stop();
  std::lock_guard lock(hookMutex_);
  if (stopHook_) stopHook_();
}

void TEngineWorker::SetStopHook(std::function<void()> hook) {
  std::lock_guard lock(hookMutex_);
  stopHook_ = std::move(hook);
}

void TEngineWorker::StopAndWait() {
  using namespace std::chrono_literals;
  while (Busy()) {
    RequestStop();
    if (idle_.WaitFor(100ms)) break;
  }
  idle_.Wait();
}

void TEngineWorker::PropagateStop() {
  if (RunStopRequested()) engine_.Stop();
}

}  // namespace kestrel
