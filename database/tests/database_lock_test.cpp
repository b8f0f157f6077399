// One writer at a time: a second writer, in this process or another, is
// refused and may read; databases that cannot be written open read-only.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;
namespace fs = std::filesystem;

TGame Numbered(int writer, int i) {
  TGame game = LineGame(1 + i % GameTypeCount, 3 + i % 40);
  game.WhiteName = "Writer " + std::to_string(writer);
  game.BlackName = "Opponent " + std::to_string(i);
  game.CommentsAft[0] = std::to_string(writer) + "/" + std::to_string(i);
  return game;
}

TEST(DatabaseLock, ASecondWriterIsRefusedAndMayOpenReadOnly) {
  TempDir dir;
  const std::string path = dir.File("games.abd");
  TKestrelDB first;
  CreateDatabase(path, first);
  TGame game = Numbered(1, 1);
  WriteDBGame(game, 0, first, true);

  TKestrelDB second;
  const TOpenResult r = OpenDatabase(path, second, true);
  EXPECT_EQ(r.status, TOpenStatus::inUse);
  EXPECT_EQ(r.message, "Database is in use by another program");
  EXPECT_FALSE(second.DBOpened);
  // Creating over it is refused too, and cuts nothing.
  EXPECT_THROW(CreateDatabase(path, second), TDatabaseError);
  EXPECT_EQ(fs::file_size(path), 88u);

  ASSERT_TRUE(OpenDatabase(path, second, false, TDBAccess::readOnly).ok());
  EXPECT_TRUE(second.DBReadOnly);
  EXPECT_EQ(second.DBSize, 1);
  TGame other = Numbered(2, 1);
  EXPECT_THROW(WriteDBGame(other, 0, second, true), TDatabaseError);
  CloseDatabase(second);

  CloseDatabase(first);
  EXPECT_TRUE(OpenDatabase(path, second, false).ok());
  EXPECT_FALSE(second.DBReadOnly);
}

// Two processes try to append to one database at the same moment: one gets
// it, the other is refused, and no game is lost.
TEST(DatabaseLock, TwoProcessesAppendingAtOnce) {
  TempDir dir;
  const std::string path = dir.File("shared.abd");
  {
    TKestrelDB db;
    CreateDatabase(path, db);
  }
  constexpr int Games = 150;
  int opened[2], go[2];
  ASSERT_EQ(pipe(opened), 0);
  ASSERT_EQ(pipe(go), 0);
  pid_t children[2];
  for (int w = 0; w < 2; ++w) {
    children[w] = fork();
    ASSERT_GE(children[w], 0);
    if (children[w] == 0) {
      close(opened[0]);
      close(go[1]);
      TKestrelDB db;
      const TOpenResult r = OpenDatabase(path, db, false);
      const char said = r.ok() ? 'o' : r.status == TOpenStatus::inUse ? 'u' : 'x';
      if (write(opened[1], &said, 1) != 1) _exit(3);
      char token = 0;
      // Both have tried before either writes or lets go of the database.
      if (read(go[0], &token, 1) != 1) _exit(3);
      if (!r.ok()) _exit(said == 'u' ? 10 : 11);
      try {
        for (int i = 1; i <= Games; ++i) {
          TGame game = Numbered(w, i);
          WriteDBGame(game, 0, db, false);
        }
        CloseDatabase(db);
      } catch (...) {
        _exit(4);
      }
      _exit(0);
    }
  }
  close(opened[1]);
  close(go[0]);
  char said[2] = {0, 0};
  ASSERT_EQ(read(opened[0], &said[0], 1), 1);
  ASSERT_EQ(read(opened[0], &said[1], 1), 1);
  const char tokens[2] = {'g', 'g'};
  ASSERT_EQ(write(go[1], tokens, 2), 2);
  close(go[1]);
  close(opened[0]);
  int codes[2];
  for (int w = 0; w < 2; ++w) {
    int status = 0;
    ASSERT_EQ(waitpid(children[w], &status, 0), children[w]);
    ASSERT_TRUE(WIFEXITED(status));
    codes[w] = WEXITSTATUS(status);
  }
  const int winner = codes[0] == 0 ? 0 : 1;
  EXPECT_EQ(codes[winner], 0);
  EXPECT_EQ(codes[1 - winner], 10) << "exactly one writer is refused";

  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(path, db, false).ok());
  ASSERT_EQ(db.DBSize, Games);
  for (int i = 1; i <= Games; ++i) {
    TGame back;
    ASSERT_TRUE(ReadDBGame(db, i, false, back)) << i;
    EXPECT_EQ(back.CommentsAft[0], std::to_string(winner) + "/" + std::to_string(i));
    EXPECT_EQ(back.WhiteName, "Writer " + std::to_string(winner));
    ExpectSameMoves(Numbered(winner, i), back);
  }
}

// Ballots of an installed program lie in a folder the user cannot write.
TEST(DatabaseLock, FilesThatCannotBeWrittenOpenReadOnly) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
  TempDir dir;
  fs::create_directories(dir.path() / "ro");
  const std::string path = dir.File("ro/ballots.abd");
  {
    TKestrelDB db;
    CreateDatabase(path, db);
    TGame game = Numbered(1, 1);
    WriteDBGame(game, 0, db, true);
  }
  for (const bool folderOnly : {true, false}) {
    if (!folderOnly)
      for (const char* ext : {".abd", ".abm", ".abn"}) ::chmod(dir.File(std::string("ro/ballots") + ext).c_str(), 0444);
    ::chmod(dir.File("ro").c_str(), 0555);
    TKestrelDB db;
    const TOpenResult r = OpenDatabase(path, db, true);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_TRUE(db.DBReadOnly);
    TGame game;
    EXPECT_TRUE(ReadDBGame(db, 1, false, game));
    ::chmod(dir.File("ro").c_str(), 0755);
  }
}

}  // namespace
}  // namespace kestrel
