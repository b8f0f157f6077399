// kestrel-cli egdb end to end: generate, probe, verify, stats, and the
// search answering from the tables.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "run_cli.h"
#include "test_support/temp_dir.h"

namespace {

using kestrel::testing::RunCliCommand;

TEST(EgdbCli, GenerateProbeVerifyAndSearch) {
  kestrel::testing::TempDir dir;
  const std::string out = " --out " + dir.path().string();
  ASSERT_EQ(RunCliCommand("egdb generate --variant russian --pieces 3" + out).exitCode, 0);
  ASSERT_EQ(RunCliCommand("egdb generate --variant russian --pieces 3 --ranged --threads 2" + out).exitCode, 0);
  const auto probe = RunCliCommand("egdb probe --variant russian --fen W:WK10,K14:B5." + out);
  EXPECT_EQ(probe.exitCode, 0) << probe.err;
  EXPECT_EQ(probe.out, "wdl win\nplies 4\n");
  const auto draw = RunCliCommand("egdb probe --variant russian --fen W:WK1:BK32." + out);
  EXPECT_EQ(draw.out, "wdl draw\n");
  EXPECT_NE(RunCliCommand("egdb probe --variant russian --fen W:WK1,K2,K3,K4:BK32." + out).exitCode, 0);

  const auto verify = RunCliCommand("egdb verify --variant russian --pieces 3" + out);
  EXPECT_EQ(verify.exitCode, 0) << verify.err;
  EXPECT_TRUE(std::regex_search(verify.out, std::regex("wrong 0 mismatched 0"))) << verify.out;
  const auto stats = RunCliCommand("egdb stats --variant russian" + out);
  EXPECT_TRUE(std::regex_search(stats.out, std::regex("pieces 3 tables [1-9]"))) << stats.out;

  // The search takes its score from the tables: the same win in two moves.
  const auto search = RunCliCommand("analyse --variant russian --depth 5 --fen W:WK10,K14:B5. --egdb " +
                                    dir.path().string());
  EXPECT_TRUE(std::regex_search(search.out, std::regex("depth 5 score x2 "))) << search.out;

  EXPECT_EQ(RunCliCommand("egdb generate --variant frisian --pieces 2" + out).exitCode, 2);
  EXPECT_EQ(RunCliCommand("egdb generate --variant russian" + out).exitCode, 2);
  EXPECT_EQ(RunCliCommand("egdb generate --variant russian --split 3x1" + out).exitCode, 2);
}

}  // namespace
