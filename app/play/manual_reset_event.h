// An event that stays signalled until it is reset, as the engine-idle event.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kestrel {

class TManualResetEvent {
 public:
  explicit TManualResetEvent(bool signalled) : signalled_(signalled) {}

  void Set() {
    {
      std::lock_guard lock(mutex_);
      signalled_ = true;
    }
    changed_.notify_all();
  }
  void Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
  }
  bool IsSet() const {
    std::lock_guard lock(mutex_);
    return signalled_;
  }
  void Wait() const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return signalled_; });
  }
  // True when signalled within the time.
  bool WaitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return signalled_; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool signalled_;
};

}  // namespace kestrel
