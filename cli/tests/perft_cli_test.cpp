// kestrel-cli perft end to end: output lines, divide, positions, bad input.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <numeric>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "../../rules/tests/perft_reference.h"

#include "perft_cli_util.h"

namespace {

using kestrel::testing::CliRun;
using kestrel::testing::Perft;

// The counts of the "perft DEPTH COUNT MILLISECONDS" lines, checking their form.
std::vector<uint64_t> Counts(const CliRun& run) {
  static const std::regex line(R"(perft (\d+) (\d+) (\d+))");
  std::vector<uint64_t> counts;
  for (const auto& text : run.out) {
    std::smatch m;
    if (!std::regex_match(text, m, line)) continue;
    EXPECT_EQ(std::stoul(m[1]), counts.size() + 1) << text;
    counts.push_back(std::stoull(m[2]));
  }
  return counts;
}

TEST(PerftCli, OneLinePerDepthMatchingThePublishedCounts) {
  const CliRun run = Perft("--variant russian --depth 5");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(run.out.size(), 5u);
  const auto counts = Counts(run);
  ASSERT_EQ(counts.size(), 5u);
  const auto reference = kestrel::testing::PerftReference::Load();
  if (!reference) GTEST_SKIP() << "the shared reference notes are not there";
  const auto published = kestrel::testing::PerftReference::Table(reference->Section("### 1.3 Russian")).drop;
  ASSERT_GE(published.size(), 5u);
  for (size_t d = 0; d < 5; ++d) EXPECT_EQ(counts[d], published[d]) << "depth " << d + 1;
}

TEST(PerftCli, VariantByNameInAnyCaseOrNumber) {
  const auto expected = Counts(Perft("--variant Brazilian --depth 4"));
  ASSERT_EQ(expected.size(), 4u);
  for (const char* v : {"brazilian", "BRAZILIAN", "3"}) EXPECT_EQ(Counts(Perft(std::string("--variant ") + v + " --depth 4")), expected) << v;
  // A different type counts differently by depth 5 (majority capture).
  EXPECT_NE(Counts(Perft("--variant 1 --depth 5")).back(), Counts(Perft("--variant 3 --depth 5")).back());
}

TEST(PerftCli, DivideListsEachRootMoveAndAddsUp) {
  const CliRun run = Perft("--variant international --depth 4 --divide");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto counts = Counts(run);
  ASSERT_EQ(counts.size(), 4u);
  static const std::regex moveLine(R"((\d\d)-(\d\d) (\d+))");
  uint64_t sum = 0;
  size_t moves = 0;
  for (const auto& text : run.out) {
    std::smatch m;
    if (!std::regex_match(text, m, moveLine)) continue;
    ++moves;
    sum += std::stoull(m[3]);
    // White's men start on 31..50 and move up the board.
    EXPECT_GE(std::stoi(m[1]), 31);
    EXPECT_LT(std::stoi(m[2]), std::stoi(m[1]));
  }
  EXPECT_EQ(moves, counts[0]);
  EXPECT_EQ(sum, counts[3]);
  EXPECT_EQ(run.out.size(), moves + 4);
  // Captures are shown with "x".
  const CliRun capture = Perft("--variant international --depth 1 --divide --fen W:WK46:B23");
  ASSERT_EQ(capture.exitCode, 0);
  EXPECT_EQ(capture.out, (std::vector<std::string>{"46x19 1", "46x14 1", "46x10 1", "46x5 1", "perft 1 4 " +
                                                       capture.out.back().substr(std::string("perft 1 4 ").size())}));
}

TEST(PerftCli, PositionFromFen) {
  // The start position written out counts as the start position.
  EXPECT_EQ(Counts(Perft("--variant international --depth 3 --fen W:W31-50:B1-20")),
            Counts(Perft("--variant international --depth 3")));
  // A lone king taking the last piece: nothing is left to move afterwards.
  EXPECT_EQ(Counts(Perft("--variant international --depth 2 --fen W:WK46:B23")), (std::vector<uint64_t>{4, 0}));
  // Black to move.
  EXPECT_EQ(Counts(Perft("--variant international --depth 1 --fen B:W46:B5")), (std::vector<uint64_t>{1}));
}

TEST(PerftCli, BadInputIsRefusedWithExitCode2) {
  for (const char* args : {"--variant nonsense --depth 3", "--variant 13 --depth 3", "--variant 0 --depth 3",
                           "--variant russian --depth 21", "--variant russian --depth 0",
                           "--variant russian --depth 3 --fen W:W99", "--variant russian --depth 3 --fen nonsense",
                           "--variant russian --depth 3 --engine nonsense", "--variant russian",
                           "--depth 3"}) {
    const CliRun run = Perft(args);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_FALSE(run.err.empty()) << args;
    EXPECT_TRUE(run.out.empty()) << args;
  }
}

TEST(PerftCli, RulesEngineIsTheDefault) {
  EXPECT_EQ(Counts(Perft("--variant russian --depth 3 --engine rules")), Counts(Perft("--variant russian --depth 3")));
}

}  // namespace
