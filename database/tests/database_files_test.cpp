// Creating, opening and closing the three files of a database.
#include <gtest/gtest.h>

#include <filesystem>

#include "database/header_records.h"
#include "database/names_file.h"
#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;
namespace fs = std::filesystem;

TEST(DatabaseFiles, BaseNames) {
  EXPECT_EQ(DatabaseBaseName("/x/games.abd"), "/x/games");
  EXPECT_EQ(DatabaseBaseName("/x/games.abm"), "/x/games");
  EXPECT_EQ(DatabaseBaseName("/x/games"), "/x/games");
  EXPECT_EQ(DatabaseBaseName("/x.y/games"), "/x.y/games");
  EXPECT_EQ(DatabaseBaseName("C:\\Bases.old\\games"), "C:\\Bases.old\\games");
  EXPECT_EQ(DatabaseBaseName("C:\\Bases\\games.v2.abd"), "C:\\Bases\\games.v2");
}

TEST(DatabaseFiles, FreshDatabaseFiles) {
  TempDir dir;
  TKestrelDB db;
  CreateDatabase(dir.File("new.abd"), db);
  EXPECT_TRUE(db.DBOpened);
  EXPECT_EQ(db.DBType, 30);
  EXPECT_EQ(db.DBSize, 0);
  EXPECT_EQ(db.DBCurPos, 1);
  EXPECT_EQ(db.DBNameIdx, dir.File("new.abd"));
  EXPECT_EQ(db.DBNameMain, dir.File("new.abm"));
  EXPECT_EQ(db.DBNameNames, dir.File("new.abn"));
  // The names file exists at once, so a crash cannot leave an unopenable set.
  EXPECT_TRUE(DatabaseFilesExist(dir.File("new")));
  CloseDatabase(db);
  EXPECT_FALSE(db.DBOpened);
  EXPECT_EQ(ReadBytes(dir.File("new.abd")).size(), 0u);
  EXPECT_EQ(ReadBytes(dir.File("new.abm")), std::vector<uint8_t>{30});
  EXPECT_EQ(ReadBytes(dir.File("new.abn")).size(), 0u);
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();

  const TOpenResult r = OpenDatabase(dir.File("new.abd"), db, false);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(db.DBSize, 0);
}

TEST(DatabaseFiles, AnyOfTheThreeNamesOpensTheSameDatabase) {
  TempDir dir;
  fs::create_directories(dir.path() / "a.b");
  const std::string base = (dir.path() / "a.b" / "games").string();
  {
    TKestrelDB db;
    CreateDatabase(base, db);
    TGame game = LineGame(gtRussian, 3);
    game.WhiteName = "Player";
    WriteDBGame(game, 0, db, false);
  }  // the destructor closes and writes the names
  for (const std::string& path : {base + ".abd", base + ".abm", base + ".abn", base}) {
    TKestrelDB db;
    ASSERT_TRUE(OpenDatabase(path, db, false).ok()) << path;
    EXPECT_EQ(db.DBNameIdx, base + ".abd");
    EXPECT_EQ(db.DBSize, 1);
    ASSERT_EQ(db.DBNames.Count(), 2);  // the player and the empty name of black and annotator
    EXPECT_EQ(db.DBNames[0], "Player");
  }
}

TEST(DatabaseFiles, MissingFilesLeaveTheDatabaseClosed) {
  TempDir dir;
  TKestrelDB db;
  CreateDatabase(dir.File("g.abd"), db);
  CloseDatabase(db);
  fs::remove(dir.File("g.abn"));
  const TOpenResult r = OpenDatabase(dir.File("g.abd"), db, true);
  EXPECT_EQ(r.status, TOpenStatus::filesMissing);
  EXPECT_TRUE(r.message.empty());
  EXPECT_FALSE(db.DBOpened);
}

TEST(DatabaseFiles, WrongTypesAreRefused) {
  for (uint8_t version : {0, 19, 31, 255}) {
    TempDir dir;
    WriteBytes(dir.File("g.abd"), {});
    WriteBytes(dir.File("g.abn"), {});
    WriteBytes(dir.File("g.abm"), {version});
    TKestrelDB db;
    const TOpenResult r = OpenDatabase(dir.File("g.abd"), db, true);
    EXPECT_EQ(r.status, TOpenStatus::wrongType) << int(version);
    EXPECT_EQ(r.message, "Wrong database type");
    EXPECT_FALSE(db.DBOpened);
    // Nothing was converted or created beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
    EXPECT_EQ(ReadBytes(dir.File("g.abm")), std::vector<uint8_t>{version});
  }
  TempDir dir;
  WriteBytes(dir.File("g.abd"), {});
  WriteBytes(dir.File("g.abn"), {});
  WriteBytes(dir.File("g.abm"), {});  // no version byte at all
  TKestrelDB db;
  EXPECT_EQ(OpenDatabase(dir.File("g"), db, true).status, TOpenStatus::wrongType);
}

TEST(DatabaseFiles, TrailingPartialRecordDoesNotCount) {
  TempDir dir;
  {
    TKestrelDB db;
    CreateDatabase(dir.File("g"), db);
    for (int i = 0; i < 3; ++i) {
      TGame game = LineGame(gtRussian, 2 + i);
      WriteDBGame(game, 0, db, false);
    }
  }
  auto idx = ReadBytes(dir.File("g.abd"));
  ASSERT_EQ(idx.size(), 3u * 88);
  idx.resize(idx.size() + 40, 0xAB);
  WriteBytes(dir.File("g.abd"), idx);
  TKestrelDB db;
  ASSERT_TRUE(OpenDatabase(dir.File("g"), db, false).ok());
  EXPECT_EQ(db.DBSize, 3);
  // An appended game takes the place of the partial record.
  TGame game = LineGame(gtRussian, 7);
  EXPECT_EQ(WriteDBGame(game, 0, db, false), 4);
  EXPECT_EQ(db.DBSize, 4);
  EXPECT_EQ(db.DBIdx.Size(), 4 * 88);
  TGame back;
  for (int n = 1; n <= 4; ++n) EXPECT_TRUE(ReadDBGame(db, n, false, back)) << n;
  ExpectSameMoves(game, back);
}

TEST(DatabaseFiles, OpenOrCreate) {
  TempDir dir;
  TKestrelDB db;
  int asked = 0;
  const auto decline = [&](std::string_view q) {
    EXPECT_EQ(q, "Create new database?");
    ++asked;
    return false;
  };
  const auto accept = [&](std::string_view) {
    ++asked;
    return true;
  };
  EXPECT_EQ(OpenOrCreateDatabase(dir.File("n.abd"), db, decline).status, TOpenStatus::cancelled);
  EXPECT_FALSE(fs::exists(dir.File("n.abd")));
  EXPECT_EQ(OpenOrCreateDatabase(dir.File("n.abd"), db, accept).status, TOpenStatus::created);
  EXPECT_TRUE(db.DBOpened);
  EXPECT_EQ(asked, 2);
  CloseDatabase(db);
  EXPECT_EQ(OpenOrCreateDatabase(dir.File("n.abd"), db, accept).status, TOpenStatus::opened);
  EXPECT_EQ(asked, 2);
  CloseDatabase(db);
  WriteBytes(dir.File("n.abm"), {31});
  const TOpenResult r = OpenOrCreateDatabase(dir.File("n.abd"), db, accept);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.message, "Cannot open the database.");
  ASSERT_FALSE(r.notes.empty());
  EXPECT_EQ(r.notes[0], "Wrong database type");
  EXPECT_EQ(asked, 2);
}

TEST(DatabaseFiles, CreatingReplacesAnEarlierDatabase) {
  TempDir dir;
  TKestrelDB db;
  CreateDatabase(dir.File("g"), db);
  TGame game = LineGame(gtRussian, 5);
  game.WhiteName = "Old name";
  WriteDBGame(game, 0, db, true);
  CreateDatabase(dir.File("g"), db);  // closes, then truncates
  EXPECT_EQ(db.DBSize, 0);
  EXPECT_EQ(db.DBNames.Count(), 0);
  CloseDatabase(db);
  EXPECT_EQ(ReadBytes(dir.File("g.abm")), std::vector<uint8_t>{30});
  EXPECT_EQ(ReadText(dir.File("g.abn")), "");
}

TEST(DatabaseFiles, ClosingWritesNamesOnlyWhenAdded) {
  TempDir dir;
  TKestrelDB db;
  CreateDatabase(dir.File("g"), db);
  TGame game = LineGame(gtRussian, 5);
  game.WhiteName = "W";
  game.BlackName = "B";
  game.Tournament = "T";
  game.Site = "S";
  WriteDBGame(game, 0, db, false);  // a bulk write: the new names are appended at once
  EXPECT_TRUE(db.DBChanged);
  EXPECT_EQ(ReadText(dir.File("g.abn")), "^W\r\n^B\r\n^\r\n*T\r\n@S\r\n");
  CloseDatabase(db);
  EXPECT_EQ(ReadText(dir.File("g.abn")), "^W\r\n^B\r\n^\r\n*T\r\n@S\r\n");
  CloseDatabase(db);  // closing twice does nothing

  // Opening and closing without additions leaves the file alone.
  WriteBytes(dir.File("g.abn"), {'^', 'W', '\n', '^', 'B', '\n', '^', '\n', '*', 'T', '\n', '@', 'S'});
  ASSERT_TRUE(OpenDatabase(dir.File("g"), db, false).ok());
  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_EQ(back.Site, "S");
  CloseDatabase(db);
  EXPECT_EQ(ReadBytes(dir.File("g.abn")).size(), 13u);
}

TEST(DatabaseFiles, OpeningAnotherDatabaseClosesTheFirst) {
  TempDir dir;
  TKestrelDB first;
  CreateDatabase(dir.File("a"), first);
  TGame game = LineGame(gtRussian, 2);
  game.WhiteName = "Pending";
  WriteDBGame(game, 0, first, false);
  TKestrelDB other;
  CreateDatabase(dir.File("b"), other);
  CloseDatabase(other);
  ASSERT_TRUE(OpenDatabase(dir.File("b"), first, false).ok());
  EXPECT_EQ(ReadText(dir.File("a.abn")), "^Pending\r\n^\r\n*\r\n@\r\n");
  EXPECT_EQ(first.DBSize, 0);
}

}  // namespace
}  // namespace kestrel
