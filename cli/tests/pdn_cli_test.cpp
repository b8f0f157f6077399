// kestrel-cli pdn import / export and txt2pdn, end to end.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "run_cli.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int exitCode;
  std::string out;
  std::string err;
};

class PdnCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir = fs::temp_directory_path() / ("kestrel-pdncli-" + std::to_string(rd()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  Result Run(const std::string& args) {
    const auto r = kestrel::testing::RunCliCommand(args);
    return {r.exitCode, r.out, r.err};
  }


  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

  std::string P(const std::string& name) const { return (dir / name).string(); }

  fs::path dir;
};

const char* Games =
    "[White \"A\"]\r\n[Black \"B\"]\r\n[GameType \"20\"]\r\n\r\n1. 32-28 18-23 1-0\r\n\r\n"
    "[White \"C\"]\r\n[Black \"D\"]\r\n\r\n1. c3-d4 f6-g5 2. c3-b4 *\r\n\r\n"
    "[White \"E\"]\r\n[Black \"F\"]\r\n\r\n1. c3-d4 *\r\n";

TEST_F(PdnCliTest, ImportShowsProgressAndASummary) {
  Write(dir / "games.pdn", Games);
  const Result r = Run("pdn import " + P("games.pdn") + " " + P("games.abd") + " --variant russian");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "imported 3 games, 1 marked damaged\n");
  EXPECT_NE(r.err.find("importing: 3 games, 1 marked damaged (100%)"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("game 2 (line 7)"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(dir / "games.abm"));
  EXPECT_TRUE(fs::exists(dir / "games.abn"));
  const Result list = Run("db list " + P("games.abd"));
  EXPECT_NE(list.out.find("2\tC\tD"), std::string::npos) << list.out;
  // Read by other rules, the Russian games cannot be read.
  EXPECT_EQ(Run("pdn import " + P("games.pdn") + " " + P("games.abd") + " --variant 6").out,
            "imported 3 games, 2 marked damaged\n");
}

// Without --variant the untagged games are read as the type they fit, and
// the database check, which replays every move, names what the import marked.
TEST_F(PdnCliTest, ImportChoosesTheVariantAndTheCheckAgrees) {
  Write(dir / "games.pdn", Games);
  const Result r = Run("pdn import " + P("games.pdn") + " " + P("games.abd"));
  EXPECT_EQ(r.out, "2 games without a GameType tag: read as Russian, 1 of 2 games legal\n"
                   "imported 3 games, 1 marked damaged\n");
  const Result check = Run("db check " + P("games.abd"));
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_EQ(check.out, "Game 2: the move text was not read past \"c3-b4\"\n3 games, 1 damaged\n");
  EXPECT_EQ(Run("pdn import " + P("games.pdn") + " " + P("games.abd") + " --variant 6").out,
            "imported 3 games, 2 marked damaged\n");
  EXPECT_NE(Run("db check " + P("games.abd")).out.find("3 games, 2 damaged"), std::string::npos);
}

TEST_F(PdnCliTest, ImportCountsTextsThatLostCharacters) {
  Write(dir / "utf8.pdn", "[White \"M\xC3\xBCller\"]\n[Black \"\xD0\xA4\xD0\xB0\xD0\xB4\xD0\xB5\xD0\xB5\xD0\xB2\"]\n"
                          "[GameType \"20\"]\n1. 32-28 *\n");
  EXPECT_EQ(Run("pdn import " + P("utf8.pdn") + " " + P("utf8.abd")).out,
            "imported 1 games, 0 marked damaged, 1 texts lost characters\n");
}

TEST_F(PdnCliTest, ImportFailures) {
  EXPECT_EQ(Run("pdn import " + P("none.pdn") + " " + P("x.abd")).exitCode, 1);
  EXPECT_FALSE(fs::exists(dir / "x.abd"));
  Write(dir / "games.pdn", Games);
  EXPECT_EQ(Run("pdn import " + P("games.pdn") + " " + P("x.abd") + " --variant chess").exitCode, 2);
  EXPECT_EQ(Run("pdn import " + P("games.pdn") + " " + P("nofolder/x.abd")).exitCode, 1);
}

TEST_F(PdnCliTest, ExportRangesAndReimport) {
  Write(dir / "games.pdn", Games);
  ASSERT_EQ(Run("pdn import " + P("games.pdn") + " " + P("games.abd") + " --variant russian").exitCode, 0);
  Result r = Run("pdn export " + P("games.abd") + " " + P("all.pdn"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "exported 3 games\n");
  const std::string all = Read(dir / "all.pdn");
  EXPECT_EQ(all.rfind("[White \"A\"]\r\n[Black \"B\"]\r\n[Event \"\"]\r\n", 0), 0u) << all;
  // The damaged game keeps its unread moves as a comment, which reads back.
  EXPECT_NE(all.find("{ * c3-b4 * }"), std::string::npos) << all;
  EXPECT_EQ(Run("pdn import " + P("all.pdn") + " " + P("again.abd")).out, "imported 3 games, 0 marked damaged\n");

  r = Run("pdn export " + P("games.abd") + " " + P("some.pdn") + " --games 2-3 --italian --result-style 1");
  EXPECT_EQ(r.out, "exported 2 games\n");
  const std::string some = Read(dir / "some.pdn");
  EXPECT_EQ(some.rfind("[Bianco \"C\"]", 0), 0u) << some;
  EXPECT_EQ(Run("pdn export " + P("games.abd") + " " + P("one.pdn") + " --games 3").out, "exported 1 games\n");
  EXPECT_EQ(Run("pdn export " + P("games.abd") + " " + P("x.pdn") + " --games 3-1").exitCode, 2);
  EXPECT_EQ(Run("pdn export " + P("none.abd") + " " + P("x.pdn")).exitCode, 1);
}

TEST_F(PdnCliTest, DbShowPrintsPdnMoveText) {
  Write(dir / "games.pdn", "[GameType \"20\"]\r\n[Result \"1-0\"]\r\n\r\n{ start } 1. 32-28 $1 ( 1. 33-29 ) 18-23 { good } 1-0\r\n");
  ASSERT_EQ(Run("pdn import " + P("games.pdn") + " " + P("games.abd")).exitCode, 0);
  const Result r = Run("db show " + P("games.abd") + " 1");
  EXPECT_NE(r.out.find("\n\n{ start } 1. 32-28 $1 ( 1. 33-29 ) 18-23 { good } 1-0\n"), std::string::npos) << r.out;
}

TEST_F(PdnCliTest, TextToPdn) {
  Write(dir / "games.txt", "Ivanov - Petrov 1:0\r\n1. c3-d4 f6-g5 2. d4-c5 b6:d4\r\n");
  const Result r = Run("txt2pdn " + P("games.txt"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, P("games.txt") + ".pdn: 1 games\n");
  const std::string pdn = Read(dir / "games.txt.pdn");
  EXPECT_NE(pdn.find("[White \"Ivanov\"]\r\n[Black \"Petrov\"]\r\n[Result \"1-0\"]"), std::string::npos) << pdn;
  EXPECT_EQ(Run("pdn import " + P("games.txt.pdn") + " " + P("t.abd") + " --variant 1").out,
            "imported 1 games, 0 marked damaged\n");
  EXPECT_EQ(Run("txt2pdn " + P("none.txt")).exitCode, 1);
}

TEST_F(PdnCliTest, ReferenceFile) {
  const fs::path file = fs::path(KESTREL_SHARED_DIR) / "reference" / "pdn" / "english_tricks_traps_shots_fen.pdn";
  if (!fs::exists(file)) GTEST_SKIP() << "no reference file at " << file;
  EXPECT_EQ(Run("pdn import " + file.string() + " " + P("tricks.abd") + " --variant english").out,
            "imported 91 games, 1 marked damaged\n");
}

}  // namespace

// The names of three scripts through import, the database, `db show` and
// export, in each code page a database may hold.
TEST_F(PdnCliTest, NamesSurviveInEachDatabaseCodePage) {
  const std::string mueller = "M\xC3\xBCller Jos\xC3\xA9", fadeev = "\xD0\xA4\xD0\xB0\xD0\xB4\xD0\xB5\xD0\xB5\xD0\xB2",
                    gao = "\xE9\xAB\x98\xE6\x96\x87\xE9\xBE\x99";
  Write(dir / "names.pdn", "[Event \"" + gao + "\"]\n[White \"" + mueller + "\"]\n[Black \"" + fadeev +
                               "\"]\n[GameType \"20\"]\n1. 32-28 {" + fadeev + "} *\n");
  struct Case {
    const char* page;
    int lostTexts;
    std::vector<std::string> kept;
  };
  const Case cases[] = {{"Windows-1251", 2, {fadeev}}, {"Windows-1252", 3, {mueller}},
                        {"UTF-8", 0, {mueller, fadeev, gao}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    const std::string page = std::string(" --db-code-page ") + c.page;
    const std::string summary = "imported 1 games, 0 marked damaged" +
                                (c.lostTexts ? ", " + std::to_string(c.lostTexts) + " texts lost characters" : "");
    EXPECT_EQ(Run("pdn import " + P("names.pdn") + " " + P("names.abd") + page).out, summary + "\n");
    const std::string shown = Run("db show " + P("names.abd") + " 1" + page).out;
    Run("pdn export " + P("names.abd") + " " + P("out.pdn") + page);
    std::ifstream in(dir / "out.pdn", std::ios::binary);
    const std::string exported{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const std::string& name : c.kept) {
      EXPECT_NE(shown.find(name), std::string::npos) << shown;
      EXPECT_NE(exported.find(name), std::string::npos) << exported;
    }
    // The UTF-8 file reads back into the same database texts.
    EXPECT_EQ(Run("pdn import " + P("out.pdn") + " " + P("again.abd") + page).out,
              "imported 1 games, 0 marked damaged\n");
    EXPECT_EQ(Run("db show " + P("again.abd") + " 1" + page).out, shown);
  }
  // An 8-bit export from a UTF-8 database counts what its code page lacks.
  EXPECT_EQ(Run("pdn export " + P("names.abd") + " " + P("cp.pdn") +
                " --out-encoding Windows-1251 --db-code-page UTF-8")
                .out,
            "exported 1 games, 5 characters not in Windows-1251\n");
  std::ifstream in(dir / "cp.pdn", std::ios::binary);
  const std::string cp{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_NE(cp.find("[Black \"\xD4\xE0\xE4\xE5\xE5\xE2\"]"), std::string::npos) << cp;
  EXPECT_EQ(Run("pdn export " + P("names.abd") + " " + P("cp.pdn") + " --out-encoding KOI7").exitCode, 2);
  EXPECT_EQ(Run("db show " + P("names.abd") + " 1 --db-code-page EBCDIC").exitCode, 2);
}

// Every command reads and writes database texts in the code page the
// program's settings file names, as the windows do; --db-code-page
// overrides it for one command.
TEST_F(PdnCliTest, DatabaseCodePageComesFromTheSettingsFileUnlessGiven) {
  const std::string mueller = "M\xC3\xBCller";
  // Stored as UTF-8 bytes, the name reads differently in each code page.
  const std::map<std::string, std::string> readAs = {
      {"Windows-1251", "M\xD0\x93\xD1\x98ller"}, {"Windows-1252", "M\xC3\x83\xC2\xBCller"}, {"UTF-8", mueller}};
  Write(dir / "m.pdn", "[White \"" + mueller + "\"]\n[Black \"B\"]\n[GameType \"20\"]\n1. 32-28 *\n");
  ASSERT_EQ(Run("pdn import " + P("m.pdn") + " " + P("utf8.abd") + " --db-code-page UTF-8").exitCode, 0);

  // A copy of the tool in a folder of its own, with its settings file beside it.
  const fs::path program = dir / "program";
  fs::create_directories(program);
  std::error_code linked;
  fs::create_hard_link(KESTREL_CLI, program / "kestrel-cli", linked);
  if (linked) fs::copy_file(KESTREL_CLI, program / "kestrel-cli");
  const std::string tool = (program / "kestrel-cli").string();
  const auto writeSettings = [&](const std::string& page) {
    std::string utf16 = "\xFF\xFE";
    for (char c : "[Main]\r\nCodePage=" + page + "\r\n") utf16 += std::string{c, '\0'};
    Write(program / "winkes36.ini", utf16);
  };

  struct Case {
    const char* settings;  // nullptr: no settings file
    const char* given;     // --db-code-page, or nullptr
    const char* used;
  };
  const Case cases[] = {
      {nullptr, nullptr, "Windows-1251"},          {"Windows-1251", nullptr, "Windows-1251"},
      {"Windows-1252", nullptr, "Windows-1252"},   {"UTF-8", nullptr, "UTF-8"},
      {"Windows-1251", "UTF-8", "UTF-8"},          {"Windows-1252", "Windows-1251", "Windows-1251"},
      {"UTF-8", "Windows-1252", "Windows-1252"},   {"KOI-8", nullptr, "Windows-1251"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.settings ? c.settings : "no settings") + " / " + (c.given ? c.given : "-"));
    fs::remove(program / "winkes36.ini");
    if (c.settings) writeSettings(c.settings);
    const std::string given = c.given ? std::string(" --db-code-page ") + c.given : "";
    // Reading.
    const auto shown = kestrel::testing::RunCliProgram(tool, "db show " + P("utf8.abd") + " 1" + given);
    EXPECT_NE(shown.out.find("White: " + readAs.at(c.used) + "\n"), std::string::npos) << shown.out;
    // Only a name the program does not know is reported.
    EXPECT_EQ(shown.err.find("Unknown code page \"KOI-8\"") != std::string::npos,
              c.settings && std::string(c.settings) == "KOI-8")
        << shown.err;
    // Writing: the name is stored in the page used, so it reads back in that
    // page, except where the page has no "ü".
    const std::string written = P("w" + std::to_string(&c - cases) + ".abd");
    ASSERT_EQ(kestrel::testing::RunCliProgram(tool, "pdn import " + P("m.pdn") + " " + written + given).exitCode, 0);
    const std::string back = Run("db show " + written + " 1 --db-code-page " + c.used).out;
    EXPECT_EQ(back.find("White: " + mueller + "\n") != std::string::npos, std::string(c.used) != "Windows-1251")
        << back;
  }
}
