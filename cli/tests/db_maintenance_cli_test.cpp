// The maintenance commands of kestrel-cli, one script over a small database
// merged from PDN text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "run_cli.h"

namespace {

namespace fs = std::filesystem;
using kestrel::testing::RunCliCommand;

class DbMaintenanceCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir = fs::temp_directory_path() / ("kestrel-dbmaint-" + std::to_string(rd()));
    fs::create_directories(dir);
    {
      std::ofstream pdn(dir / "games.pdn", std::ios::binary);
      const char* games[] = {
        "[Event \"Cup 2010 game 5\"]\n[White \"IvanPetrov\"]\n[Black \"B\"]\n[Date \"2001.01.01\"]\n[Result \"1-0\"]\n"
        "[GameType \"25\"]\n\n1. c3-d4 f6-g5 2. b2-c3 g5-h4 1-0\n",
        "[Event \"Cup\"]\n[White \"A\"]\n[Black \"B\"]\n[Date \"1999.01.01\"]\n[Result \"1/2-1/2\"]\n"
        "[GameType \"25\"]\n\n1. c3-d4 {good} f6-g5 (1... b6-a5 2. g3-h4) 2. b2-c3 1/2-1/2\n",
        "[Event \"Cup 2010 game 5\"]\n[White \"IvanPetrov\"]\n[Black \"B\"]\n[Date \"2001.01.01\"]\n[Result \"1-0\"]\n"
        "[GameType \"25\"]\n\n1. c3-d4 f6-g5 2. b2-c3 g5-h4 1-0\n",
    };
      for (const char* g : games) pdn << g << "\n";
    }
    db = (dir / "test.abd").string();
    ASSERT_EQ(Run("db create " + db).exitCode, 0);
    ASSERT_EQ(Run("db merge " + db + " " + (dir / "games.pdn").string()).exitCode, 0);
  }
  void TearDown() override { fs::remove_all(dir); }
  kestrel::testing::CliOutput Run(const std::string& args) { return RunCliCommand(args); }

  fs::path dir;
  std::string db;
};

TEST_F(DbMaintenanceCli, DedupeDeleteCleanupSort) {
  auto r = Run("db dedupe " + db + " --names");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("+ 3\t"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("1 groups, 1 duplicates"), std::string::npos) << r.out;
  r = Run("db cleanup " + db + " --full");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("2 games"), std::string::npos) << r.out;
  // The main file is the version byte and the stored games.
  r = Run("db list " + db + " --lengths");
  ASSERT_EQ(r.Lines().size(), 2u);
  int64_t sum = 0;
  for (const std::string& line : r.Lines()) sum += std::stoll(line.substr(line.rfind('\t') + 1));
  EXPECT_EQ(static_cast<int64_t>(fs::file_size(dir / "test.abm")), 1 + sum);

  r = Run("db sort " + db + " --keys date,white --save");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = Run("db sort " + db + " --keys date");
  ASSERT_EQ(r.Lines().size(), 2u);
  EXPECT_EQ(r.Lines()[0].substr(0, 2), "1\t");
  EXPECT_NE(r.Lines()[0].find("1999"), std::string::npos);
  EXPECT_EQ(Run("db sort " + db + " --keys colour").exitCode, 2);
  EXPECT_EQ(Run("db delete " + db + " 3").exitCode, 2);
  ASSERT_EQ(Run("db delete " + db + " 1-2").exitCode, 0);
  ASSERT_EQ(Run("db undelete " + db + " 2").exitCode, 0);
  r = Run("db cleanup " + db);
  EXPECT_NE(r.out.find("1 games removed"), std::string::npos) << r.out;
}

TEST_F(DbMaintenanceCli, HeadersStripNamesBackupCopyBook) {
  ASSERT_EQ(Run("db headers " + db + " all --set \"Annotator=Ann [$]\" --set Site=Here --set Year=1990").exitCode, 0);
  auto r = Run("db names " + db + " tournaments");
  EXPECT_NE(r.out.find("Tournaments=2, games=3"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(",Here,1990,2"), std::string::npos) << r.out;
  ASSERT_EQ(Run("db names " + db + " correct").exitCode, 0);
  ASSERT_EQ(Run("db names " + db + " gambler").exitCode, 0);
  r = Run("db names " + db + " sorted");
  EXPECT_NE(r.out.find("Ivan Petrov"), std::string::npos) << r.out;
  EXPECT_EQ(Run("db names " + db + " transliterate").exitCode, 2);
  r = Run("db strip " + db + " 2 --variations");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = Run("db show " + db + " 2");
  EXPECT_EQ(r.out.find("b6-a5"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("good"), std::string::npos);
  ASSERT_EQ(Run("db strip " + db + " 2 --comments").exitCode, 0);
  EXPECT_EQ(Run("db show " + db + " 2").out.find("good"), std::string::npos);

  ASSERT_EQ(Run("db backup " + db + " " + (dir / "b.zip").string()).exitCode, 0);
  EXPECT_GT(fs::file_size(dir / "b.zip"), 0u);
  ASSERT_EQ(Run("db copy " + db + " 1,3 " + (dir / "copy.abd").string()).exitCode, 0);
  EXPECT_EQ(Run("db list " + (dir / "copy.abd").string()).Lines().size(), 2u);

  const std::string book = (dir / "t.cbk").string();
  r = Run("book build " + db + " " + book + " --max-moves 1");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("3 games, 6 positions, 2 records"), std::string::npos) << r.out;
  r = Run("book show " + book + " --fen \"W:Wa1,c1,e1,g1,b2,d2,f2,h2,a3,c3,e3,g3:Bb6,d6,f6,h6,a7,c7,e7,g7,b8,d8,f8,h8.\"");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.Lines().size(), 7u);
  EXPECT_NE(r.Lines()[0].find("c3-d4"), std::string::npos) << r.out;
  EXPECT_NE(r.Lines()[0].find("+2-0=1"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find('#'), std::string::npos);
}

}  // namespace
