#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "run_cli.h"

namespace {

namespace fs = std::filesystem;
using kestrel::testing::RunCliCommand;
using kestrel::testing::RunCliProgram;

std::size_t CountGames(const std::string& pdnPath) {
  std::ifstream in(pdnPath);
  const std::string pdn{std::istreambuf_iterator<char>(in), {}};
  std::size_t games = 0;
  for (std::size_t p = pdn.find("[White "); p != std::string::npos; p = pdn.find("[White ", p + 1)) ++games;
  return games;
}

class MatchCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kestrel_cli_match_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(MatchCli, PlaysPairsAndSummarisesTheScore) {
  ASSERT_EQ(RunCliCommand("engine-file material --variant russian --out " + Path("mat.eng")).exitCode, 0);
  ASSERT_EQ(RunCliCommand("engine-file defaults --variant russian --out " + Path("")).exitCode, 0);
  const auto r = RunCliCommand("match --variant russian --engine " + Path("Russian/Russian.eng") + " --engine " +
                               Path("mat.eng") + " --games 6 --depth 1 --concurrency 2 --pdn " + Path("out.pdn"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = r.Lines();
  ASSERT_EQ(lines.size(), 8u) << r.out;
  const std::regex game(R"(game [1-6]  (Russian - mat|mat - Russian)  (1-0|0-1|1/2-1/2)  \(.*\)  \d+ \d+ \d+)");
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(std::regex_match(lines[i], game)) << lines[i];
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[6], m, std::regex(R"(score (\d+) (\d+) (\d+)  elo -?[\d.]+ \+- [\d.]+  los [\d.]+%)")))
      << lines[6];
  EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]), 6);
  // The three pairs hold the same points: a pair of 0..4 half points each.
  std::smatch p;
  ASSERT_TRUE(std::regex_match(lines[7], p, std::regex(R"(pairs (\d+) (\d+) (\d+) (\d+) (\d+)  elo -?[\d.]+ \+- [\d.]+  los [\d.]+%)")))
      << lines[7];
  int pairs = 0, halfPoints = 0;
  for (int h = 0; h < 5; ++h) {
    pairs += std::stoi(p[h + 1]);
    halfPoints += h * std::stoi(p[h + 1]);
  }
  EXPECT_EQ(pairs, 3);
  EXPECT_EQ(halfPoints, 2 * std::stoi(m[1]) + std::stoi(m[2]));
  EXPECT_EQ(CountGames(Path("out.pdn")), 6u);

  // The same seed gives the same games.
  const auto again = RunCliCommand("match --variant russian --engine " + Path("Russian/Russian.eng") + " --engine " +
                                   Path("mat.eng") + " --games 6 --depth 1");
  const auto againLines = again.Lines();
  ASSERT_EQ(againLines.size(), 8u) << again.out;
  EXPECT_EQ(againLines[6], lines[6]);
  EXPECT_EQ(againLines[7], lines[7]);
}

// Russian plays Kestrel 4 by default, which evaluates with its pattern
// weights; an engine file must still be what plays, or two different files
// would play the same games and every match between them would be even.
TEST_F(MatchCli, EachEngineFilePlaysWithItsOwnEvaluation) {
  ASSERT_EQ(RunCliCommand("engine-file material --variant russian --out " + Path("mat.eng")).exitCode, 0);
  ASSERT_EQ(RunCliCommand("engine-file defaults --variant russian --out " + Path("")).exitCode, 0);
  const auto r = RunCliCommand("match --variant russian --engine " + Path("Russian/Russian.eng") + " --engine " +
                               Path("mat.eng") + " --games 2 --depth 3 --pdn " + Path("pair.pdn"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::ifstream in(Path("pair.pdn"));
  const std::string pdn{std::istreambuf_iterator<char>(in), {}};
  // The moves of each game: its lines that are not tags, without the
  // comments (they hold search times, which differ from game to game).
  std::vector<std::string> moves;
  std::istringstream lines(pdn);
  bool inComment = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("[Event ", 0) == 0) moves.emplace_back();
    if (moves.empty() || (!line.empty() && line[0] == '[')) continue;
    for (char c : line) {
      if (c == '{') inComment = true;
      else if (c == '}') inComment = false;
      else if (!inComment && c != ' ') moves.back() += c;
    }
  }
  ASSERT_EQ(moves.size(), 2u) << pdn;
  // One opening with colours exchanged: the same players would repeat the game.
  EXPECT_NE(moves[0], moves[1]);
}

// A long match stopped by a signal still prints its score and keeps every
// game it counted; the games in play when it stopped are not counted.
TEST_F(MatchCli, AStoppedMatchKeepsTheGamesItCounted) {
  ASSERT_EQ(RunCliCommand("engine-file material --variant russian --out " + Path("mat.eng")).exitCode, 0);
  ASSERT_EQ(RunCliCommand("engine-file defaults --variant russian --out " + Path("")).exitCode, 0);
  const std::string match = std::string(KESTREL_CLI) + " match --variant russian --engine " +
                            Path("Russian/Russian.eng") + " --engine " + Path("mat.eng") +
                            " --games 2000 --time 30 --concurrency 2 --pdn " + Path("stopped.pdn");
  const auto r = RunCliProgram("sh", "-c '" + match + " & p=$!; sleep 3; kill -TERM $p; wait $p'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string score;
  for (const std::string& line : r.Lines())
    if (line.rfind("score ", 0) == 0) score = line;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(score, m, std::regex(R"(score (\d+) (\d+) (\d+))"))) << r.out;
  const int counted = std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]);
  EXPECT_LT(counted, 2000);
  EXPECT_EQ(CountGames(Path("stopped.pdn")), static_cast<std::size_t>(counted));
  EXPECT_NE(r.err.find("match stopped"), std::string::npos) << r.err;
}

TEST_F(MatchCli, RefusesContradictoryOrMissingOptions) {
  ASSERT_EQ(RunCliCommand("engine-file material --variant russian --out " + Path("mat.eng")).exitCode, 0);
  const std::string two = " --variant russian --engine " + Path("mat.eng") + " --engine " + Path("mat.eng");
  for (const std::string& args : {two + " --depth 1", two + " --games 2", two + " --games 2 --time 10 --tc 60",
                                  two + " --sprt 5,0 --depth 1", two + " --games 2 --tc 40/x",
                                  std::string(" --variant russian --engine " + Path("mat.eng") + " --games 2 --depth 1"),
                                  two + " --games 2 --depth 1 --ballots full --variant international"}) {
    const auto r = RunCliCommand("match" + args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_FALSE(r.err.empty()) << args;
  }
}

}  // namespace
