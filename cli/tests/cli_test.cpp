#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "run_cli.h"

namespace {

struct Result {
  int exitCode;
  std::string out;
};

// Runs kestrel-cli with `args`; stderr is discarded.
Result RunCli(const std::string& args) {
  const auto r = kestrel::testing::RunCliCommand(args);
  return {r.exitCode, r.out};
}

TEST(Cli, VariantsListsTwelveTypes) {
  const Result r = RunCli("variants");
  ASSERT_EQ(r.exitCode, 0);
  std::istringstream in(r.out);
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(in, line)) lines.push_back(line);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "1 Russian 8x8 32 12");
  EXPECT_EQ(lines[5], "6 International 10x10 50 20");
  EXPECT_EQ(lines[9], "10 Spantsiretti 10x8 40 15");
  EXPECT_EQ(lines[10], "11 Canadian 12x12 72 30");
  EXPECT_EQ(lines[11], "12 Thai 8x8 32 8");
}

TEST(Cli, HelpAndUnknownCommands) {
  EXPECT_EQ(RunCli("--help").exitCode, 0);
  EXPECT_NE(RunCli("no-such-command").exitCode, 0);
}

}  // namespace
