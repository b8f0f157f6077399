// kestrel-cli tune: the command a run records makes the same file again,
// whatever options the run used.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "run_cli.h"

namespace {

namespace fs = std::filesystem;
using kestrel::testing::RunCliCommand;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

class TuneCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kestrel_cli_tune_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "a");
    fs::create_directories(dir_ / "b");
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(TuneCli, TheRecordedCommandMakesTheSameFileAgain) {
  const std::string record = (dir_ / "TUNING.md").string();
  const auto first = RunCliCommand(
      "tune --variant russian --games 8 --depth 2 --epochs 20 --opening-plies 4 --score-weight 0.25 --l2 1e-7 "
      "--name w --out " + (dir_ / "a").string() + " --record " + record);
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const fs::path made = dir_ / "a" / "Russian-tune-w.eng";
  ASSERT_TRUE(fs::exists(made)) << first.out;

  // The record's command, as a reader would type it, into another folder.
  const std::string text = ReadAll(record);
  const auto from = text.find("`kestrel-cli tune --"), to = text.find('`', from + 1);
  ASSERT_NE(from, std::string::npos) << text;
  const std::string command = text.substr(from + 13, to - from - 13);
  EXPECT_NE(command.find("--score-weight 0.25"), std::string::npos) << command;
  EXPECT_NE(command.find("--l2 1e-07"), std::string::npos) << command;
  const auto again = RunCliCommand(command + " --out " + (dir_ / "b").string());
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(ReadAll(dir_ / "b" / "Russian-tune-w.eng"), ReadAll(made));

  // Out-of-range options are refused before any game is played.
  for (const char* bad : {"--score-weight 1.5", "--score-weight -0.1", "--l2 -1"}) {
    const auto r = RunCliCommand("tune --variant russian --games 8 --out " + (dir_ / "b").string() + " " + bad);
    EXPECT_NE(r.exitCode, 0) << bad;
    EXPECT_NE(r.err.find("--score-weight 0 to 1"), std::string::npos) << bad << ": " << r.err;
  }
}

// Generation 2: games saved with --save-games and read back by --games-file
// (their search scores travel in the move comments) fit the same weights;
// the new options are recorded in the file's first line.
TEST_F(TuneCli, PatternGamesSavedAndReadBackFitTheSameWeights) {
  const std::string options = " --epochs 3 --score-weight 0.5 --material-pull 0.5 --kings-over-men --hold-out 3";
  const auto played = RunCliCommand("tune --generation 2 --variant russian --games 6 --depth 2 --save-games " +
                                    (dir_ / "g.pdn").string() + " --out-weights " + (dir_ / "a.k4w").string() + options);
  ASSERT_EQ(played.exitCode, 0) << played.err;
  const auto read = RunCliCommand("tune --generation 2 --variant russian --games-file " + (dir_ / "g.pdn").string() +
                                  " --out-weights " + (dir_ / "b.k4w").string() + options);
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const std::string a = ReadAll(dir_ / "a.k4w"), b = ReadAll(dir_ / "b.k4w");
  const std::string firstLine = a.substr(0, a.find('\n'));
  EXPECT_NE(firstLine.find(" --games 6 --depth 2 "), std::string::npos) << firstLine;
  EXPECT_NE(firstLine.find(options.substr(12)), std::string::npos) << firstLine;
  EXPECT_EQ(a.substr(a.find('\n')), b.substr(b.find('\n')));
  EXPECT_NE(ReadAll(dir_ / "g.pdn").find("/2 - "), std::string::npos);  // scores of the depth-2 searches

  // Larger regions started from the diamonds just fitted: a version 2 file
  // that says how it was made.
  const auto wide = RunCliCommand("tune --generation 2 --variant russian --games-file " + (dir_ / "g.pdn").string() +
                                  " --start-weights " + (dir_ / "a.k4w").string() + " --out-weights " +
                                  (dir_ / "c.k4w").string() + " --epochs 2 --family blocks+diamonds --min-count 2");
  ASSERT_EQ(wide.exitCode, 0) << wide.err;
  const std::string c = ReadAll(dir_ / "c.k4w");
  EXPECT_NE(c.find(" --start-weights a.k4w --seed 1 --epochs 2 --skip-plies 8 --family blocks+diamonds --min-count 2\n"),
            std::string::npos) << c.substr(0, 200);
  EXPECT_NE(c.find("\nK4W 2\nvariant 1\nfamily blocks+diamonds\n"), std::string::npos) << c.substr(0, 300);
  EXPECT_NE(RunCliCommand("tune --generation 2 --variant russian --games-file " + (dir_ / "g.pdn").string() +
                          " --out-weights " + (dir_ / "d.k4w").string() + " --family squares").exitCode, 0);
}

}  // namespace
