// Check database on damaged records; the progress estimate.
#include <gtest/gtest.h>

#include "database/maintenance/database_check.h"
#include "database/maintenance/deleted_marks.h"
#include "database/maintenance/progress.h"
#include "maintenance_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

TEST(CheckDatabase, DamagedGamesMarkedAndHeadersCounted) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 6, 71);
  TGameHeader h;
  ASSERT_TRUE(ReadHeaderRecord(db, 2, h));
  h.Offset = 1 << 30;  // moves outside the main file
  WriteHeaderRecord(db, 2, h);
  ASSERT_TRUE(ReadHeaderRecord(db, 5, h));
  h.SiteIndex = 9999;  // reads as "ERROR!!!"
  WriteHeaderRecord(db, 5, h);
  // The replay says game 4 is damaged.
  const TGameReplay replay = [](const TGame& g) { return g.CommentsAft[0] == "game 4" ? "bad move" : ""; };
  const TCheckReport r = CheckDatabase(db, true, NoProgress(), replay);
  EXPECT_EQ(r.damagedGames, 2);
  EXPECT_EQ(r.damagedHeaders, 1);
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(IsMarkedDeleted(db, n), n == 2 || n == 4) << n;
  ASSERT_EQ(r.log.size(), 3u);
  EXPECT_EQ(r.log[0].rfind("Damaged moves in Game: #2", 0), 0u);
  EXPECT_EQ(r.log.back(), "Found 2 damaged games, 1 damaged headers.");
}

TEST(CheckDatabase, TheLibraryReplayFindsIllegalMoves) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  TGame legal;
  NewGame(legal, gtRussian);
  TGame illegal = LineGame(gtRussian, 3);  // men jumping about at random
  WriteDBGame(legal, 0, db, false);
  WriteDBGame(illegal, 0, db, false);
  const TCheckReport r = CheckDatabase(db, true);
  EXPECT_EQ(r.damagedGames, 1);
  EXPECT_FALSE(IsMarkedDeleted(db, 1));
  EXPECT_TRUE(IsMarkedDeleted(db, 2));
}

TEST(CheckDatabase, CancelEndsTheLoop) {
  struct TCancel : TProgress {
    bool Step(int64_t) override { return false; }
  } cancel;
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 250, 72);
  EXPECT_TRUE(CheckDatabase(db, false, cancel, nullptr).cancelled);
}

TEST(Progress, Estimate) {
  using ms = std::chrono::milliseconds;
  struct Case {
    int64_t elapsed, done, maximum, remaining;
  };
  const Case cases[] = {{10000, 25, 100, 30000}, {5000, 100, 100, 0}, {5000, 0, 100, 0}, {3000, 1, 4, 9000}};
  for (const Case& c : cases) EXPECT_EQ(EstimatedRemaining(ms(c.elapsed), c.done, c.maximum), ms(c.remaining));
  EXPECT_EQ(EstimateText(ms(3725000)), "Estimated time 1:02:05");
}

}  // namespace
}  // namespace kestrel
