// What the windows are asked to show again. Any thread sets requests; the
// interface thread's 25 ms timer takes them and renders. Messages that a
// worker wants shown travel the same way.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace kestrel {

enum TRefreshFlag : uint32_t {
  rqBoard = 1u << 0,        // repaint the board
  rqShowTree = 1u << 1,     // show the game tree
  rqBuildTree = 1u << 2,    // rebuild the game tree
  rqHeader = 1u << 3,       // re-read the game header
  rqBook = 1u << 4,         // refresh the book display
  rqStopButton = 1u << 5,   // the engine ended: reset the STOP button
  rqWindowMenu = 1u << 6,   // the list of open games changed
  rqSaveButton = 1u << 7,   // the game became modified
  rqStatusBar = 1u << 8,    // variant, material and draw notice
  rqMode = 1u << 9,         // mode, level, time control or set-up changed
};

struct TThreadMessage {
  std::string text;
  bool messageBox = false;  // else into the information panel
};

class TRefreshRequests {
 public:
  void Request(uint32_t flags) { flags_.fetch_or(flags, std::memory_order_acq_rel); }
  // Every pending request, cleared at once.
  uint32_t TakeAll() { return flags_.exchange(0, std::memory_order_acq_rel); }
  uint32_t Pending() const { return flags_.load(std::memory_order_acquire); }

  void PostMessage(std::string text, bool messageBox) {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::move(text), messageBox});
  }
  std::optional<TThreadMessage> TakeMessage() {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) return std::nullopt;
    TThreadMessage m = std::move(messages_.front());
    messages_.pop_front();
    return m;
  }

 private:
  std::atomic<uint32_t> flags_{0};
  std::mutex mutex_;
  std::deque<TThreadMessage> messages_;
};

}  // namespace kestrel
