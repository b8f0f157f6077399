// kestrel-cli db search and db show --fen-after, end to end on a database
// imported from PDN.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "run_cli.h"

namespace {

namespace fs = std::filesystem;

class DbSearchCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("kestrel-dbsearch-" + std::to_string(rd()));
    fs::create_directories(dir_);
    std::ofstream(dir_ / "g.pdn") << "[White \"Ivanov\"]\r\n[Black \"Petrov\"]\r\n[Result \"1-0\"]\r\n\r\n"
                                     "1. c3-d4 f6-g5 2. b2-c3 g7-f6 1-0\r\n\r\n"
                                     "[White \"Sidorov\"]\r\n[Black \"Ivanov\"]\r\n[Result \"0-1\"]\r\n\r\n"
                                     "1. c3-d4 f6-e5 2. d4:f6 g7:e5 3. b2-c3 0-1\r\n";
    const auto r = Run("pdn import " + (dir_ / "g.pdn").string() + " " + Db() + " --variant russian");
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Db() const { return (dir_ / "g.abd").string(); }
  static kestrel::testing::CliOutput Run(const std::string& args) { return kestrel::testing::RunCliCommand(args); }

  fs::path dir_;
};

TEST_F(DbSearchCli, FoundGamesThenTheSummary) {
  const auto fen = Run("db show " + Db() + " 1 --fen-after 2");
  ASSERT_EQ(fen.exitCode, 0) << fen.err;
  const std::string position = fen.Lines().at(0);
  struct TCase {
    std::string args;
    std::vector<std::string> found;
  };
  const std::vector<TCase> cases = {
      {"--fen \"" + position + "\"", {"1 2 Ivanov - Petrov"}},
      {"--white ivan", {"1 0 Ivanov - Petrov"}},
      {"--white ivan --ignore-colors", {"1 0 Ivanov - Petrov", "2 0 Sidorov - Ivanov"}},
      {"--white ivan --ignore-colors --results 1-0", {"1 0 Ivanov - Petrov", "2 0 Sidorov - Ivanov"}},
      {"--white ivan --results 0-1", {}},
      {"--results 3", {"2 0 Sidorov - Ivanov"}},
      // The capture d4:f6 (slot 3), answered: the position before it.
      {"--combination '*-*:1'", {"2 2 Sidorov - Ivanov"}},
      {"--combination '14-*:1'", {"2 2 Sidorov - Ivanov"}},
      {"--material tot=23-23", {"2 3 Sidorov - Ivanov"}},
      {"--pattern '" + std::string(32, '?') + "' --only-initial", {"1 0 Ivanov - Petrov", "2 0 Sidorov - Ivanov"}},
      {"--type international", {}},
  };
  for (const TCase& c : cases) {
    const auto r = Run("db search " + Db() + " " + c.args);
    ASSERT_EQ(r.exitCode, 0) << c.args << ": " << r.err;
    std::vector<std::string> lines = r.Lines();
    ASSERT_FALSE(lines.empty()) << c.args;
    EXPECT_EQ(lines.back().rfind("found " + std::to_string(c.found.size()) + " of 2 games in ", 0), 0u)
        << c.args << ": " << lines.back();
    lines.pop_back();
    EXPECT_EQ(lines, c.found) << c.args;
  }
}

TEST_F(DbSearchCli, BadInputIsRefusedWithAReason) {
  for (const std::string args : {"--years 1999-1990", "--years x-y", "--results 7", "--material wq=1", "--combination 1-2",
                                 "--pattern www", "--fen nonsense", "--type chess"}) {
    const auto r = Run("db search " + Db() + " " + args);
    EXPECT_EQ(r.exitCode, 2) << args;
    EXPECT_FALSE(r.err.empty()) << args;
  }
  EXPECT_EQ(Run("db show " + Db() + " 1 --fen-after 5").exitCode, 2) << "the main line has 4 plies";
  EXPECT_EQ(Run("db show " + Db() + " 3 --fen-after 0").exitCode, 2) << "no game 3";
}

}  // namespace
