// A process that saves or replaces games one by one is killed in the middle:
// every game whose save had returned reads back whole, names included, and a
// replaced game reads as its old or its new version.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

// Every game brings names of its own, so each save adds names.
TGame NumberedGame(int i) {
  TGame game = LineGame(1 + i % GameTypeCount, 20 + i % 37);
  game.WhiteName = "White player " + std::to_string(i);
  game.BlackName = "Black player " + std::to_string(i);
  game.AnnotatorName = i % 3 == 0 ? "Annotator " + std::to_string(i) : "";
  game.Tournament = "Tournament " + std::to_string(i / 4);
  game.Site = "Site " + std::to_string(i);
  game.CommentsAft[0] = "game " + std::to_string(i);
  return game;
}

// The child: creates the database, then saves games as "Save game" does (or
// as an import does, names kept back) and reports each completed save by its
// number on the pipe. Never returns.
[[noreturn]] void SaveUntilKilled(const std::string& path, int out, bool saveNames) {
  try {
    TKestrelDB db;
    CreateDatabase(path, db);
    for (int i = 1;; ++i) {
      TGame game = NumberedGame(i);
      const int32_t n = WriteDBGame(game, 0, db, saveNames);
      if (n != i) _exit(2);
      if (write(out, &i, sizeof i) != sizeof i) _exit(3);
    }
  } catch (...) {
    _exit(4);
  }
}

// Runs `work` in a child that reports numbers on a pipe, kills it without
// warning once it has reported `atLeast`, in the middle of whatever it is
// doing, and returns the last number it reported.
template <class Work>
int RunAndKill(int atLeast, Work work) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    close(fds[0]);
    work(fds[1]);
  }
  close(fds[1]);
  int completed = 0;
  int value = 0;
  while (completed < atLeast && read(fds[0], &value, sizeof value) == sizeof value) completed = value;
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status)) << "the child ended by itself with " << WEXITSTATUS(status);
  // Saves that returned before the kill reported themselves.
  while (read(fds[0], &value, sizeof value) == sizeof value) completed = value;
  close(fds[0]);
  return completed;
}

class CrashSafety : public ::testing::TestWithParam<bool> {};

TEST_P(CrashSafety, SavedGamesSurviveAKill) {
  TempDir dir;
  const std::string path = dir.File("crash.abd");
  const int completed = RunAndKill(40, [&](int out) { SaveUntilKilled(path, out, GetParam()); });
  ASSERT_GE(completed, 40);

  TKestrelDB db;
  const TOpenResult r = OpenDatabase(path, db, false);
  ASSERT_TRUE(r.ok()) << r.message;
  ASSERT_GE(db.DBSize, completed);
  for (int i = 1; i <= completed; ++i) {
    const TGame expected = NumberedGame(i);
    TGame game;
    std::string message;
    ASSERT_TRUE(ReadDBGame(db, i, false, game, &message)) << i << ": " << message;
    EXPECT_EQ(game.WhiteName, expected.WhiteName) << i;
    EXPECT_EQ(game.BlackName, expected.BlackName) << i;
    EXPECT_EQ(game.AnnotatorName, expected.AnnotatorName) << i;
    EXPECT_EQ(game.Tournament, expected.Tournament) << i;
    EXPECT_EQ(game.Site, expected.Site) << i;
    ExpectSameMoves(expected, game);
  }
}

INSTANTIATE_TEST_SUITE_P(NamesSavedOrKeptBack, CrashSafety, ::testing::Bool());

// Version v of game n: short and long versions take turns, so a replacement
// that wrote over the old moves would be caught half done.
TGame Version(int n, int v) {
  TGame game = LineGame(1 + n % GameTypeCount, v % 2 ? 60 : 5);
  game.WhiteName = "Player " + std::to_string(n);
  game.CommentsAft[0] = std::to_string(v);
  return game;
}

constexpr int ReplacedGames = 8;

[[noreturn]] void ReplaceUntilKilled(const std::string& path, int out) {
  try {
    TKestrelDB db;
    const TOpenResult r = OpenDatabase(path, db, false);
    if (!r.ok()) _exit(2);
    for (int v = 1;; ++v) {
      for (int n = 1; n <= ReplacedGames; ++n) {
        TGame game = Version(n, v);
        WriteDBGame(game, n, db, true);
      }
      if (write(out, &v, sizeof v) != sizeof v) _exit(3);
    }
  } catch (...) {
    _exit(4);
  }
}

TEST(CrashSafetyOfReplace, AReplacedGameReadsAsItsOldOrItsNewVersion) {
  TempDir dir;
  const std::string path = dir.File("replace.abd");
  {
    TKestrelDB db;
    CreateDatabase(path, db);
    for (int n = 1; n <= ReplacedGames; ++n) {
      TGame game = Version(n, 0);
      WriteDBGame(game, 0, db, true);
    }
  }
  const int rounds = RunAndKill(30, [&](int out) { ReplaceUntilKilled(path, out); });
  ASSERT_GE(rounds, 30);
  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(path, db, false).ok());
  ASSERT_EQ(db.DBSize, ReplacedGames);
  for (int n = 1; n <= ReplacedGames; ++n) {
    TGame game;
    std::string message;
    ASSERT_TRUE(ReadDBGame(db, n, false, game, &message)) << n << ": " << message;
    const int v = std::atoi(game.CommentsAft[0].c_str());
    EXPECT_GE(v, rounds) << n;
    EXPECT_LE(v, rounds + 1) << n;
    ExpectSameMoves(Version(n, v), game);
  }
}

// The moment between the two writes of a replacement, made to last: the
// header record cannot be written, and the stored game is still the old one.
TEST(CrashSafetyOfReplace, AReplacementCutShortLeavesTheOldGame) {
  TempDir dir;
  const std::string path = dir.File("cut.abd");
  TGame old = Version(1, 1);
  {
    TKestrelDB db;
    CreateDatabase(path, db);
    WriteDBGame(old, 0, db, true);
    ASSERT_TRUE(db.DBIdx.Open(db.DBNameIdx, TBinaryFile::TMode::readOnly));
    TGame shorter = Version(1, 2);
    EXPECT_THROW(WriteDBGame(shorter, 1, db, true), TDatabaseError);
  }
  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(path, db, false).ok());
  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  ExpectSameMoves(old, back);
}

// A bulk write keeps the names file rewrite for the end, but a header record
// never refers to a name the file does not hold yet.
TEST(CrashSafetyOfNames, BulkWritesPutNamesOnDiskBeforeTheHeaders) {
  TempDir dir;
  const std::string path = dir.File("bulk.abd");
  TKestrelDB writer;
  CreateDatabase(path, writer);
  for (int i = 1; i <= 5; ++i) {
    TGame game = NumberedGame(i);
    WriteDBGame(game, 0, writer, false);
    // What a crash right now would leave, read by another reader.
    TKestrelDB reader;
    ASSERT_TRUE(OpenDatabase(path, reader, false, TDBAccess::readOnly).ok());
    for (int n = 1; n <= i; ++n) {
      TGame back;
      ASSERT_TRUE(ReadDBGame(reader, n, false, back));
      EXPECT_EQ(back.WhiteName, NumberedGame(n).WhiteName) << i << " " << n;
      EXPECT_EQ(back.Tournament, NumberedGame(n).Tournament) << i << " " << n;
      EXPECT_EQ(back.Site, NumberedGame(n).Site) << i << " " << n;
    }
  }
  // Closing writes the file in its usual order: players, tournaments, sites.
  CloseDatabase(writer);
  const std::string text = ReadText(dir.File("bulk.abn"));
  EXPECT_LT(text.rfind('^'), text.find('*'));
  EXPECT_LT(text.rfind('*'), text.find('@'));
}

}  // namespace
}  // namespace kestrel
