#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "engine/engine_params.h"
#include "protocols/hub_engine.h"
#include "protocols/hub_notation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

using namespace std::chrono_literals;

// A session whose output is collected for the test to wait on.
class HubSession {
 public:
  HubSession() {
    THubEngineSetup setup;
    setup.loadParams = [](int type, const std::string& file, std::string& error) -> std::optional<TEngineParams> {
      if (!file.empty()) {
        error = "no engine file " + file;
        return std::nullopt;
      }
      TEngineParams params;
      params.Engine = DefaultEngineGeneration(type);
      return params;
    };
    hub_ = std::make_unique<THubEngine>(
        setup,
        [this](const std::string& line) {
          std::lock_guard lock(mutex_);
          out_.push_back(line);
          cv_.notify_all();
        },
        [this](const std::string& line) {
          std::lock_guard lock(mutex_);
          err_.push_back(line);
        });
  }
  bool Send(const std::string& line) { return hub_->Handle(line); }
  // Waits for the next output line starting with `command`, skipping others.
  std::optional<THubLine> WaitFor(const std::string& command, std::chrono::seconds timeout = 30s) {
    std::unique_lock lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      while (read_ < out_.size()) {
        std::string error;
        auto line = ParseHubLine(out_[read_++], error);
        EXPECT_TRUE(line) << "not a protocol line: " << out_[read_ - 1];
        if (line && line->command == command) return line;
      }
      if (cv_.wait_until(lock, deadline) == std::cv_status::timeout && read_ == out_.size()) return std::nullopt;
    }
  }
  std::vector<std::string> Output() {
    std::lock_guard lock(mutex_);
    return out_;
  }
  size_t Errors() {
    std::lock_guard lock(mutex_);
    return err_.size();
  }
  THubEngine& Hub() { return *hub_; }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<std::string> out_, err_;
  size_t read_ = 0;
  std::unique_ptr<THubEngine> hub_;
};

bool IsLegal(const std::string& move, const std::string& position, const std::string& moves = "") {
  std::string error;
  auto p = ParseHubPosition(position, gtInternational, error);
  if (!p) return false;
  for (size_t pos = 0; pos < moves.size();) {
    const size_t end = std::min(moves.find(' ', pos), moves.size());
    const auto m = FindHubMove(moves.substr(pos, end - pos), p->board, p->side, gtInternational);
    if (!m) return false;
    ApplyMove(*m, p->board, gtInternational);
    p->side = Opponent(p->side);
    pos = end + 1;
  }
  return FindHubMove(move, p->board, p->side, gtInternational).has_value();
}

const std::string Start = "W" + std::string(20, 'b') + std::string(10, 'e') + std::string(20, 'w');

TEST(HubEngine, ScriptedSession) {
  HubSession s;
  s.Send("hub");
  const auto id = s.WaitFor("id");
  ASSERT_TRUE(id);
  EXPECT_EQ(id->Get("name"), "Kestrel Thornby");
  ASSERT_TRUE(s.WaitFor("wait"));
  for (const char* bad : {"set-param name=threads value=0", "set-param name=hash value=x", "set-param name=nope value=1",
                          "set-param name=variant value=chess", "frobnicate", "pos pos=\"Wbb", "level depth=-3"}) {
    const size_t before = s.Errors();
    EXPECT_TRUE(s.Send(bad));
    EXPECT_EQ(s.Errors(), before + 1) << bad;
  }
  s.Send("set-param name=threads value=2");
  s.Send("set-param name=eval value=missing.eng");
  s.Send("init");
  ASSERT_TRUE(s.WaitFor("ready"));

  // A fixed depth: info lines with every field, then a legal move and reply.
  s.Send("new-game");
  s.Send("pos pos=" + Start + " moves=\"32-28 18-23\"");
  s.Send("level depth=5");
  s.Send("go think");
  const auto info = s.WaitFor("info");
  ASSERT_TRUE(info);
  for (const char* key : {"depth", "score", "nodes", "time", "nps", "pv"}) EXPECT_TRUE(info->Has(key)) << key;
  auto done = s.WaitFor("done");
  ASSERT_TRUE(done && done->Get("move"));
  EXPECT_TRUE(IsLegal(*done->Get("move"), Start, "32-28 18-23")) << *done->Get("move");
  if (const auto ponder = done->Get("ponder")) {
    EXPECT_TRUE(IsLegal(*ponder, Start, "32-28 18-23 " + *done->Get("move"))) << *ponder;
  }

  // An illegal move in the list: the moves before it stand.
  const size_t before = s.Errors();
  s.Send("pos moves=\"31-27 19-24 99-1\"");
  EXPECT_EQ(s.Errors(), before + 1);
  s.Send("level nodes=2000");
  s.Send("go think");
  done = s.WaitFor("done");
  ASSERT_TRUE(done && done->Get("move"));
  EXPECT_TRUE(IsLegal(*done->Get("move"), Start, "31-27 19-24"));

  // Analysis runs until stopped; ping is answered meanwhile; one done.
  s.Send("pos start");
  s.Send("level infinite");
  s.Send("go analyze");
  s.Send("ping");
  ASSERT_TRUE(s.WaitFor("pong"));
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(s.Hub().Searching());
  s.Send("stop");
  done = s.WaitFor("done");
  ASSERT_TRUE(done && done->Get("move"));
  EXPECT_TRUE(IsLegal(*done->Get("move"), Start));
  EXPECT_FALSE(s.WaitFor("done", 1s));

  // Pondering keeps going until ponder-hit starts the clock.
  s.Send("pos start");
  s.Send("level move-time=0.2");
  s.Send("go ponder");
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(s.Hub().Searching());
  s.Send("ponder-hit");
  ASSERT_TRUE(s.WaitFor("done", 10s));

  // A clock: the move comes well within it.
  s.Send("pos start");
  s.Send("level moves=40 time=4 inc=0.1");
  const auto t0 = std::chrono::steady_clock::now();
  s.Send("go think");
  ASSERT_TRUE(s.WaitFor("done", 10s));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 3s);

  // Another command during a search ends it first.
  s.Send("level infinite");
  s.Send("go analyze");
  s.Send("new-game");
  ASSERT_TRUE(s.WaitFor("done"));
  EXPECT_FALSE(s.Send("quit"));
}

TEST(HubEngine, OtherVariantsAndBadPositions) {
  HubSession s;
  s.Send("set-param name=variant value=russian");
  s.Send("init");
  ASSERT_TRUE(s.WaitFor("ready"));
  s.Send("pos");
  s.Send("level depth=3");
  s.Send("go think");
  const auto done = s.WaitFor("done");
  ASSERT_TRUE(done && done->Get("move"));
  EXPECT_TRUE(FindHubMove(*done->Get("move"), InitialPosition(gtRussian), TDColor::white, gtRussian));

  // A 10x10 position is refused on the 8x8 board; go then answers at once.
  s.Send("pos pos=" + Start);
  s.Send("go think");
  ASSERT_TRUE(s.WaitFor("error"));
  const auto empty = s.WaitFor("done");
  ASSERT_TRUE(empty);
  EXPECT_FALSE(empty->Has("move"));
}

}  // namespace
}  // namespace kestrel
