// A process running the full clean-up or the saved sort over and over is
// killed at random moments: the database always opens with every game.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <thread>

#include "database/maintenance/full_cleanup.h"
#include "database/maintenance/game_sort.h"
#include "maintenance_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

constexpr int GameCount = 300;

// The child repeats the command until killed; it writes one byte to the
// pipe when the first run is under way.
template <typename Command>
void KillAtRandom(const std::string& path, Command command, unsigned seed) {
  std::mt19937 rng(seed);
  for (int round = 0; round < 6; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      try {
        TKestrelDB db;
        if (!OpenDatabase(path, db, false).ok()) _exit(2);
        const char go = 1;
        if (write(fds[1], &go, 1) != 1) _exit(3);
        for (int i = 0;; ++i) command(db, i);
      } catch (...) {
        _exit(4);
      }
    }
    close(fds[1]);
    char go = 0;
    ASSERT_EQ(read(fds[0], &go, 1), 1);
    close(fds[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 60000));
    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself with " << WEXITSTATUS(status);

    TKestrelDB db;
    const TOpenResult r = OpenDatabase(path, db, false);
    ASSERT_TRUE(r.ok()) << "round " << round << ": " << r.message;
    ASSERT_EQ(db.DBSize, GameCount) << "round " << round;
    std::set<std::string> tags;
    TGame game;
    for (int n = 1; n <= db.DBSize; ++n) {
      std::string message;
      ASSERT_TRUE(ReadDBGame(db, n, false, game, &message)) << "round " << round << ": " << message;
      EXPECT_NE(game.WhiteName, "ERROR!!!");
      tags.insert(game.CommentsAft[0]);
    }
    EXPECT_EQ(tags.size(), static_cast<std::size_t>(GameCount)) << "round " << round;
  }
}

TEST(KillDuringMaintenance, FullCleanUp) {
  TempDir dir;
  {
    TKestrelDB db;
    FillDatabase(dir, db, GameCount, 21);
  }
  KillAtRandom(dir.File("games.abd"), [](TKestrelDB& db, int) { FullCleanUp(db, NoProgress()); }, 1);
}

TEST(KillDuringMaintenance, SortWithSave) {
  TempDir dir;
  {
    TKestrelDB db;
    FillDatabase(dir, db, GameCount, 22);
  }
  KillAtRandom(dir.File("games.abd"),
               [](TKestrelDB& db, int i) {
                 TGameList list;
                 list.Reset(db.DBSize);
                 const auto keys = i % 2 ? std::vector<TSortKey>{TSortKey::date, TSortKey::white}
                                         : std::vector<TSortKey>{TSortKey::black, TSortKey::length};
                 SortGameList(db, list, keys);
                 SaveSortOrder(db, list);
               },
               2);
}

}  // namespace
}  // namespace kestrel
