// kestrel-cli hub fed a whole script on stdin: only protocol lines on
// stdout, complaints on stderr, and the end of input ends the session.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "run_cli.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

TEST(HubCli, ScriptOnStdin) {
  testing::TempDir dir;
  {
    std::ofstream script(dir.File("script.txt"), std::ios::binary);
    script << "hub\r\n"
              "set-param name=hash value=8\n"
              "init\n"
              "not a command\n"
              "level depth=\"5\n"
              "pos pos=W" << std::string(20, 'b') << std::string(10, 'e') << std::string(20, 'w')
           << " moves=\"32-28\"\n"
              "level depth=5\n"
              "go think\n";
    // No quit: end of input must end the session.
  }
  const auto r = testing::RunCliCommand("hub < " + dir.File("script.txt"));
  EXPECT_EQ(r.exitCode, 0);
  const std::set<std::string> protocol = {"id", "param", "wait", "ready", "info", "done", "pong", "error"};
  int done = 0;
  for (const auto& line : r.Lines()) {
    const std::string word = line.substr(0, line.find(' '));
    EXPECT_TRUE(protocol.count(word)) << line;
    done += word == "done";
  }
  // The search was either stopped at the end of input or finished; never two answers.
  EXPECT_LE(done, 1);
  EXPECT_NE(r.err.find("unknown command not"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("unterminated quote"), std::string::npos) << r.err;
}

TEST(HubCli, SearchFinishesWhileInputStaysOpen) {
  testing::TempDir dir;
  {
    std::ofstream script(dir.File("script.txt"));
    script << "init\npos\nlevel depth=5\ngo think\n";
  }
  // The input stays open for a while after the script, as a GUI's would.
  const auto r = testing::RunCliCommand(std::string("--help >/dev/null; (cat ") + dir.File("script.txt") +
                                        "; sleep 3; echo quit) | " + KESTREL_CLI + " hub");
  const auto lines = r.Lines();
  ASSERT_FALSE(lines.empty()) << r.err;
  EXPECT_EQ(lines.back().rfind("done move=", 0), 0u) << lines.back();
  EXPECT_EQ(lines.front(), "ready");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// The match runner with kestrel-cli hub as an external engine against an
// engine file: every game ends properly and both names appear.
TEST(HubCli, ExternalEngineInAMatch) {
  testing::TempDir dir;
  for (const char* variant : {"international", "russian"}) {
    SCOPED_TRACE(variant);
    ASSERT_EQ(testing::RunCliCommand(std::string("engine-file material --variant ") + variant + " --out " +
                                     dir.File("mat.eng"))
                  .exitCode,
              0);
    const auto r = testing::RunCliCommand(std::string("match --variant ") + variant + " --engine 'hub:" + KESTREL_CLI +
                                          " hub --hash 4' --engine " + dir.File("mat.eng") + " --games 2 --depth 5");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = r.Lines();
    ASSERT_EQ(lines.size(), 4u) << r.out;
    const std::regex game(R"(game [12]  (kestrel-cli - mat|mat - kestrel-cli)  (1-0|0-1|1/2-1/2)  \((?!illegal).*\)  \d+ \d+ \d+)");
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(std::regex_match(lines[i], game)) << lines[i];
    EXPECT_EQ(lines[2].rfind("score ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("pairs ", 0), 0u) << lines[3];
  }
  // An engine that cannot start is reported, not played.
  const auto bad = testing::RunCliCommand("match --variant international --engine 'hub:/nonexistent/engine' --engine " +
                                          dir.File("mat.eng") + " --games 2 --depth 5");
  EXPECT_NE(bad.exitCode, 0);
  EXPECT_FALSE(bad.err.empty());
}

}  // namespace
}  // namespace kestrel
