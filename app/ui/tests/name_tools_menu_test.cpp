// The "Tools" menu of the database window on a small database: each name
// tool once with its effect on the lists (and on the names file where it
// writes at once), the tournament summary, and "Build tree" into the
// engine's book, after which the book grid shows the games' moves.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTableWidget>

#include <fstream>
#include <iterator>

#include "app/settings/ini_file.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/book_grid_widget.h"
#include "app/ui/database_window.h"
#include "app/ui/game_list_model.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "app/ui/name_tools_menu.h"
#include "app/ui/tournament_list_window.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

const std::string Schukin = "\xD9\xF3\xEA\xE8\xED";  // Щукин in Windows-1251

struct TGameRow {
  const char* white;
  std::string black;
  const char* tournament;
  uint16_t year;
  uint8_t result;
};

// Games on one line of six plies (the first legal move each time), with the
// first move annotated "!" in the first game.
void MakeDatabase(const std::string& path, const std::vector<TGameRow>& rows) {
  TKestrelDB db;
  CreateDatabase(path, db);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    TGame g;
    NewGame(g, gtRussian);
    TBoard b = InitialPosition(gtRussian);
    TDColor side = TDColor::white;
    int node = 0;
    for (int p = 0; p < 6; ++p) {
      TMoveList list;
      uint8_t count = 0;
      GenerateMoveList(b, side, list, gtRussian, count);
      node = AddMove(g, node, list[0]).slot;
      ApplyMove(list[0], b, gtRussian);
      side = Opponent(side);
    }
    if (i == 0) g.Moves[1].comm = 2;  // "!"
    g.WhiteName = rows[i].white;
    g.BlackName = rows[i].black;
    g.Tournament = rows[i].tournament;
    g.Site = *rows[i].tournament ? "Moscow" : "";
    g.Header.Date.Year = rows[i].year;
    g.Header.Result = rows[i].result;
    WriteDBGame(g, 0, db, true);
  }
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool HasName(const TNameList& list, const std::string& name) {
  const auto& names = list.Names();
  return std::find(names.begin(), names.end(), name) != names.end();
}

class NameToolsMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("club.abd");
    MakeDatabase(path_, {{"IvanPetrov", Schukin, "Cup 2010 game 5", 2010, 1},
                         {"Anna Berg", "bob", "Cup 2010 game 5", 2011, 2},
                         {"Clara", "Anna Berg", "", 2011, 2}});
    IniFile ini;
    ini.WriteString("Main", "Database", path_);
    ASSERT_TRUE(ini.Save(dir_.path() / "winkes36.ini"));
    app_ = std::make_unique<KestrelApp>(dir_.path(), dir_.path());
    window_ = std::make_unique<MainWindow>(*app_);
    window_->Start();
    ASSERT_TRUE(database().Current().IsOpen());
    menu_ = database().Window().findChild<NameToolsMenu*>();
    ASSERT_NE(menu_, nullptr);
    menu_->showMessage = [this](const QString& m) { messages_ << m; };
    menu_->confirm = [this](const QString& q) {
      questions_ << q;
      return answer_;
    };
  }
  void TearDown() override {
    if (window_) {
      EXPECT_TRUE(window_->close());
    }
  }
  MainWindowDatabase& database() { return window_->database(); }
  TKestrelDB& db() { return database().Current().DB(); }

  testing::TempDir dir_;
  std::string path_;
  std::unique_ptr<KestrelApp> app_;
  std::unique_ptr<MainWindow> window_;
  NameToolsMenu* menu_ = nullptr;
  QStringList messages_, questions_;
  bool answer_ = true;
};

TEST_F(NameToolsMenuTest, EachToolOnce) {
  menu_->askSaveFile = [this](const QString&, const QString&) { return QString::fromStdString(dir_.File("names.lst")); };
  struct TCase {
    const char* what;
    QAction* action;
    bool answer;
    std::function<void()> check;
  };
  const std::vector<TCase> cases = {
      {"tournaments", menu_->tournamentsAction(), true,
       [&] {
         TournamentListWindow* w = menu_->tournamentWindow();
         ASSERT_NE(w, nullptr);
         EXPECT_TRUE(w->isVisible());
         EXPECT_EQ(w->grid()->rowCount(), 3);  // the cup in two years, and the blank
         w->hideBlanks()->setChecked(true);
         EXPECT_EQ(w->grid()->rowCount(), 2);
         EXPECT_EQ(w->totals()->text(), "Tournaments=2, games=2");
         EXPECT_EQ(w->grid()->item(1, 3)->text(), "2011");
       }},
      {"save names sorted", menu_->saveNamesAction(), true,
       [&] {
         const std::string text = FileText(dir_.File("names.txt"));
         const auto at = [&](const std::string& n) { return text.find(n + "\r\n"); };
         ASSERT_NE(at("IvanPetrov"), std::string::npos) << text;
         EXPECT_LT(at("Anna Berg"), at("bob"));
         EXPECT_LT(at("bob"), at("Clara"));
         EXPECT_LT(at("Clara"), at("IvanPetrov"));
         EXPECT_TRUE(HasName(db().DBNames, "IvanPetrov"));  // the database is not changed
       }},
      {"correct names", menu_->correctNamesAction(), true,
       [&] {
         EXPECT_TRUE(HasName(db().DBNames, "Ivan Petrov"));
         EXPECT_TRUE(HasName(db().DBNames, "Anna Berg"));
         EXPECT_EQ(messages_.last(), "OK!");
       }},
      {"gambler rename", menu_->gamblerAction(), true,
       [&] {
         EXPECT_TRUE(HasName(db().DBTourn, "Cup"));
         // Written at once: the names file has the new name.
         const std::string file = FileText(DatabaseBaseName(path_) + ".abn");
         EXPECT_NE(file.find("Cup\r\n"), std::string::npos);
         EXPECT_EQ(file.find("Cup 2010"), std::string::npos);
       }},
      {"transliterate, declined", menu_->transliterateAction(), false,
       [&] {
         EXPECT_TRUE(questions_.last().startsWith("This will transliterate cyrillic names into latin.\n"));
         EXPECT_TRUE(HasName(db().DBNames, Schukin));
       }},
      {"transliterate", menu_->transliterateAction(), true,
       [&] {
         EXPECT_TRUE(HasName(db().DBNames, "Schukin"));
         EXPECT_FALSE(HasName(db().DBNames, Schukin));
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    answer_ = c.answer;
    ASSERT_NE(c.action, nullptr);
    c.action->trigger();
    c.check();
  }
  // The list shows the changed names, and closing writes them.
  const GameListModel& model = database().Window().Model();
  EXPECT_TRUE(model.data(model.index(0, 1), Qt::DisplayRole).toString().contains("Ivan Petrov"));
  database().CloseDatabase();
  TKestrelDB reread;
  ASSERT_TRUE(OpenDatabase(path_, reread, false, TDBAccess::readOnly).ok());
  EXPECT_TRUE(HasName(reread.DBNames, "Schukin"));
  EXPECT_TRUE(HasName(reread.DBNames, "Ivan Petrov"));
}

TEST_F(NameToolsMenuTest, BuildTreeShowsTheMovesInTheBookGrid) {
  auto* grid = window_->findChild<BookGridWidget*>();
  ASSERT_NE(grid, nullptr);
  window_->TimerStep();
  ASSERT_GT(grid->Table()->rowCount(), 0);
  EXPECT_EQ(grid->Table()->item(0, 1)->text(), "<NO BOOK>");

  const std::string book = window_->controller().VariantParams(CurrentGameType).Book;
  QString offered;
  menu_->askBuildTree = [&](QString& path, TBookBuildOptions& options) {
    offered = path;
    options.maxMoves = 2;
    return true;
  };
  menu_->buildTreeAction()->trigger();
  EXPECT_EQ(offered.toStdString(), book);  // the engine's book is offered
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith("12 positions from 3 games")) << messages_[0].toStdString();
  EXPECT_TRUE(window_->controller().Book().IsOpen());

  window_->TimerStep();
  // The games' first move leads: one white win and two draws for the mover,
  // annotated "!" in the first game; the other moves are not in the book.
  const TOpenMove* first = grid->Entry(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(grid->Table()->item(0, 1)->text(), "+1-0=2");
  EXPECT_TRUE(grid->Table()->item(0, 0)->text().endsWith("!"));
  for (int r = 1; r < grid->Table()->rowCount(); ++r) {
    EXPECT_TRUE(grid->Table()->item(r, 1)->text().isEmpty()) << r;
    EXPECT_FALSE(grid->Table()->item(r, 0)->text().contains('#')) << r;
  }
}

// A click on a book row plays that move in the shown position.
TEST_F(NameToolsMenuTest, ChosenBookMoveIsPlayed) {
  auto* grid = window_->findChild<BookGridWidget*>();
  ASSERT_NE(grid, nullptr);
  menu_->askBuildTree = [](QString&, TBookBuildOptions& options) {
    options.maxMoves = 2;
    return true;
  };
  menu_->buildTreeAction()->trigger();
  window_->TimerStep();
  const TOpenMove* first = grid->Entry(0);
  ASSERT_NE(first, nullptr);
  emit grid->moveChosen(*first);

  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(InitialPosition(gtRussian), TDColor::white, list, gtRussian, count);
  ASSERT_GT(count, 0);
  const bool played = window_->controller().ReadGame([&](const TGame& g) {
    const int slot = FirstChild(g, 0);
    return slot != 0 && SameMovePath(g.Moves[slot], list[0]);
  });
  EXPECT_TRUE(played);  // the games' first move, the one the book leads with
  // Closing the window would ask to save the changed game.
  window_->controller().ChangeGame([](TGame& g) { g.Modified = false; });
}

}  // namespace
}  // namespace kestrel
