// The Maintenance menu of the database window on a small database: games
// renumbered by a command lose their number in the open games, so a later
// "Save" adds a game instead of writing over another one.
#include <gtest/gtest.h>

#include <QAction>

#include "app/settings/ini_file.h"
#include "app/play/refresh_requests.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/database_maintenance_menu.h"
#include "app/ui/database_window.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

std::vector<std::string> WhitesIn(const std::string& path) {
  std::vector<std::string> names;
  TKestrelDB db;
  if (!OpenDatabase(path, db, false, TDBAccess::readOnly).ok()) return names;
  for (int32_t n = 1; n <= db.DBSize; ++n) {
    TGame g;
    names.push_back(ReadDBGame(db, n, false, g) ? g.WhiteName : "?");
  }
  return names;
}

void MakeDatabase(const std::string& path, std::initializer_list<const char*> whites) {
  TKestrelDB db;
  CreateDatabase(path, db);
  for (const char* white : whites) {
    TGame g;
    NewGame(g, gtRussian);
    g.WhiteName = white;
    WriteDBGame(g, 0, db, true);
  }
}

// The settings of a program that opens `path` at start-up.
void OpenAtStart(const testing::TempDir& dir, const std::string& path) {
  IniFile ini;
  ini.WriteString("Main", "Database", path);
  ASSERT_TRUE(ini.Save(dir.path() / "winkes36.ini"));
}

TEST(DatabaseMaintenanceMenu, RenumberingCommandsKeepSaveFromOverwritingAnotherGame) {
  testing::TempDir dir;
  const std::string path = dir.File("club.abd");
  MakeDatabase(path, {"Anna", "Boris", "Clara", "Dmitri"});
  OpenAtStart(dir, path);
  KestrelApp app(dir.path(), dir.path());
  MainWindow window(app);
  window.Start();
  MainWindowDatabase& database = window.database();
  ASSERT_TRUE(database.Current().IsOpen());
  database.confirm = [](const QString&) { return true; };
  auto* menu = database.Window().findChild<DatabaseMaintenanceMenu*>();
  ASSERT_NE(menu, nullptr);
  QStringList messages;
  menu->showMessage = [&](const QString& m) { messages << m; };
  menu->confirm = [](const QString&) { return true; };
  const auto openNumber = [&] { return window.controller().ReadGame([](const TGame& g) { return g.DBGameNo; }); };

  // Nothing selected: nothing deleted, and the user is told.
  menu->deleteSelectedAction()->trigger();
  EXPECT_EQ(WhitesIn(path).size(), 4u);
  ASSERT_EQ(messages.size(), 1);

  // Dmitri (4) is open; Boris (2) goes, so Dmitri becomes 3.
  ASSERT_TRUE(database.LoadListGame(4));
  ASSERT_EQ(openNumber(), 4);
  database.Current().ToggleSelected(2);
  menu->deleteSelectedAction()->trigger();
  EXPECT_EQ(WhitesIn(path), (std::vector<std::string>{"Anna", "Clara", "Dmitri"}));
  EXPECT_EQ(database.Current().Count(), 3);
  EXPECT_EQ(openNumber(), 0);
  window.controller().ChangeGame([](TGame& g) {
    g.WhiteName = "Dmitri II";
    g.Modified = true;
  });
  window.controller().Refresh().Request(rqSaveButton);
  window.TimerStep();
  database.saveAction()->trigger();
  EXPECT_EQ(WhitesIn(path), (std::vector<std::string>{"Anna", "Clara", "Dmitri", "Dmitri II"}));

  // Quick clean-up of a deleted mark; an open game whose number did not
  // move keeps it.
  ASSERT_TRUE(database.LoadListGame(1));
  ASSERT_TRUE(database.Current().ToggleDeleted(2).ok);
  menu->quickCleanUpAction()->trigger();
  EXPECT_EQ(WhitesIn(path), (std::vector<std::string>{"Anna", "Dmitri", "Dmitri II"}));
  EXPECT_EQ(openNumber(), 1);
  EXPECT_EQ(database.Current().Count(), 3);
  EXPECT_TRUE(window.close());
}

TEST(DatabaseMaintenanceMenu, SortSavedToTheDatabaseRenumbersTheOpenGame) {
  testing::TempDir dir;
  const std::string path = dir.File("sorted.abd");
  MakeDatabase(path, {"Dmitri", "Anna", "Clara"});
  OpenAtStart(dir, path);
  KestrelApp app(dir.path(), dir.path());
  MainWindow window(app);
  window.Start();
  MainWindowDatabase& database = window.database();
  auto* menu = database.Window().findChild<DatabaseMaintenanceMenu*>();
  ASSERT_NE(menu, nullptr);
  bool offeredSave = false;
  bool save = false;
  menu->askSort = [&](bool whole, std::vector<TSortKey>& keys, bool& saveOrder) {
    offeredSave = whole;
    keys = {TSortKey::white};
    saveOrder = save;
    return true;
  };
  ASSERT_TRUE(database.LoadListGame(1));
  // The list alone first: the file keeps its order and the game its number.
  menu->sortAction()->trigger();
  EXPECT_TRUE(offeredSave);
  EXPECT_EQ(database.Current().GameAt(1), 2);
  EXPECT_EQ(WhitesIn(path), (std::vector<std::string>{"Dmitri", "Anna", "Clara"}));
  EXPECT_EQ(window.controller().ReadGame([](const TGame& g) { return g.DBGameNo; }), 1);
  save = true;
  menu->sortAction()->trigger();
  EXPECT_EQ(WhitesIn(path), (std::vector<std::string>{"Anna", "Clara", "Dmitri"}));
  EXPECT_EQ(window.controller().ReadGame([](const TGame& g) { return g.DBGameNo; }), 0);
  EXPECT_TRUE(window.close());
}

}  // namespace
}  // namespace kestrel
