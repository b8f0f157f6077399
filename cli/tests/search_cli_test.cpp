// kestrel-cli analyse and bench end to end: the iteration lines, the best
// move, the bench signature and bad input.
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

#include "run_cli.h"

namespace {

struct CliRun {
  int exitCode = -1;
  std::vector<std::string> out;
  std::string err;
};

CliRun RunCli(const std::string& args) {
  const auto r = kestrel::testing::RunCliCommand(args);
  return {r.exitCode, r.Lines(), r.err};
}

const std::regex IterationLine(R"(depth (\d+) score (-?(?:\d+\.\d\d|x\d+|xN\(\d+\))) nodes (\d+) nps (\d+) time (\d+) pv (.+))");

TEST(AnalyseCli, OneLinePerIterationThenTheBestMove) {
  const CliRun run = RunCli("analyse --variant russian --depth 9 --engine 1");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(run.out.size(), 4u);
  uint64_t lastNodes = 0;
  for (int i = 0; i < 3; ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(run.out[i], m, IterationLine)) << run.out[i];
    EXPECT_EQ(std::stoi(m[1]), 5 + 2 * i);
    const uint64_t nodes = std::stoull(m[3]);
    EXPECT_GT(nodes, lastNodes) << "nodes are counted from the start of the search";
    lastNodes = nodes;
    // Full notation of a Russian move: c3-d4, or c3xe5 for a capture.
    std::istringstream pv(m[6].str());
    std::string move;
    int moves = 0;
    while (pv >> move) {
      EXPECT_TRUE(std::regex_match(move, std::regex("[a-h][1-8]([-x][a-h][1-8])+") ) || move == "=") << move;
      ++moves;
    }
    EXPECT_GE(moves, 2);
  }
  std::smatch last;
  ASSERT_TRUE(std::regex_match(run.out[2], last, IterationLine));
  const std::string firstPvMove = last[6].str().substr(0, last[6].str().find(' '));
  EXPECT_EQ(run.out[3], "bestmove " + firstPvMove);
}

TEST(AnalyseCli, Kestrel4IteratesOnePlyAtATime) {
  const CliRun run = RunCli("analyse --variant russian --depth 6 --generation 2");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(run.out.size(), 7u);
  for (int i = 0; i < 6; ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(run.out[i], m, IterationLine)) << run.out[i];
    EXPECT_EQ(std::stoi(m[1]), i + 1);
  }
  EXPECT_EQ(run.out[6].rfind("bestmove ", 0), 0u) << run.out[6];
}

TEST(AnalyseCli, PositionFromFen) {
  // White takes the last black man: Black has no move at the root's child.
  CliRun run = RunCli("analyse --variant russian --fen W:Wc3:Bd4. --depth 5 --engine 1");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(run.out.size(), 2u);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(run.out[0], m, IterationLine)) << run.out[0];
  EXPECT_EQ(m[2], "x1");
  EXPECT_EQ(m[6], "c3xe5");
  EXPECT_EQ(run.out[1], "bestmove c3xe5");

  // Frisian with the older generation (its default), numbers for squares.
  run = RunCli("analyse --variant frisian --fen W:W45,40,31:B33,28,24. --depth 5 --threads 2 --hash 1");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out.back(), "bestmove 40-34");
  ASSERT_TRUE(std::regex_match(run.out[0], m, IterationLine)) << run.out[0];
  EXPECT_EQ(m[2], "x2");

  // No legal move.
  run = RunCli("analyse --variant russian --fen B:Wb2,c1:Ba3. --depth 5");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::vector<std::string>{"bestmove none"});
}

TEST(AnalyseCli, TimedSearchEnds) {
  const CliRun run = RunCli("analyse --variant international --time 300 --engine 1");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_GE(run.out.size(), 2u);
  EXPECT_TRUE(std::regex_match(run.out.front(), IterationLine)) << run.out.front();
  EXPECT_EQ(run.out.back().rfind("bestmove ", 0), 0u) << run.out.back();
}

TEST(AnalyseCli, BadInputIsRefused) {
  for (const char* args : {"analyse --variant nowhere --depth 5", "analyse --variant russian",
                           "analyse --variant russian --depth 5 --time 100", "analyse --variant frisian --depth 5 --engine 1",
                           "analyse --variant canadian --depth 5 --engine 1", "analyse --variant russian --depth 5 --fen W:Wz9:B1.",
                           "analyse --variant russian --depth 5 --eval /no/such/file.eng",
                           "analyse --variant russian --depth 5 --threads 0", "analyse --variant russian --depth 500"}) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_TRUE(run.out.empty()) << args;
  }
}

TEST(AnalyseCli, EngineFileChangesTheScore) {
  // A function that values nothing but men, twice over.
  const std::string path = ::testing::TempDir() + "search_cli_" + std::to_string(::getpid()) + ".eng";
  {
    std::ofstream file(path, std::ios::binary);
    file << "Men only\r\n";
    file << ". 200 200 200 200 ; 0.man value\r\n";
  }
  // A man up: two of them against one.
  const CliRun run = RunCli("analyse --variant russian --fen W:Wa1,c1:Bh8. --depth 5 --engine 1 --eval " + path);
  std::remove(path.c_str());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::smatch m;
  ASSERT_TRUE(std::regex_match(run.out[0], m, IterationLine)) << run.out[0];
  EXPECT_EQ(m[2], "2.00");
}

TEST(BenchCli, SignatureIsRepeatable) {
  const std::regex benchLine(R"(bench (\d+) nodes (\d+) nps (\d+) ms)");
  std::string signature;
  for (int run = 0; run < 2; ++run) {
    const CliRun r = RunCli("bench --depth 5");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.out.size(), 37u);
    for (size_t i = 0; i + 1 < r.out.size(); ++i)
      EXPECT_EQ(r.out[i].rfind("position " + std::to_string(i + 1) + " ", 0), 0u) << r.out[i];
    std::smatch m;
    ASSERT_TRUE(std::regex_match(r.out.back(), m, benchLine)) << r.out.back();
    EXPECT_GT(std::stoull(m[1]), 0u);
    if (run == 0) signature = m[1];
    else EXPECT_EQ(m[1], signature);
  }
}

}  // namespace

TEST(BenchCli, Kestrel4NodeLimitKeepsItsSignature) {
  const std::regex positionLine(R"(position \d+ (\w+) depth \d+ score \S+ nodes (\d+) .*)");
  std::string first;
  for (int run = 0; run < 2; ++run) {
    const CliRun r = RunCli("bench --generation 2 --nodes 3000 --depth 7");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.out.size(), 37u);
    int limited = 0;
    for (size_t i = 0; i + 1 < r.out.size(); ++i) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(r.out[i], m, positionLine)) << r.out[i];
      // Frisian and Canadian have no Kestrel 4: the depth, not nodes, ends theirs.
      if (m[1] == "Frisian" || m[1] == "Canadian") continue;
      EXPECT_LE(std::stoull(m[2]), 3000u) << r.out[i];
      limited += m[2] == "3000";
    }
    EXPECT_GT(limited, 15);
    if (run == 0) first = r.out.back().substr(0, r.out.back().find(" nodes"));
    else EXPECT_EQ(r.out.back().substr(0, r.out.back().find(" nodes")), first);
  }
}

TEST(BenchCli, NodeLimitBelongsToKestrel4) {
  for (const char* args : {"bench --nodes 1000", "bench --generation 1 --nodes 1000",
                           "analyse --variant russian --generation 1 --nodes 1000"}) {
    const CliRun r = RunCli(args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_NE(r.err.find("--nodes belongs to --generation 2"), std::string::npos) << args << ": " << r.err;
  }
}
