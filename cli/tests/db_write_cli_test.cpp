// kestrel-cli db append, db replace, db ballot and ballots build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "run_cli.h"

namespace {

namespace fs = std::filesystem;
using kestrel::testing::RunCliCommand;

struct Folder {
  Folder() : path(fs::path(::testing::TempDir()) / ("kestrel_dbw_" + std::to_string(::getpid()))) {
    fs::create_directories(path);
  }
  ~Folder() { fs::remove_all(path); }
  std::string File(const std::string& name) const { return (path / name).string(); }
  fs::path path;
};

TEST(DbWriteCli, AppendThenReplace) {
  Folder dir;
  const std::string db = dir.File("g.abd");
  std::ofstream(dir.File("two.pdn")) << "[White \"A\"]\n[GameType \"25\"]\n\n1. c3-d4 f6-g5 *\n\n"
                                     << "[White \"B\"]\n[GameType \"25\"]\n\n1. a3-b4 qq *\n";
  std::ofstream(dir.File("one.pdn")) << "[White \"Replacement\"]\n[GameType \"25\"]\n\n1. e3-f4 *\n";
  ASSERT_EQ(RunCliCommand("db create " + db).exitCode, 0);
  auto r = RunCliCommand("db append " + db + " " + dir.File("two.pdn"));
  EXPECT_EQ(r.exitCode, 1) << "one game is damaged";
  EXPECT_NE(r.out.find("2 games appended, 1 damaged"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("first damaged: game 2"), std::string::npos) << r.out;
  r = RunCliCommand("db append " + db + " " + dir.File("one.pdn"));
  EXPECT_EQ(r.exitCode, 0) << r.err;

  const struct {
    std::string args;
    int exitCode;
  } cases[] = {{"db replace " + db + " 1 " + dir.File("one.pdn"), 0},
               {"db replace " + db + " 9 " + dir.File("one.pdn"), 2},
               {"db replace " + db + " 0 " + dir.File("one.pdn"), 2},
               {"db replace " + dir.File("none.abd") + " 1 " + dir.File("one.pdn"), 1}};
  for (const auto& c : cases) EXPECT_EQ(RunCliCommand(c.args).exitCode, c.exitCode) << c.args;
  r = RunCliCommand("db list " + db);
  ASSERT_EQ(r.Lines().size(), 3u) << r.out;
  EXPECT_EQ(r.Lines()[0].substr(0, 13), "1\tReplacement");
  EXPECT_EQ(r.Lines()[2].substr(0, 13), "3\tReplacement");
}

TEST(DbWriteCli, BallotsBuiltAndDrawn) {
  Folder dir;
  fs::copy_file(std::string(KESTREL_SOURCE_DIR) + "/data/Ballots/ballot_lists.txt", dir.File("ballot_lists.txt"));
  auto r = RunCliCommand("ballots build " + dir.path.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("fly.abd: 745 ballots"), std::string::npos) << r.out;
  r = RunCliCommand("db ballot --variant English --kind full --seed 9 --folder " + dir.path.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("[Round \""), std::string::npos) << "the ACF number: " << r.out;
  EXPECT_NE(r.out.find("1. "), std::string::npos) << r.out;
  r = RunCliCommand("db ballot --variant Czech --kind full --folder " + dir.path.string());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Not found Ballots database"), std::string::npos);
}

}  // namespace
