#include "protocols/hub_client.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace kestrel {

namespace {

using Clock = std::chrono::steady_clock;

// A line longer than this is cut: the engine is not trusted to end it.
constexpr size_t LongestLine = 1 << 16;

template <typename T>
void ReadNumber(const std::optional<std::string>& text, T& out) {
  if (!text) return;
  T value{};
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (ec == std::errc() && end == text->data() + text->size()) out = value;
}

}  // namespace

THubClient::~THubClient() { Close(); }

bool THubClient::Start(const std::string& command, const std::vector<std::pair<std::string, std::string>>& params,
                       std::string& error) {
  Close();
  // A write to an engine that has died must fail, not end this program.
  ::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) {
    error = "cannot make a pipe";
    return false;
  }
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    error = "cannot make a pipe";
    return false;
  }
  const pid_t pid = ::fork();
  if (pid < 0) {
    for (int fd : {in[0], in[1], out[0], out[1]}) ::close(fd);
    error = "cannot start a process";
    return false;
  }
  if (pid == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  pid_ = pid;
  toEngine_ = in[1];
  fromEngine_ = out[0];
  buffer_.clear();
  params_.clear();
  name_.clear();

  const auto fail = [&](const std::string& why) {
    error = why + " (" + command + ")";
    Close();
    return false;
  };
  if (!SendLine("hub")) return fail("the engine does not read its input");
  for (;;) {
    bool closed = false;
    const auto text = ReadLine(timeouts_.startMs, closed);
    if (!text) return fail(closed ? "the engine ended at start" : "no \"wait\" from the engine");
    std::string why;
    const auto line = ParseHubLine(*text, why);
    if (!line) continue;
    if (line->command == "id") {
      if (const auto n = line->Get("name")) name_ = *n;
    } else if (line->command == "param") {
      params_.push_back(*line);
    } else if (line->command == "wait") {
      break;
    }
  }
  for (const auto& [name, value] : params)
    if (Declares(name)) SendLine(THubLine("set-param").Add("name", name).Add("value", value).Text());
  if (!SendLine("init")) return fail("the engine stopped reading");
  for (;;) {
    bool closed = false;
    const auto text = ReadLine(timeouts_.initMs, closed);
    if (!text) return fail(closed ? "the engine ended during init" : "no \"ready\" from the engine");
    std::string why;
    const auto line = ParseHubLine(*text, why);
    if (line && line->command == "ready") return true;
  }
}

bool THubClient::Declares(const std::string& name) const {
  for (const auto& p : params_)
    if (p.Get("name") == name) return true;
  return false;
}

std::vector<std::string> THubClient::EnumValues(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& p : params_) {
    if (p.Get("name") != name) continue;
    const std::string all = p.Get("values").value_or("");
    for (size_t pos = 0; pos < all.size();) {
      const size_t end = std::min(all.find(' ', pos), all.size());
      if (end > pos) values.push_back(all.substr(pos, end - pos));
      pos = end + 1;
    }
  }
  return values;
}

void THubClient::NewGame() { SendLine("new-game"); }

THubSearchReply THubClient::Search(const std::string& position, const std::vector<std::string>& moves,
                                   const THubLine& level, int64_t timeoutMs,
                                   const std::function<void(const THubLine&)>& onInfo,
                                   const std::function<bool()>& stopRequested) {
  THubSearchReply reply;
  std::string list;
  for (const auto& m : moves) list += (list.empty() ? "" : " ") + m;
  THubLine pos("pos");
  pos.Add("pos", position);
  if (!list.empty()) pos.Add("moves", list);
  if (!SendLine(pos.Text()) || !SendLine(level.Text()) || !SendLine("go think")) {
    reply.error = "the engine stopped reading";
    return reply;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max<int64_t>(timeoutMs, 0));
  const auto grace = std::chrono::milliseconds(timeouts_.stopGraceMs);
  // After a timeout or a stop asked for from outside, "stop" is sent once
  // and the engine has a grace period to answer.
  std::optional<Clock::time_point> stoppedAt;
  constexpr int64_t PollMs = 50;
  for (;;) {
    const auto now = Clock::now();
    if (!stoppedAt && ((stopRequested && stopRequested()) || (timeoutMs >= 0 && now >= deadline))) {
      Stop();
      stoppedAt = now;
    }
    if (stoppedAt && now >= *stoppedAt + grace) {
      // A late "done" would be taken for the next search's: start afresh.
      reply.error = "no answer from the engine after stop";
      Close();
      return reply;
    }
    Clock::time_point until = stoppedAt ? *stoppedAt + grace : Clock::time_point::max();
    if (!stoppedAt && timeoutMs >= 0) until = deadline;
    if (!stoppedAt && stopRequested) until = std::min(until, now + std::chrono::milliseconds(PollMs));
    const int64_t wait = until == Clock::time_point::max()
                             ? -1
                             : std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count());
    bool closed = false;
    const auto text = ReadLine(wait, closed);
    if (!text) {
      if (closed) {
        reply.error = "the engine ended during a search";
        Close();
        return reply;
      }
      continue;
    }
    std::string why;
    const auto line = ParseHubLine(*text, why);
    if (!line) continue;
    if (line->command == "info") {
      if (onInfo) onInfo(*line);
      ReadNumber(line->Get("depth"), reply.depth);
      ReadNumber(line->Get("nodes"), reply.nodes);
      ReadNumber(line->Get("score"), reply.score);
    } else if (line->command == "done") {
      reply.ok = true;
      reply.move = line->Get("move").value_or("");
      reply.ponder = line->Get("ponder").value_or("");
      return reply;
    } else if (line->command == "error") {
      reply.error = line->Get("message").value_or("error");
    }
  }
}

void THubClient::Stop() { SendLine("stop"); }

bool THubClient::SendLine(const std::string& line) {
  std::lock_guard lock(writeMutex_);
  if (toEngine_ < 0) return false;
  const std::string text = line + "\n";
  size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = ::write(toEngine_, text.data() + sent, text.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

std::optional<std::string> THubClient::ReadLine(int64_t timeoutMs, bool& closed) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (const size_t nl = buffer_.find('\n'); nl != std::string::npos || buffer_.size() > LongestLine) {
      const size_t end = nl == std::string::npos ? LongestLine : nl;
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, nl == std::string::npos ? end : end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (fromEngine_ < 0) {
      closed = true;
      return std::nullopt;
    }
    int wait = -1;
    if (timeoutMs >= 0)
      wait = static_cast<int>(std::max<int64_t>(
          0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count()));
    pollfd p{fromEngine_, POLLIN, 0};
    const int ready = ::poll(&p, 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return std::nullopt;
    char chunk[4096];
    const ssize_t n = ready < 0 ? -1 : ::read(fromEngine_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      closed = true;
      return std::nullopt;
    }
    buffer_.append(chunk, static_cast<size_t>(n));
  }
}

void THubClient::Close() {
  if (pid_ <= 0) return;
  SendLine("quit");
  {
    std::lock_guard lock(writeMutex_);
    ::close(toEngine_);
    toEngine_ = -1;
  }
  ::close(fromEngine_);
  fromEngine_ = -1;
  // A polite engine leaves at once; one that lingers is ended.
  for (int i = 0; i < 50; ++i) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace kestrel
