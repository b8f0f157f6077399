// A version-25 database, written here byte by byte from the older layouts,
// converted to version 30 on opening.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "database/conversion.h"
#include "database/derived_header.h"
#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;
namespace fs = std::filesystem;

struct OldGame {
  int type = gtRussian;
  int white = 0, black = 1, tournament = 0, site = 0;
  int result = 1;
  int plies = 0;
  bool setUp = false;         // International position in the 17-byte packing
  std::string comment;        // before the first move
  bool damaged = false;       // blob cut short
};

void Put(std::vector<uint8_t>& r, std::size_t offset, int size, uint32_t value) {
  for (int i = 0; i < size; ++i) r[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

int From(int ply) { return 1 + ply % 28; }

std::vector<uint8_t> OldBlob(const OldGame& g) {
  std::vector<uint8_t> b;
  if (g.setUp) {
    b.push_back(1);
    for (int j = 0; j < 17; ++j) b.push_back(j == 0 ? 2 + 5 * 3 + 25 * 2 : 62);  // white man on square 2
  } else {
    b.push_back(0);
  }
  for (int i = 1; i <= g.plies; ++i) {
    const bool annotated = i == 1 && !g.comment.empty();
    const int parent = i - 1;
    const bool shortParent = parent < 256;
    b.push_back(static_cast<uint8_t>(0x80 | 0x08 | (shortParent ? 0x10 : 0) | (annotated ? 0x20 : 0)));
    if (annotated) {
      b.insert(b.end(), {0x00, 0x02, 0x00, static_cast<uint8_t>(g.comment.size())});
      b.insert(b.end(), g.comment.begin(), g.comment.end());
      b.insert(b.end(), {0x00, 0x00});
    }
    if (!shortParent) b.push_back(static_cast<uint8_t>(parent >> 8));
    b.push_back(static_cast<uint8_t>(parent & 0xFF));
    b.insert(b.end(), {static_cast<uint8_t>(From(i)), static_cast<uint8_t>(From(i) + 4)});
  }
  if (g.damaged) b.resize(b.size() - 1);
  return b;
}

void WriteOldDatabase(const std::string& base, const std::vector<OldGame>& games, const std::string& names) {
  std::vector<uint8_t> main{25}, index;
  for (const OldGame& g : games) {
    const std::vector<uint8_t> blob = OldBlob(g);
    std::vector<uint8_t> r(52, 0);
    Put(r, 0, 2, g.white);
    Put(r, 4, 2, 2000);
    Put(r, 8, 2, g.black);
    Put(r, 16, 2, 0);
    Put(r, 18, 2, g.tournament);
    Put(r, 20, 2, g.site);
    Put(r, 22, 1, 3);
    Put(r, 24, 1, 9);
    Put(r, 25, 1, 5);
    Put(r, 26, 2, 1987);
    Put(r, 33, 1, g.type);
    Put(r, 34, 1, g.result);
    Put(r, 36, 2, g.plies);
    Put(r, 38, 1, (g.plies + 1) / 2);
    Put(r, 40, 4, static_cast<uint32_t>(main.size()));
    Put(r, 44, 4, static_cast<uint32_t>(blob.size()));
    Put(r, 48, 2, 321);
    main.insert(main.end(), blob.begin(), blob.end());
    index.insert(index.end(), r.begin(), r.end());
  }
  WriteBytes(base + ".abm", main);
  WriteBytes(base + ".abd", index);
  WriteBytes(base + ".abn", std::vector<uint8_t>(names.begin(), names.end()));
}

class ConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    games.resize(6);
    for (int i = 0; i < 6; ++i) {
      games[i].plies = 3 + 50 * i;  // the last ones need parents above 255
      games[i].white = i % 3;
      games[i].black = (i + 1) % 3;
      games[i].result = i % 4;
    }
    games[1].type = gtInternational;
    games[1].setUp = true;
    games[2].comment = "old note";
    games[4].type = gtCanadian;
    WriteOldDatabase(base(), games, "^Ivanov\r\n^Petrov\r\n^Sidorov\r\n*Cup, game 12\r\n@Moscow\r\n");
  }
  std::string base() const { return dir.File("old"); }

  TempDir dir;
  std::vector<OldGame> games;
};

TEST_F(ConversionTest, NotOpenedWithoutConversion) {
  TKestrelDB db;
  const TOpenResult r = OpenDatabase(base() + ".abd", db, false);
  EXPECT_EQ(r.status, TOpenStatus::notConverted);
  EXPECT_FALSE(db.DBOpened);
  EXPECT_FALSE(fs::exists(base() + ".abd.old"));
  EXPECT_FALSE(fs::exists(dir.File("old_new.abd")));
  EXPECT_EQ(ReadBytes(base() + ".abm")[0], 25);
}

TEST_F(ConversionTest, ConvertedOnOpeningWithTheSameGamesInOrder) {
  const std::vector<uint8_t> oldIndex = ReadBytes(base() + ".abd");
  TKestrelDB db;
  const TOpenResult r = OpenDatabase(base() + ".abd", db, true);
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_TRUE(r.notes.empty());
  EXPECT_EQ(db.DBType, 30);
  EXPECT_EQ(db.DBNameIdx, base() + ".abd");
  ASSERT_EQ(db.DBSize, 6);
  EXPECT_EQ(ReadBytes(base() + ".abm")[0], 30);
  EXPECT_EQ(ReadBytes(base() + ".abd").size(), 6u * 88);
  EXPECT_EQ(ReadBytes(base() + ".abd.old"), oldIndex);
  EXPECT_TRUE(fs::exists(base() + ".abn.old"));
  EXPECT_EQ(ReadBytes(base() + ".abm.old")[0], 25);
  EXPECT_FALSE(fs::exists(dir.File("old_new.abd")));

  const char* players[] = {"Ivanov", "Petrov", "Sidorov"};
  for (int n = 1; n <= 6; ++n) {
    const OldGame& g = games[n - 1];
    TGame game;
    std::string message;
    ASSERT_TRUE(ReadDBGame(db, n, false, game, &message)) << n << ": " << message;
    EXPECT_EQ(game.Header.TypeOfGame, g.type);
    EXPECT_EQ(game.WhiteName, players[g.white]);
    EXPECT_EQ(game.BlackName, players[g.black]);
    EXPECT_EQ(game.Tournament, "Cup, game xx");
    EXPECT_EQ(game.Site, "Moscow");
    EXPECT_EQ(game.Header.Result, g.result);
    EXPECT_EQ(game.Header.White.Rating, 2000);
    EXPECT_EQ(game.Header.Round, 3);
    EXPECT_EQ(game.Header.Date.Year, 1987);
    EXPECT_EQ(game.Header.Opening, 321);
    ASSERT_EQ(game.Header.LastMove, g.plies);
    EXPECT_EQ(MainLineLength(game), g.plies);
    EXPECT_EQ(game.Header.GameLength, (g.plies + 1) / 2);
    for (int i = 1; i <= g.plies; ++i) {
      EXPECT_EQ(game.Moves[i].parent, i - 1);
      EXPECT_EQ(game.Moves[i].mv[0], From(i));
      EXPECT_EQ(game.Moves[i].mv[1], From(i) + 4);
    }
    EXPECT_TRUE(game.CommentsAft[0].empty());
    if (!g.comment.empty()) {
      EXPECT_EQ(game.CommentsBef[1], g.comment);
      EXPECT_EQ(game.Moves[1].comm, 2);
      EXPECT_EQ(game.Header.Flags & (hfComments | hfFewComments), hfFewComments);
    }
    TBrd board;
    ASSERT_TRUE(UnpackBoard(game.StartBoard, board));
    if (g.setUp) {
      TBrd expected;
      expected[2] = WhiteMan;
      EXPECT_EQ(board, expected);
      EXPECT_EQ(game.Header.Flags & 3, hfSetUp);
    } else {
      EXPECT_EQ(board, InitialPosition(g.type).b);
    }
  }
  // Reopening finds version 30 and converts nothing more.
  ASSERT_TRUE(OpenDatabase(base(), db, false).ok());
  EXPECT_EQ(db.DBSize, 6);
}

TEST_F(ConversionTest, ADamagedGameKeepsItsPlaceAndHeader) {
  games[3].damaged = true;
  WriteOldDatabase(base(), games, "^Ivanov\r\n^Petrov\r\n^Sidorov\r\n*Cup\r\n@Moscow\r\n");
  TKestrelDB db;
  const TOpenResult r = OpenDatabase(base(), db, true);
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.notes.size(), 1u);
  EXPECT_NE(r.notes[0].find("Game 4"), std::string::npos) << r.notes[0];
  ASSERT_EQ(db.DBSize, 6);
  TGame game;
  ASSERT_TRUE(ReadDBGame(db, 4, false, game));
  EXPECT_EQ(game.Header.LastMove, 0);
  EXPECT_NE(game.Header.Flags & hfDeleted, 0);
  EXPECT_EQ(game.WhiteName, "Ivanov");
  EXPECT_EQ(game.Header.Date.Year, 1987);
  ASSERT_TRUE(ReadDBGame(db, 5, false, game));
  EXPECT_EQ(game.Header.LastMove, games[4].plies);
}

TEST_F(ConversionTest, FailedRenameReportsTheError) {
  // A folder in the way of the first rename.
  fs::create_directories(base() + ".abd.old/x");
  TKestrelDB db;
  const TOpenResult r = OpenDatabase(base(), db, true);
  EXPECT_EQ(r.status, TOpenStatus::conversionFailed);
  EXPECT_EQ(r.message, "Error converting Database!");
  EXPECT_FALSE(db.DBOpened);
  EXPECT_EQ(ReadBytes(base() + ".abm")[0], 25);  // the old files are where they were
  EXPECT_TRUE(fs::exists(dir.File("old_new.abd")));
}

// A conversion stopped after each of its six renames (the old files to
// ".old", then the new ones into place) is finished by the next opening,
// which finds the converted games and never offers a new database.
TEST_F(ConversionTest, ConversionCutShortAfterAnyRenameIsFinishedOnOpening) {
  const std::vector<std::pair<std::string, std::string>> renames = {
      {base() + ".abd", base() + ".abd.old"},       {base() + ".abn", base() + ".abn.old"},
      {base() + ".abm", base() + ".abm.old"},       {dir.File("old_new.abd"), base() + ".abd"},
      {dir.File("old_new.abn"), base() + ".abn"}, {dir.File("old_new.abm"), base() + ".abm"}};
  for (std::size_t done = 0; done < renames.size(); ++done) {
    SCOPED_TRACE("renames done: " + std::to_string(done));
    WriteOldDatabase(base(), games, "^Ivanov\r\n^Petrov\r\n^Sidorov\r\n*Cup, game 12\r\n@Moscow\r\n");
    {
      TKestrelDB db;
      ASSERT_TRUE(OpenDatabase(base(), db, true).ok());
    }
    // Undo the renames made after `done`, last first.
    for (std::size_t k = renames.size(); k-- > done;) fs::rename(renames[k].second, renames[k].first);
    WriteBytes(ConversionMarkerPath(base()), {});

    TKestrelDB db;
    const TOpenResult r = OpenDatabase(base(), db, false);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(db.DBType, 30);
    EXPECT_EQ(db.DBSize, 6);
    TGame game;
    ASSERT_TRUE(ReadDBGame(db, 6, false, game));
    EXPECT_EQ(game.Header.LastMove, games[5].plies);
    for (const char* ext : {".abd.old", ".abn.old", ".abm.old"}) EXPECT_TRUE(fs::exists(base() + ext)) << ext;
    EXPECT_FALSE(fs::exists(dir.File("old_new.abd")));
    EXPECT_FALSE(fs::exists(ConversionMarkerPath(base())));
    CloseDatabase(db);
    for (const char* ext : {".abd.old", ".abn.old", ".abm.old"}) fs::remove(base() + ext);
  }
}

// Conversions killed at random moments: the next opening with conversion
// always finds the six games, from the old files or the new ones.
TEST_F(ConversionTest, KilledConversionsAreRecovered) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    for (int i = 1;; ++i) {
      const std::string b = dir.File("round" + std::to_string(i));
      WriteOldDatabase(b, games, "^Ivanov\r\n^Petrov\r\n*Cup\r\n@Moscow\r\n");
      if (write(fds[1], &i, sizeof i) != sizeof i) _exit(3);
      TKestrelDB db;
      if (!OpenDatabase(b, db, true).ok()) _exit(2);
    }
  }
  close(fds[1]);
  int written = 0, value = 0;
  while (written < 25 && read(fds[0], &value, sizeof value) == sizeof value) written = value;
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << WEXITSTATUS(status);
  while (read(fds[0], &value, sizeof value) == sizeof value) written = value;
  close(fds[0]);
  for (int i = 1; i <= written; ++i) {
    TKestrelDB db;
    const TOpenResult r = OpenDatabase(dir.File("round" + std::to_string(i)), db, true);
    ASSERT_TRUE(r.ok()) << i << ": " << r.message;
    EXPECT_EQ(db.DBType, 30) << i;
    EXPECT_EQ(db.DBSize, 6) << i;
  }
}

}  // namespace
}  // namespace kestrel
