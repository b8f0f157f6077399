// kestrel-cli perft --engine bitboard gives the counts of the rules core.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "perft_cli_util.h"

namespace {

using kestrel::testing::CliRun;
using kestrel::testing::Perft;

// The output without the milliseconds of the "perft DEPTH COUNT MS" lines.
std::vector<std::string> WithoutTimes(const CliRun& run) {
  static const std::regex timed(R"((perft \d+ \d+) \d+)");
  std::vector<std::string> lines;
  for (const auto& line : run.out) lines.push_back(std::regex_replace(line, timed, "$1"));
  return lines;
}

void ExpectSameOutput(const std::string& args) {
  const CliRun rules = Perft(args + " --engine rules");
  const CliRun bits = Perft(args + " --engine bitboard");
  ASSERT_EQ(rules.exitCode, 0) << args << ": " << rules.err;
  ASSERT_EQ(bits.exitCode, 0) << args << ": " << bits.err;
  EXPECT_FALSE(bits.out.empty());
  EXPECT_EQ(WithoutTimes(bits), WithoutTimes(rules)) << args;
}

TEST(BitBoardPerftCli, StartPositionsOfEveryCoveredVariant) {
  for (const char* variant : {"russian", "english", "brazilian", "pool", "italian", "international", "czech",
                              "spanish", "spantsiretti", "thai"})
    ExpectSameOutput(std::string("--variant ") + variant + " --depth 4");
}

TEST(BitBoardPerftCli, PositionsWithKingsAndDivide) {
  // A flying king with four landing squares, Black to move, kings on both
  // sides, and the men one step from crowning.
  for (const char* args : {"--variant international --depth 2 --divide --fen W:WK46:B23",
                           "--variant international --depth 3 --divide --fen B:W46,K28:B5,K19,14",
                           "--variant international --depth 4 --fen W:W6,7,8,9,10:B41,42,43,44,45",
                           "--variant international --depth 3 --fen W:WK47,K38,33:BK9,12,22,24",
                           "--variant russian --depth 5 --divide"})
    ExpectSameOutput(args);
}

TEST(BitBoardPerftCli, FrisianAndCanadianAreRefused) {
  for (const char* variant : {"frisian", "canadian"}) {
    const CliRun run = Perft(std::string("--variant ") + variant + " --depth 2 --engine bitboard");
    EXPECT_EQ(run.exitCode, 2) << variant;
    EXPECT_TRUE(run.out.empty()) << variant;
    EXPECT_NE(run.err.find("does not cover"), std::string::npos) << run.err;
    // The rules core still counts them.
    EXPECT_EQ(Perft(std::string("--variant ") + variant + " --depth 2").exitCode, 0) << variant;
  }
}

}  // namespace
