// A process that saves games one by one is killed in the middle: every game
// whose save had returned reads back whole, names included.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The child: creates the database, then saves games as "Save game" does and
// reports each completed save by its number on the pipe. Never returns.
[[noreturn]] void SaveUntilKilled(const std::string& path, int out) {
  try {
    TKestrelDB db;
    CreateDatabase(path, db);
    for (int i = 1;; ++i) {
      TGame game = NumberedGame(i);
      const int32_t n = WriteDBGame(game, 0, db, true);
      if (n != i) _exit(2);
      if (write(out, &i, sizeof i) != sizeof i) _exit(3);
    }
  } catch (...) {
    _exit(4);
  }
}

TEST(CrashSafety, SavedGamesSurviveAKill) {
  TempDir dir;
  const std::string path = dir.File("crash.abd");
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    SaveUntilKilled(path, fds[1]);
  }
  close(fds[1]);
  int completed = 0;
  int value = 0;
  // Let it run a while, then kill it without warning, in the middle of
  // whatever it is doing.
  while (completed < 40 && read(fds[0], &value, sizeof value) == sizeof value) completed = value;
  ASSERT_EQ(kill(child, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself with " << WEXITSTATUS(status);
  // Saves that returned before the kill reported themselves.
  while (read(fds[0], &value, sizeof value) == sizeof value) completed = value;
  close(fds[0]);
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

}  // namespace
}  // namespace kestrel
