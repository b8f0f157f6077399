// The GUI side of the Hub protocol: runs an external engine as a child
// process, introduces itself, and asks it for moves. One search at a time;
// Stop may come from any thread.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "protocols/hub_line.h"

namespace kestrel {

struct THubSearchReply {
  bool ok = false;           // a "done" line came
  std::string move;          // empty: the engine had no move
  std::string ponder;
  int depth = 0;
  double score = 0;          // men, the mover's view
  uint64_t nodes = 0;
  std::string error;
};

class THubClient {
 public:
  // How long the engine may take to start, to answer "init", and to answer
  // "stop" once its time is up.
  struct TTimeouts {
    int64_t startMs = 10000;
    int64_t initMs = 60000;
    int64_t stopGraceMs = 5000;
  };

  THubClient() = default;
  explicit THubClient(TTimeouts timeouts) : timeouts_(timeouts) {}
  ~THubClient();
  THubClient(const THubClient&) = delete;
  THubClient& operator=(const THubClient&) = delete;

  // Runs `command` through the shell and waits for "wait", sets the
  // parameters the engine declared (others are skipped), then "init" and
  // "ready". False, with `error`, when the engine fails to start or answer.
  bool Start(const std::string& command, const std::vector<std::pair<std::string, std::string>>& params,
             std::string& error);
  bool Running() const { return pid_ > 0; }
  // The engine's "id name", or empty.
  const std::string& EngineName() const { return name_; }
  // Whether the engine declared parameter `name`, and the values of an enum.
  bool Declares(const std::string& name) const;
  std::vector<std::string> EnumValues(const std::string& name) const;

  void NewGame();
  // "pos", the level line, "go think"; waits for "done". `timeoutMs` < 0
  // waits for ever; after it the search is stopped and given a little more.
  // `onInfo` sees every "info" line; `stopRequested`, asked a few times a
  // second, ends the search early when it turns true.
  THubSearchReply Search(const std::string& position, const std::vector<std::string>& moves,
                         const THubLine& level, int64_t timeoutMs,
                         const std::function<void(const THubLine&)>& onInfo = {},
                         const std::function<bool()>& stopRequested = {});
  // Asks a running search to end; from any thread.
  void Stop();
  // "quit", then the process is waited for (and killed when it lingers).
  void Close();

 private:
  bool SendLine(const std::string& line);
  // The next line within `timeoutMs` (< 0: for ever); nullopt on timeout or
  // end of output (then `closed`).
  std::optional<std::string> ReadLine(int64_t timeoutMs, bool& closed);

  TTimeouts timeouts_;
  pid_t pid_ = -1;
  int toEngine_ = -1;
  int fromEngine_ = -1;
  std::string buffer_;
  std::string name_;
  std::vector<THubLine> params_;
  std::mutex writeMutex_;
};

}  // namespace kestrel
