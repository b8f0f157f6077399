// kestrel-cli db commands, on databases written here byte by byte.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
};

Result RunDb(const std::string& args) {
  const auto r = kestrel::testing::RunCliCommand(args);
  return {r.exitCode, r.out};
}

class DbCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir = fs::temp_directory_path() / ("kestrel-dbcli-" + std::to_string(rd()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  static void Put(std::vector<uint8_t>& r, int offset, int size, uint32_t value) {
    for (int i = 0; i < size; ++i) r[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  }

  static void Write(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

  // Game 1: Russian, c3-d4 f6-g5 e3-f4, Ivanov - Petrov,
  // Cup at Moscow, round 2, 7 May 2015, white won. Game 2: International
  // from move 25 with black to move, one move from square 19 to 23 (34-28),
  // deleted, draw.
  std::string Database() {
    const std::vector<uint8_t> blob1 = {0, 0, 0, 0x98, 0, 0, 10, 14, 0x98, 1, 0, 23, 20, 0x98, 2, 0, 11, 15};
    const std::vector<uint8_t> blob2 = {0, 0, 2, 'h', 'i', 0x98, 0, 0, 19, 23};
    std::vector<uint8_t> main{30};
    std::vector<uint8_t> index(2 * 88, 0);
    const auto header = [&](int n, const std::vector<uint8_t>& blob, int white, int black, int type, int result,
                            int plies, int flags) {
      const int at = (n - 1) * 88;
      Put(index, at + 0, 4, white);
      Put(index, at + 12, 4, black);
      Put(index, at + 24, 4, 2);  // annotator: the empty name
      Put(index, at + 57, 1, type);
      Put(index, at + 58, 1, result);
      Put(index, at + 60, 4, plies);
      Put(index, at + 64, 2, (plies + 1) / 2);
      Put(index, at + 48, 1, flags);
      Put(index, at + 68, 4, main.size());
      Put(index, at + 72, 4, blob.size());
      main.insert(main.end(), blob.begin(), blob.end());
    };
    header(1, blob1, 0, 1, 1, 1, 3, 0);
    Put(index, 28, 4, 0);
    Put(index, 32, 4, 1);
    Put(index, 36, 4, 2);
    Put(index, 44, 1, 7);
    Put(index, 45, 1, 5);
    Put(index, 46, 2, 2015);
    header(2, blob2, 1, 0, 6, 2, 1, 128);
    Put(index, 88 + 56, 1, 1);
    Put(index, 88 + 59, 1, 48);
    Put(index, 88 + 32, 4, 0);
    const std::string base = (dir / "games").string();
    Write(base + ".abd", index);
    Write(base + ".abm", main);
    const std::string names = "^Ivanov\r\n^Petrov\r\n^\r\n*Cup\r\n@\r\n@Moscow\r\n";
    Write(base + ".abn", std::vector<uint8_t>(names.begin(), names.end()));
    return base + ".abd";
  }

  fs::path dir;
};

TEST_F(DbCliTest, CreateRefusesToReplaceWithoutForce) {
  const std::string path = (dir / "new.abd").string();
  const Result r = RunDb("db create " + path);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(fs::file_size(dir / "new.abm"), 1u);
  EXPECT_EQ(fs::file_size(dir / "new.abd"), 0u);
  EXPECT_TRUE(fs::exists(dir / "new.abn"));
  EXPECT_NE(RunDb("db create " + path).exitCode, 0);
  EXPECT_EQ(RunDb("db create --force " + path).exitCode, 0);
  EXPECT_EQ(RunDb("db info " + path).out,
            "version: 30\ngames: 0\ndeleted: 0\nplayers: 0\ntournaments: 0\nsites: 0\n");
}

TEST_F(DbCliTest, InfoListShow) {
  const std::string path = Database();
  EXPECT_EQ(RunDb("db info " + path).out, "version: 30\ngames: 2\ndeleted: 1\nplayers: 3\ntournaments: 1\nsites: 2\n");
  const Result list = RunDb("db list " + path);
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out,
            "1\tIvanov\tPetrov\tCup, Moscow [2], 07.05.2015\t1-0\tRussian\t2\t\n"
            "2\tPetrov\tIvanov\tCup\t=\tInternational\t1\tD\n");
  EXPECT_EQ(RunDb("db list " + path + " --from 2").out, "2\tPetrov\tIvanov\tCup\t=\tInternational\t1\tD\n");
  EXPECT_EQ(RunDb("db list " + path + " --from 1 --count 1").out.substr(0, 2), "1\t");
  EXPECT_EQ(RunDb("db list " + path + " --count 0").out, "");

  const Result show = RunDb("db show " + path + " 1");
  EXPECT_EQ(show.exitCode, 0);
  EXPECT_EQ(show.out,
            "Game: 1\nWhite: Ivanov\nBlack: Petrov\nEvent: Cup, Moscow [2], 07.05.2015\nResult: 1-0\n"
            "Type: Russian\nMoves: 2\n\n1. c3-d4 f6-g5 2. e3-f4 1-0\n");
  const Result second = RunDb("db show " + path + " 2");
  EXPECT_EQ(second.out,
            "Game: 2\nWhite: Petrov\nBlack: Ivanov\nEvent: Cup\nResult: =\nType: International\nMoves: 1\n"
            "Comment: hi\n\n{ hi } { } 25... 34-28 1/2-1/2\n");
  EXPECT_EQ(RunDb("db show " + path + " 3").exitCode, 2);
  // Game 2 starts with a move of the other side's man.
  EXPECT_EQ(RunDb("db check " + path).out, "Game 2: ply 1: 34-28 is no legal move\n2 games, 1 damaged\n");
}

TEST_F(DbCliTest, CheckNamesDamagedGames) {
  const std::string path = Database();
  fs::resize_file(dir / "games.abm", fs::file_size(dir / "games.abm") - 2);
  const Result r = RunDb("db check " + path);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("Game 2 is damaged"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("2 games, 1 damaged"), std::string::npos) << r.out;
  EXPECT_EQ(RunDb("db show " + path + " 2").exitCode, 1);
  EXPECT_EQ(RunDb("db show " + path + " 1").exitCode, 0);
}

TEST_F(DbCliTest, OlderVersionsNeedConversion) {
  const std::string path = Database();
  // One version-25 record of a game without moves.
  std::vector<uint8_t> index(52, 0);
  Put(index, 33, 1, 1);
  Put(index, 40, 4, 1);
  Put(index, 44, 4, 1);
  Write(dir / "games.abd", index);
  Write(dir / "games.abm", {25, 0});
  EXPECT_EQ(RunDb("db info " + path).exitCode, 1);
  EXPECT_EQ(RunDb("db convert " + path).exitCode, 0);
  EXPECT_TRUE(fs::exists(dir / "games.abd.old"));
  EXPECT_EQ(RunDb("db info " + path).out, "version: 30\ngames: 1\ndeleted: 0\nplayers: 1\ntournaments: 1\nsites: 1\n");
  EXPECT_EQ(RunDb("db info " + (dir / "none.abd").string()).exitCode, 1);
}

}  // namespace
