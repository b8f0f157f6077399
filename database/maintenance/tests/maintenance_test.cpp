// Deleted marks, clean-ups, physical delete, copy and merge, backup.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>

#include "database/database_swap.h"
#include "database/derived_header.h"
#include "database/maintenance/backup.h"
#include "database/maintenance/deleted_marks.h"
#include "database/maintenance/full_cleanup.h"
#include "database/maintenance/game_transfer.h"
#include "database/maintenance/index_rewrite.h"
#include "database/names_file.h"
#include "maintenance_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

TEST(DeletedMarks, FirstSelectedEntryDecides) {
  struct Case {
    std::vector<bool> marked;    // games 1..4 before
    std::vector<int> selected;   // list positions
    int cursor;
    std::vector<bool> expected;  // after
  };
  const Case cases[] = {
      {{true, false, true, false}, {1, 2, 4}, 1, {false, false, true, false}},
      {{false, true, true, false}, {1, 2, 3}, 1, {true, true, true, false}},
      {{false, true, false, false}, {2, 4}, 1, {false, false, false, false}},
      {{false, true, false, false}, {}, 2, {false, false, false, false}},
      {{false, true, false, false}, {}, 3, {false, true, true, false}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    TKestrelDB db;
    FillDatabase(dir, db, 4, 1);
    for (int n = 1; n <= 4; ++n) SetDeletedMark(db, n, c.marked[n - 1]);
    TGameList list;
    list.Reset(db.DBSize);
    for (int i : c.selected) list[i].selected = true;
    db.DBCurPos = c.cursor;
    DeleteCommand(db, list);
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(IsMarkedDeleted(db, n), c.expected[n - 1]) << "game " << n;
  }
}

TEST(QuickCleanUp, KeepsRecordsOfLiveGamesInOrder) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 5, 2);
  TGameHeader before[6];
  for (int n = 1; n <= 5; ++n) ASSERT_TRUE(ReadHeaderRecord(db, n, before[n]));
  SetDeletedMark(db, 2, true);
  SetDeletedMark(db, 4, true);
  const auto mainSize = std::filesystem::file_size(db.DBNameMain);
  TGame open;
  open.DBGameNo = 3;
  open.DBName = db.DBNameMain;
  TGame first = open;
  first.DBGameNo = 1;
  db.DBCurPos = 5;
  const TRenumbering r = QuickCleanUp(db);
  ForgetMovedGame(open, db, r);
  ForgetMovedGame(first, db, r);
  EXPECT_EQ(open.DBGameNo, 0);
  EXPECT_EQ(first.DBGameNo, 1);
  ASSERT_EQ(db.DBSize, 3);
  EXPECT_EQ(db.DBCurPos, 3);
  EXPECT_EQ(r.removed, 2);
  const int old[] = {1, 3, 5};
  for (int n = 1; n <= 3; ++n) {
    TGameHeader h;
    ASSERT_TRUE(ReadHeaderRecord(db, n, h));
    EXPECT_EQ(h.Offset, before[old[n - 1]].Offset);
    EXPECT_EQ(h.Length, before[old[n - 1]].Length);
    EXPECT_EQ(GameTag(db, n), "game " + std::to_string(old[n - 1]));
  }
  EXPECT_EQ(std::filesystem::file_size(db.DBNameMain), mainSize);
  // The index is whole on disk too.
  TKestrelDB again;
  ASSERT_TRUE(OpenDatabase(db.DBNameIdx, again, false, TDBAccess::readOnly).ok());
  EXPECT_EQ(again.DBSize, 3);
}

TEST(DeleteSelectedGames, RemovesOnlySelectedAndNothingWithoutSelection) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 6, 3);
  TGameList list;
  list.Reset(db.DBSize);
  EXPECT_EQ(DeleteSelectedGames(db, list).removed, 0);
  EXPECT_EQ(db.DBSize, 6);
  list[1].selected = list[6].selected = true;
  SetDeletedMark(db, 3, true);  // marked but not selected: stays
  EXPECT_EQ(DeleteSelectedGames(db, list).removed, 2);
  ASSERT_EQ(db.DBSize, 4);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(GameTag(db, n), "game " + std::to_string(n + 1));
}

TEST(FullCleanUp, CompactsMainFileAndNames) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 30, 4);
  std::vector<TGame> expected;
  for (int n = 1; n <= 30; ++n) {
    if (n % 3 == 0) {
      SetDeletedMark(db, n, true);
      continue;
    }
    expected.emplace_back();
    ASSERT_TRUE(ReadDBGame(db, n, false, expected.back()));
  }
  // Rewriting a game leaves its old blob behind as a hole.
  TGame g;
  ASSERT_TRUE(ReadDBGame(db, 1, false, g));
  g.CommentsAft[0] += std::string(500, 'x');
  WriteDBGame(g, 1, db, true);
  expected[0] = g;
  // An unused name disappears.
  bool added = false;
  db.DBNames.FindOrAdd("Nobody plays", added);
  db.DBChanged = true;

  const TFullCleanUpReport report = FullCleanUp(db, NoProgress());
  ASSERT_TRUE(db.DBOpened);
  ASSERT_EQ(db.DBSize, 20);
  EXPECT_EQ(report.renumbering.NewNumber(4), 3);
  EXPECT_EQ(report.renumbering.NewNumber(3), 0);
  int64_t sum = 0;
  for (int n = 1; n <= db.DBSize; ++n) {
    TGame actual;
    ASSERT_TRUE(ReadDBGame(db, n, false, actual));
    ExpectSameMoves(expected[n - 1], actual);
    EXPECT_EQ(actual.WhiteName, expected[n - 1].WhiteName);
    EXPECT_EQ(actual.Tournament, expected[n - 1].Tournament);
    sum += actual.Header.Length;
  }
  EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(db.DBNameMain)), 1 + sum);
  EXPECT_EQ(db.DBNames.Find("Nobody plays"), -1);
  for (const char* ext : {"_tmp.abd", "_tmp.abm", "_tmp.abn", ".swap"})
    EXPECT_FALSE(std::filesystem::exists(dir.File(std::string("games") + ext))) << ext;
}

TEST(FullCleanUp, FailureLeavesTheDatabaseUntouched) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 10, 5);
  SetDeletedMark(db, 2, true);
  const auto idx = ReadBytes(db.DBNameIdx);
  const auto main = ReadBytes(db.DBNameMain);
  // The new set cannot be created: a folder stands where its index goes.
  std::filesystem::create_directory(dir.File("games_tmp.abd"));
  EXPECT_THROW(FullCleanUp(db, NoProgress()), TDatabaseError);
  ASSERT_TRUE(db.DBOpened);
  EXPECT_EQ(db.DBSize, 10);
  EXPECT_EQ(ReadBytes(db.DBNameIdx), idx);
  EXPECT_EQ(ReadBytes(db.DBNameMain), main);
}

TEST(DatabaseSwap, InterruptedRenamesAreFinishedWhenOpened) {
  TempDir dir;
  TKestrelDB old, fresh;
  FillDatabase(dir, old, 3, 6, "games");
  FillDatabase(dir, fresh, 5, 7, "games_tmp");
  CloseDatabase(old);
  CloseDatabase(fresh);
  // As a kill would leave it: the marker written, the index already moved.
  const std::string marker = "games_tmp\n";
  WriteBytes(SwapMarkerPath(dir.File("games")), std::vector<uint8_t>(marker.begin(), marker.end()));
  std::filesystem::rename(dir.File("games_tmp.abd"), dir.File("games.abd"));
  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(dir.File("games.abd"), db, false).ok());
  EXPECT_EQ(db.DBSize, 5);
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(GameTag(db, n), "game " + std::to_string(n));
  EXPECT_FALSE(std::filesystem::exists(SwapMarkerPath(dir.File("games"))));
}

TEST(CopyAndMerge, AppendInOrderAndRefuseItself) {
  TempDir dir;
  TKestrelDB db, other;
  FillDatabase(dir, db, 5, 8);
  FillDatabase(dir, other, 3, 9, "other");
  CloseDatabase(other);
  TGameList list;
  list.Reset(db.DBSize);
  list[4].selected = list[2].selected = true;
  const std::vector<int32_t> picked = GamesToCopy(db, list);
  ASSERT_EQ(picked, (std::vector<int32_t>{2, 4}));
  EXPECT_THROW(CopyGames(db, picked, db.DBNameIdx, NoProgress()), TDatabaseError);
  CopyGames(db, picked, dir.File("copy.abd"), NoProgress());
  TKestrelDB copy;
  ASSERT_TRUE(OpenDatabase(dir.File("copy.abd"), copy, false).ok());
  ASSERT_EQ(copy.DBSize, 2);
  EXPECT_EQ(GameTag(copy, 1), "game 2");
  EXPECT_EQ(GameTag(copy, 2), "game 4");

  {
    std::ofstream pdn(dir.File("one.PDN"), std::ios::binary);
    pdn << "[Event \"From PDN\"]\r\n[GameType \"25\"]\r\n\r\n1. c3-d4 f6-g5 *\r\n";
  }
  const TTransferReport r =
      MergeIntoDatabase(db, {dir.File("one.PDN"), dir.File("other.abd"), db.DBNameIdx}, NoProgress());
  ASSERT_EQ(r.notes.size(), 1u) << r.notes[0];  // merging into itself is refused
  ASSERT_EQ(db.DBSize, 9);
  TQuickGameHeader q;
  ASSERT_TRUE(ReadQuickHeader(db, 6, q));
  EXPECT_EQ(q.Tournament, "From PDN");
  for (int n = 7; n <= 9; ++n) EXPECT_EQ(GameTag(db, n), "game " + std::to_string(n - 6));
}

TEST(Backup, ArchiveHoldsTheThreeFiles) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 4, 10, "Games");
  std::tm when{};
  when.tm_year = 126;
  when.tm_mon = 11;
  when.tm_mday = 9;
  const std::string name = BackupFileName(db.DBNameIdx, when);
  EXPECT_EQ(name.rfind("Games 20261209", 0), 0u) << name;
  EXPECT_EQ(name.substr(name.size() - 4), ".zip");
  const std::string zipPath = dir.File(name);
  BackupDatabase(db, zipPath);
  int error = 0;
  zip_t* z = zip_open(zipPath.c_str(), ZIP_RDONLY, &error);
  ASSERT_NE(z, nullptr);
  ASSERT_EQ(zip_get_num_entries(z, 0), 3);
  const char* names[] = {"Games.abd", "Games.abn", "Games.abm"};
  const std::string paths[] = {db.DBNameIdx, db.DBNameNames, db.DBNameMain};
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(zip_get_name(z, i, 0), names[i]);
    zip_stat_t st;
    ASSERT_EQ(zip_stat_index(z, i, 0, &st), 0);
    EXPECT_EQ(st.comp_method, ZIP_CM_DEFLATE);
    std::vector<uint8_t> data(st.size);
    zip_file_t* f = zip_fopen_index(z, i, 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(zip_fread(f, data.data(), data.size()), static_cast<zip_int64_t>(data.size()));
    zip_fclose(f);
    EXPECT_EQ(data, ReadBytes(paths[i])) << names[i];
  }
  zip_close(z);
}

}  // namespace
}  // namespace kestrel
