// The Hub client against kestrel-cli hub and against engines that misbehave.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "protocols/hub_client.h"
#include "protocols/hub_notation.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

const std::string Engine = std::string(KESTREL_CLI) + " hub --hash 4";

TEST(HubClient, SearchesAndStopsKestrelHub) {
  THubClient client;
  std::string error;
  ASSERT_TRUE(client.Start(Engine, {{"threads", "1"}, {"no-such-param", "1"}}, error)) << error;
  EXPECT_EQ(client.EngineName(), "Kestrel Thornby");
  EXPECT_TRUE(client.Declares("hash"));
  EXPECT_FALSE(client.Declares("no-such-param"));
  const auto variants = client.EnumValues("variant");
  EXPECT_NE(std::find(variants.begin(), variants.end(), "russian"), variants.end());

  const std::string start = HubPositionText(InitialPosition(gtInternational), TDColor::white, gtInternational);
  client.NewGame();
  auto reply = client.Search(start, {"32-28", "18-23"}, THubLine("level").Add("depth", "5"), -1);
  ASSERT_TRUE(reply.ok) << reply.error;
  EXPECT_GE(reply.depth, 5);
  EXPECT_GT(reply.nodes, 0u);
  EXPECT_FALSE(reply.move.empty());

  // An endless search answers "stop" from another thread.
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    client.Stop();
  });
  reply = client.Search(start, {}, THubLine("level").Flag("infinite"), -1);
  stopper.join();
  ASSERT_TRUE(reply.ok) << reply.error;
  EXPECT_TRUE(FindHubMove(reply.move, InitialPosition(gtInternational), TDColor::white, gtInternational));
  client.Close();
  EXPECT_FALSE(client.Running());
}

TEST(HubClient, MisbehavingEnginesFailCleanly) {
  struct Case {
    const char* name;
    std::string command;
    bool starts;
    const char* error;
  } cases[] = {
      {"missing program", "/nonexistent/engine", false, "ended at start"},
      {"no wait", "read a; echo id name=x; sleep 30", false, "no \"wait\""},
      {"dies in a search", "read a; echo wait; read b; echo ready; read c; read d; read e; exit 0", true,
       "ended during a search"},
      {"never answers", "read a; echo wait; read b; echo ready; exec sleep 30", true, "no answer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    THubClient client({1000, 1000, 500});
    std::string error;
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(client.Start(c.command, {}, error), c.starts) << error;
    if (c.starts) {
      const auto reply = client.Search("W" + std::string(20, 'b') + std::string(10, 'e') + std::string(20, 'w'), {},
                                       THubLine("level").Add("move-time", "0.1"), 100);
      EXPECT_FALSE(reply.ok);
      error = reply.error;
    }
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    client.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
  }
}

}  // namespace
}  // namespace kestrel
