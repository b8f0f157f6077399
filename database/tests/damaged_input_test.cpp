// Damaged files: a damaged game is reported and skipped, the others stay
// readable, and nothing is ever written outside the database's own places.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "database/header_records.h"
#include "database/names_file.h"
#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;
namespace fs = std::filesystem;

class DamagedInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 rng(5);
    TKestrelDB db;
    FreshDatabase(dir, db);
    for (int i = 0; i < 5; ++i) {
      games.push_back(RandomGame(1 + i * 2, rng, {.legal = false, .additions = 30 + 10 * i}));
      WriteDBGame(games.back(), 0, db, false);
    }
  }

  TGameHeader Header(int n) {
    const auto idx = ReadBytes(dir.File("games.abd"));
    THeaderBytes bytes;
    std::copy_n(idx.begin() + (n - 1) * 88, 88, bytes.begin());
    TGameHeader h;
    DecodeHeader(bytes, h);
    return h;
  }

  void SetHeader(int n, const TGameHeader& h) {
    auto idx = ReadBytes(dir.File("games.abd"));
    THeaderBytes bytes;
    EncodeHeader(h, bytes);
    std::copy(bytes.begin(), bytes.end(), idx.begin() + (n - 1) * 88);
    WriteBytes(dir.File("games.abd"), idx);
  }

  // Opens, and checks that game `bad` fails with a message while every other
  // game reads back as written.
  void ExpectOnlyGameDamaged(int bad) {
    TKestrelDB db;
    ASSERT_TRUE(OpenDatabase(dir.File("games"), db, false).ok());
    for (int n = 1; n <= 5; ++n) {
      TGame game = LineGame(gtRussian, 3);  // leftovers must not survive
      std::string message;
      const bool ok = ReadDBGame(db, n, false, game, &message);
      if (n == bad) {
        EXPECT_FALSE(ok) << n;
        EXPECT_NE(message.find("Game " + std::to_string(n)), std::string::npos) << message;
        EXPECT_EQ(game.Header.LastMove, 0);
        EXPECT_EQ(game.DBGameNo, 0);
      } else {
        ASSERT_TRUE(ok) << n << ": " << message;
        ExpectSameMoves(games[n - 1], game);
      }
    }
  }

  TempDir dir;
  std::vector<TGame> games;
};

TEST_F(DamagedInputTest, OffsetsAndLengthsOutsideTheMainFile) {
  const TGameHeader good = Header(3);
  const int64_t size = static_cast<int64_t>(fs::file_size(dir.File("games.abm")));
  const std::vector<std::pair<int32_t, int32_t>> cases = {
      {static_cast<int32_t>(size), good.Length},  // starts at the end
      {static_cast<int32_t>(size - 2), 3},        // ends beyond it
      {0, good.Length},                           // over the version byte
      {-5, 10},
      {good.Offset, -1},
      {good.Offset, 0},
      {good.Offset, INT32_MAX},
      {INT32_MAX, INT32_MAX},
      {good.Offset + 1, good.Length - 1},  // inside, but not a game
  };
  for (const auto& [offset, length] : cases) {
    TGameHeader h = good;
    h.Offset = offset;
    h.Length = length;
    SetHeader(3, h);
    SCOPED_TRACE(std::to_string(offset) + " " + std::to_string(length));
    ExpectOnlyGameDamaged(3);
  }
}

TEST_F(DamagedInputTest, SlotCountsBeyondTheBlob) {
  for (int32_t last : {-1, 1 << 20, INT32_MAX, games[1].Header.LastMove + 1}) {
    TGameHeader h = Header(2);
    h.LastMove = last;
    SetHeader(2, h);
    TKestrelDB db;
    ASSERT_TRUE(OpenDatabase(dir.File("games"), db, false).ok());
    TGame game;
    std::string message;
    const bool ok = ReadDBGame(db, 2, false, game, &message);
    if (last < 0) {
      EXPECT_TRUE(ok) << message;  // no slots: the bare start position
      EXPECT_EQ(game.Header.LastMove, 0);
    } else {
      EXPECT_FALSE(ok) << last;
      EXPECT_LT(game.SlotCount(), 1 << 16);
    }
  }
}

TEST_F(DamagedInputTest, TruncatedMainFile) {
  const TGameHeader last = Header(5);
  auto main = ReadBytes(dir.File("games.abm"));
  main.resize(static_cast<std::size_t>(last.Offset + last.Length / 2));
  WriteBytes(dir.File("games.abm"), main);
  ExpectOnlyGameDamaged(5);
}

TEST_F(DamagedInputTest, GarbledNamesFile) {
  std::vector<uint8_t> junk;
  std::mt19937 rng(9);
  for (int i = 0; i < 5000; ++i) junk.push_back(static_cast<uint8_t>(rng()));
  junk.insert(junk.end(), {'\n', '^', 0, 'x', '\r', '\n'});
  WriteBytes(dir.File("games.abn"), junk);
  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(dir.File("games"), db, false).ok());
  for (int n = 1; n <= 5; ++n) {
    TGame game;
    ASSERT_TRUE(ReadDBGame(db, n, false, game)) << n;
    ExpectSameMoves(games[n - 1], game);
  }
  TNameList players, tournaments, sites;
  ParseNamesFile(std::string(junk.begin(), junk.end()), players, tournaments, sites);
  EXPECT_EQ(players.Count(), db.DBNames.Count());
  EXPECT_EQ(players[players.Count() - 1], std::string("\0x", 2));
}

TEST_F(DamagedInputTest, ReplacingAGameWithABadRecordWritesOnlyAtTheEnd) {
  for (int32_t offset : {0, -3, INT32_MAX - 10}) {
    TGameHeader h = Header(2);
    h.Offset = offset;
    h.Length = 1 << 30;
    SetHeader(2, h);
    const auto before = ReadBytes(dir.File("games.abm"));
    {
      TKestrelDB db;
      ASSERT_TRUE(OpenDatabase(dir.File("games"), db, false).ok());
      TGame game = LineGame(gtRussian, 4);
      WriteDBGame(game, 2, db, false);
      EXPECT_EQ(game.Header.Offset, static_cast<int32_t>(before.size()));
      TGame back;
      ASSERT_TRUE(ReadDBGame(db, 2, false, back));
      ExpectSameMoves(game, back);
      games[1] = game;
    }
    const auto after = ReadBytes(dir.File("games.abm"));
    ASSERT_GT(after.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));  // nothing old overwritten
    EXPECT_EQ(after[0], 30);
  }
  ExpectOnlyGameDamaged(0);
}

// Random damage to all three files: opening, reading every game and storing
// one more never crash, and afterwards the folder holds the same files.
TEST_F(DamagedInputTest, RandomDamageNeverCrashes) {
  const auto idx0 = ReadBytes(dir.File("games.abd"));
  const auto main0 = ReadBytes(dir.File("games.abm"));
  const auto names0 = ReadBytes(dir.File("games.abn"));
  std::mt19937 rng(21);
  for (int round = 0; round < 100; ++round) {
    auto idx = idx0, main = main0, names = names0;
    for (auto* file : {&idx, &main, &names}) {
      const int edits = static_cast<int>(rng() % 6);
      for (int e = 0; e < edits && !file->empty(); ++e) (*file)[rng() % file->size()] = static_cast<uint8_t>(rng());
      if (rng() % 4 == 0 && !file->empty()) file->resize(rng() % file->size());
    }
    // Now and then an older version, read through the older layouts and
    // converted; the converted files are put aside for the next round.
    if (round % 8 == 0 && !main.empty()) main[0] = static_cast<uint8_t>(20 + rng() % 10);
    for (const char* old : {"games.abd.old", "games.abn.old", "games.abm.old"}) fs::remove(dir.File(old));
    WriteBytes(dir.File("games.abd"), idx);
    WriteBytes(dir.File("games.abm"), main);
    WriteBytes(dir.File("games.abn"), names);
    TKestrelDB db;
    const TOpenResult r = OpenDatabase(dir.File("games"), db, true);
    if (!r.ok()) continue;
    TGame game;
    for (int n = 1; n <= db.DBSize; ++n) ReadDBGame(db, n, false, game);
    TGame extra = LineGame(gtRussian, 3);
    extra.WhiteName = games[0].WhiteName;  // names that are there: no names file to write
    extra.BlackName = games[0].BlackName;
    extra.Tournament = games[0].Tournament;
    extra.Site = games[0].Site;
    const int64_t mainSize = db.DBMain.Size();
    const int32_t n = WriteDBGame(extra, 0, db, false);
    EXPECT_EQ(extra.Header.Offset, mainSize);
    ASSERT_TRUE(ReadDBGame(db, n, false, game));
    ExpectSameMoves(extra, game);
  }
  for (const char* old : {"games.abd.old", "games.abn.old", "games.abm.old"}) fs::remove(dir.File(old));
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(dir.path())) files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"games.abd", "games.abm", "games.abn"}));
}

}  // namespace
}  // namespace kestrel
