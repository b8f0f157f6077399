// The current database: saving over a game's place or as a new one, failed
// saves that keep the game modified, the list with its wrapping cursor and
// marks, and imports with their summary and Cancel.
#include "app/database/current_database.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/database/database_imports.h"
#include "app/database/list_rows.h"
#include "formats/pdn_move_text.h"
#include "database/derived_header.h"
#include "database/game_io.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

TGame Game(const std::string& white, int plies) {
  TGame game;
  NewGame(game, gtRussian);
  game.WhiteName = white;
  int node = 0;
  for (int i = 0; i < plies; ++i) {
    TMove m;
    m.mv[0] = static_cast<uint8_t>(1 + i);
    m.mv[1] = static_cast<uint8_t>(5 + i);
    node = AddMove(game, node, m).slot;
  }
  game.Modified = true;
  return game;
}

class CurrentDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(current.Open(dir.File("games.abd"), [](std::string_view) { return true; }).ok());
  }
  testing::TempDir dir;
  TCurrentDatabase current;
};

TEST(CurrentDatabase, CommandsWithoutADatabaseSayItIsNotOpened) {
  TCurrentDatabase current;
  TGame game = Game("A", 2);
  EXPECT_EQ(current.Save(game).message, "Database not opened.");
  EXPECT_EQ(current.SaveAsNew(game).message, "Database not opened.");
  EXPECT_EQ(current.ToggleDeletedOfLoaded(game).message, "Database not opened.");
  EXPECT_EQ(current.ToggleSelectedOfLoaded(game).message, "Database not opened.");
  EXPECT_EQ(current.StepCursor(1), 0);
  EXPECT_TRUE(game.Modified);
  EXPECT_EQ(current.Caption(), "");
  EXPECT_FALSE(current.OpenAtStartup("").ok());
}

TEST_F(CurrentDatabaseTest, SaveWritesOverTheGamesPlaceOrAddsIt) {
  TGame a = Game("A", 3);
  ASSERT_TRUE(current.Save(a).ok);  // not from here: added
  EXPECT_EQ(a.DBGameNo, 1);
  EXPECT_FALSE(a.Modified);
  TGame b = Game("B", 4);
  ASSERT_TRUE(current.SaveAsNew(b).ok);
  EXPECT_EQ(b.DBGameNo, 2);
  EXPECT_EQ(current.Count(), 2);

  a.CommentsAft[0] = "changed";
  a.Modified = true;
  ASSERT_TRUE(current.Save(a).ok);  // from here: over its number
  EXPECT_EQ(current.Count(), 2);
  TGame back;
  int32_t view = -1;
  ASSERT_TRUE(current.ReadGameAt(1, back, view));
  EXPECT_EQ(back.CommentsAft[0], "changed");
  EXPECT_EQ(back.WhiteName, "A");

  // A game of another database is added here, not written over game 1.
  TGame other = Game("C", 2);
  other.DBGameNo = 1;
  other.DBName = dir.File("elsewhere.abm");
  ASSERT_TRUE(current.Save(other).ok);
  EXPECT_EQ(other.DBGameNo, 3);
  EXPECT_EQ(current.Caption(), " Database " + dir.File("games.abd") + " (3)");
}

TEST_F(CurrentDatabaseTest, AFailedSaveSaysWhyAndKeepsTheGameModified) {
  TGame a = Game("A", 3);
  ASSERT_TRUE(current.Save(a).ok);
  current.Close();
  ASSERT_TRUE(current.OpenReadOnly(dir.File("games.abd")).ok());
  a.Modified = true;
  const TDbOutcome r = current.Save(a);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find("reading only"), std::string::npos) << r.message;
  EXPECT_TRUE(a.Modified);
}

TEST_F(CurrentDatabaseTest, TheCursorWrapsBothWays) {
  for (int i = 0; i < 3; ++i) {
    TGame g = Game(std::to_string(i), 1);
    current.SaveAsNew(g);
  }
  const struct {
    int direction;
    int32_t expected;
  } steps[] = {{-1, 3}, {-1, 2}, {1, 3}, {1, 1}, {1, 2}, {1, 3}, {1, 1}};
  EXPECT_EQ(current.Cursor(), 1);
  for (const auto& s : steps) EXPECT_EQ(current.StepCursor(s.direction), s.expected);
}

TEST_F(CurrentDatabaseTest, MarksOfTheList) {
  for (int i = 0; i < 6; ++i) {
    TGame g = Game(std::to_string(i), 1);
    current.SaveAsNew(g);
  }
  current.SelectNumberRange(2, 4, true);
  current.ToggleSelected(4);
  current.SelectNumberRange(6, 99, true);
  std::string marks;
  for (int32_t i = 1; i <= 6; ++i) marks += current.List()[i].selected ? 'x' : '.';
  EXPECT_EQ(marks, ".xx..x");
  EXPECT_EQ(current.Caption(), " Database " + dir.File("games.abd") + " (3/6)");
  current.SetAllSelected(false);
  EXPECT_EQ(current.List().SelectedCount(), 0);

  ASSERT_TRUE(current.ToggleDeleted(5).ok);
  EXPECT_TRUE(current.IsDeleted(5));
  EXPECT_FALSE(current.IsDeleted(4));
  TGame five;
  int32_t view = 0;
  ASSERT_TRUE(current.ReadGameAt(5, five, view));
  EXPECT_TRUE(five.Header.Flags & hfDeleted);
  ASSERT_TRUE(current.ToggleDeletedOfLoaded(five).ok);
  EXPECT_FALSE(current.IsDeleted(5));
  EXPECT_FALSE(five.Header.Flags & hfDeleted);

  current.SetCursor(5);
  ASSERT_TRUE(current.ToggleSelectedOfLoaded(five).ok);
  EXPECT_TRUE(five.Selected);
  EXPECT_TRUE(current.List()[5].selected);
  TGame stranger = Game("S", 1);
  EXPECT_EQ(current.ToggleSelectedOfLoaded(stranger).message, "No game loaded from database.");
}

TEST(DatabaseImports, PdnImportOpensTheNewDatabaseAndSummarises) {
  testing::TempDir dir;
  const std::string pdn = dir.File("club.pdn");
  std::ofstream(pdn) << "[White \"A\"]\n[Black \"B\"]\n[GameType \"25\"]\n\n1. c3-d4 f6-g5 *\n\n"
                     << "[White \"C\"]\n[Black \"D\"]\n[GameType \"25\"]\n\n1. c3-d4 zz9 *\n\n"
                     << "[White \"E\"]\n[Black \"F\"]\n[GameType \"25\"]\n\n1. a3-b4 *\n";
  TCurrentDatabase current;
  TImportReport r = ImportPdnAsCurrent(current, pdn, gtRussian, nullptr);
  ASSERT_TRUE(r.ok) << r.Summary();
  EXPECT_EQ(r.games, 3);
  EXPECT_EQ(r.damaged, 1);
  EXPECT_NE(r.firstDamaged.find("game 2"), std::string::npos) << r.firstDamaged;
  EXPECT_EQ(current.Count(), 3);
  EXPECT_EQ(current.DB().DBNameIdx, dir.File("club.abd"));
  EXPECT_TRUE(current.IsDeleted(2)) << "a damaged game shows struck through";

  // Importing the file again replaces the open database of that name; a
  // Cancel after the first game keeps what was read.
  int calls = 0;
  r = ImportPdnAsCurrent(current, pdn, gtRussian, [&calls](int64_t, int64_t) { return ++calls < 1; });
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.games, 1);
  EXPECT_EQ(current.Count(), 1);
  EXPECT_NE(r.Summary().find("cancelled"), std::string::npos);

  r = ImportPdnAsCurrent(current, dir.File("missing.pdn"), gtRussian, nullptr);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.Summary().empty());
}

// A file without GameType tags is read as the type its games are legal
// under, and the summary says so; names the code page lacks are counted.
TEST(DatabaseImports, TheWindowImportChoosesTheVariantAndSaysWhy) {
  testing::TempDir dir;
  const std::string pdn = dir.File("czech.pdn");
  // Men of Czech draughts cannot take backwards, Russian men must: the
  // game is legal as Czech only.
  std::ofstream(pdn) << "[White \"M\xC3\xBCller\"]\n\n1. c3-d4 f6-g5 2. d4-e5 d6xf4 3. g3xe5 *\n";
  TCurrentDatabase current;
  const TImportReport r = ImportPdnAsCurrent(current, pdn, gtRussian, nullptr);
  ASSERT_TRUE(r.ok) << r.Summary();
  EXPECT_EQ(r.lostTexts, 1);
  EXPECT_NE(r.Summary().find(r.variant), std::string::npos);
  EXPECT_NE(r.Summary().find("1 texts lost characters that Windows-1251 cannot hold"), std::string::npos)
      << r.Summary();
  EXPECT_EQ(r.variant.rfind("no GameType tag: read as ", 0), 0u) << r.variant;
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(ListRows, EventAndMovesTexts) {
  TQuickGameHeader q;
  q.Tournament = "Cup";
  EXPECT_EQ(ListEventText(q), "Cup");
  q.Site = "Riga";
  q.Header.Round = 3;
  EXPECT_EQ(ListEventText(q), "Cup, Riga [3]");
  q.Header.Subround = 2;
  q.AnnotatorName = "Ann";
  EXPECT_EQ(ListEventText(q), "Cup, Riga [3.2] (Ann)");

  TGame game;
  NewGame(game, gtRussian);
  std::string text;
  const std::string moves = "1. c3-d4 f6-g5 2. g3-f4 g7-f6";
  ASSERT_TRUE(ReadPdnMoveText(game, moves).complete);
  EXPECT_EQ(ListMovesText(game, -1, 0, gtRussian, ":"), "1.c3-d4 f6-g5 2.g3-f4 g7-f6 ");
  EXPECT_EQ(ListMovesText(game, 1, 0, gtRussian, ":"), "1...f6-g5 2.g3-f4 g7-f6 ");
  EXPECT_EQ(ListMovesText(game, 4, 0, gtRussian, ":"), "");
}

}  // namespace
}  // namespace kestrel
