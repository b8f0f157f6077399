// The database commands of the main window and the database window: Save,
// Yes on exit, F3/F4 wrapping through the list, and the keys and mouse of
// the game list.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/settings/ini_file.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/database_window.h"
#include "app/ui/interface_dialog.h"
#include "app/ui/game_list_model.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "app/play/refresh_requests.h"
#include "app/board/move_input.h"
#include "database/database_file.h"
#include "database/derived_header.h"
#include "database/game_io.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "test_support/code_page_scope.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

TGame Named(const std::string& white) {
  TGame game;
  NewGame(game, gtRussian);
  game.WhiteName = white;
  return game;
}

void MakeDatabase(const std::string& path, int games) {
  TKestrelDB db;
  CreateDatabase(path, db);
  for (int i = 1; i <= games; ++i) {
    TGame g = Named("Player " + std::to_string(i));
    WriteDBGame(g, 0, db, true);
  }
}

int GamesIn(const std::string& path) {
  TKestrelDB db;
  return OpenDatabase(path, db, false, TDBAccess::readOnly).ok() ? db.DBSize : -1;
}

// A move played on the board: the game is modified.
void Modify(MainWindow& window) {
  window.controller().ChangeGame([](TGame& g) {
    TMove m;
    m.mv[0] = 10;
    m.mv[1] = 14;
    AddMove(g, 0, m);
    g.Modified = true;
  });
  window.controller().Refresh().Request(rqSaveButton);
  window.TimerStep();
}

// Answers the next message box with `button`.
void AnswerNextQuestion(QMessageBox::StandardButton button) {
  QTimer::singleShot(0, [button] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
      if (QAbstractButton* b = box->button(button)) b->click();
  });
}

class DatabaseWindowTest : public ::testing::Test {
 protected:
  // The program starts with `database` in its settings, opened at start-up.
  void Start(const std::string& database = {}) {
    if (!database.empty()) {
      IniFile ini;
      ini.WriteString("Main", "Database", database);
      ASSERT_TRUE(ini.Save(dir.path() / "winkes36.ini"));
    }
    app = std::make_unique<KestrelApp>(dir.path(), dir.path());
    window = std::make_unique<MainWindow>(*app);
    window->Start();
    ASSERT_EQ(window->database().Current().IsOpen(), !database.empty());
    auto& db = window->database();
    db.showMessage = [this](const QString& m) { messages << m; };
    db.confirm = [](const QString&) { return true; };
    db.chooseDatabaseFile = [this](const QString&, bool) { return chosen; };
  }
  std::string WhiteOfGame() {
    return window->controller().ReadGame([](const TGame& g) { return g.WhiteName; });
  }

  testing::TempDir dir;
  std::unique_ptr<KestrelApp> app;
  std::unique_ptr<MainWindow> window;
  QStringList messages;
  QString chosen;
};

TEST_F(DatabaseWindowTest, SaveAddsTheGameThenWritesOverIt) {
  const std::string path = dir.File("games.abd");
  MakeDatabase(path, 2);
  Start(path);
  Modify(*window);
  window->database().saveAction()->trigger();
  EXPECT_EQ(GamesIn(path), 3);
  EXPECT_FALSE(window->controller().ReadGame([](const TGame& g) { return g.Modified; }));
  EXPECT_EQ(window->controller().ReadGame([](const TGame& g) { return g.DBGameNo; }), 3);
  window->TimerStep();
  EXPECT_FALSE(window->database().saveAction()->isEnabled()) << "nothing to save";
  Modify(*window);
  window->database().saveAction()->trigger();
  EXPECT_EQ(GamesIn(path), 3) << "a game loaded from the database is written over its place";
  EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
  EXPECT_TRUE(window->close());
}

TEST_F(DatabaseWindowTest, AFailedSaveSaysWhyAndKeepsTheGameModified) {
  const std::string path = dir.File("kept.abd");
  MakeDatabase(path, 1);
  Start();
  ASSERT_TRUE(window->database().Current().OpenReadOnly(path).ok());
  Modify(*window);
  window->database().saveAction()->trigger();
  EXPECT_EQ(messages.size(), 1);
  EXPECT_TRUE(window->controller().ReadGame([](const TGame& g) { return g.Modified; }));
  EXPECT_EQ(GamesIn(path), 1);
  // Yes on exit with the same failure keeps the window open.
  AnswerNextQuestion(QMessageBox::Yes);
  EXPECT_FALSE(window->close());
  AnswerNextQuestion(QMessageBox::No);
  EXPECT_TRUE(window->close());
}

TEST_F(DatabaseWindowTest, YesOnExitSavesOrKeepsTheWindowOpen) {
  Start();
  Modify(*window);
  // No database open and none chosen: nothing is saved, nothing closes.
  AnswerNextQuestion(QMessageBox::Yes);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->controller().ReadGame([](const TGame& g) { return g.Modified; }));

  // The user creates one: the game goes there and the window closes.
  chosen = QString::fromStdString(dir.File("new.abd"));
  AnswerNextQuestion(QMessageBox::Yes);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(GamesIn(dir.File("new.abd")), 1);
  EXPECT_EQ(app->settings().Database, dir.File("new.abd"));
}

TEST_F(DatabaseWindowTest, F3AndF4WrapAroundTheList) {
  const std::string path = dir.File("three.abd");
  MakeDatabase(path, 3);
  Start(path);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  const struct {
    Qt::Key key;
    std::string white;
  } steps[] = {{Qt::Key_F4, "Player 2"}, {Qt::Key_F4, "Player 3"}, {Qt::Key_F4, "Player 1"},
               {Qt::Key_F3, "Player 3"}, {Qt::Key_F3, "Player 2"}};
  for (const auto& s : steps) {
    QTest::keyClick(window.get(), s.key);
    EXPECT_EQ(WhiteOfGame(), s.white);
  }
  Modify(*window);
  AnswerNextQuestion(QMessageBox::Cancel);
  QTest::keyClick(window.get(), Qt::Key_F4);
  EXPECT_EQ(WhiteOfGame(), "Player 2") << "Cancel keeps the game";
  EXPECT_EQ(window->database().Current().Cursor(), 2);
  AnswerNextQuestion(QMessageBox::No);
  EXPECT_TRUE(window->close());
}

TEST_F(DatabaseWindowTest, KeysAndMouseOfTheGameList) {
  const std::string path = dir.File("list.abd");
  MakeDatabase(path, 5);
  Start(path);
  DatabaseWindow& w = window->database().Window();
  TCurrentDatabase& db = window->database().Current();
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTableView* view = w.View();
  view->setFocus();
  const auto selected = [&db] {
    std::string marks;
    for (int32_t i = 1; i <= db.Count(); ++i) marks += db.List()[i].selected ? 'x' : '.';
    return marks;
  };
  QTest::keyClick(view, Qt::Key_Insert);
  EXPECT_EQ(selected(), "x....");
  EXPECT_EQ(db.Cursor(), 2);
  // With nothing selected, Delete marks the cursor's game and moves on
  // (with games selected it marks those).
  db.SetAllSelected(false);
  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_TRUE(db.IsDeleted(2));
  EXPECT_EQ(db.Cursor(), 3);
  QTest::keyClick(view, Qt::Key_End);
  EXPECT_EQ(db.Cursor(), 5);
  QTest::keyClick(view, Qt::Key_Home);
  EXPECT_EQ(db.Cursor(), 1);
  QTest::keyClick(view, Qt::Key_Down);
  QTest::keyClick(view, Qt::Key_Down);
  EXPECT_EQ(db.Cursor(), 3);
  QTest::keyClick(view, Qt::Key_Asterisk, Qt::KeypadModifier);
  EXPECT_EQ(selected(), "xxxxx");
  EXPECT_EQ(w.StatusText().toStdString(), " Database " + path + " (5/5)");
  QTest::keyClick(view, Qt::Key_Slash, Qt::KeypadModifier);
  EXPECT_EQ(selected(), ".....");
  w.askNumber = [](const QString&, int, int, int& value) {
    static int answers[] = {2, 4};
    static int k = 0;
    value = answers[k++ % 2];
    return true;
  };
  QTest::keyClick(view, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(selected(), ".xxx.");
  // A right click toggles the clicked entry.
  const QRect row5 = view->visualRect(w.Model().index(4, 1));
  QTest::mouseClick(view->viewport(), Qt::RightButton, {}, row5.center());
  EXPECT_EQ(selected(), ".xxxx");
  // Enter loads the cursor's game into the main window.
  db.SetCursor(4);
  w.ShowCursor();
  QTest::keyClick(view, Qt::Key_Return);
  EXPECT_EQ(WhiteOfGame(), "Player 4");
  // A deleted game is drawn struck through, a selected one in red.
  EXPECT_TRUE(w.Model().data(w.Model().index(1, 1), Qt::FontRole).value<QFont>().strikeOut());
  EXPECT_EQ(w.Model().data(w.Model().index(3, 1), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
  if (qEnvironmentVariableIsSet("KESTREL_SCREENSHOTS")) w.grab().save(qEnvironmentVariable("KESTREL_SCREENSHOTS") + "/dbwindow.png");
  EXPECT_TRUE(window->close());
}

// A database written in UTF-8 and opened under Windows-1251 shows wrong
// letters. Choosing UTF-8 in the Interface dialog reads it anew at once, and
// names are found in any letter case; Cancel puts the old reading back.
TEST_F(DatabaseWindowTest, ChoosingTheCodePageReadsTheOpenDatabaseAnew) {
  const kestrel::testing::CodePageScope atTheEnd(TCodePage::windows1251);
  const std::string path = dir.File("utf8.abd");
  const QString mueller = QString::fromUtf8("M\u00FCller"), fadeev = QString::fromUtf8("\u0424\u0430\u0434\u0435\u0435\u0432");
  {
    TKestrelDB db;
    CreateDatabase(path, db);
    TGame g = Named(mueller.toStdString());
    g.BlackName = fadeev.toStdString();
    WriteDBGame(g, 0, db, true);
  }
  Start(path);
  DatabaseWindow& w = window->database().Window();
  const auto players = [&] { return w.Model().data(w.Model().index(0, GameListModel::colPlayers), Qt::DisplayRole).toString(); };
  const TNameList& names = window->database().Current().DB().DBNames;
  const std::string upperMueller = QString::fromUtf8("M\u00DCLLER").toStdString();
  EXPECT_FALSE(players().contains(mueller)) << players().toStdString();

  InterfaceDialog dialog(app->settings(), app->programFolder(), window.get());
  dialog.onChange = [&] { window->ApplyDisplaySettings(); };
  dialog.show();
  QComboBox* box = dialog.codePageBox();
  EXPECT_EQ(box->currentText(), QStringLiteral("Windows-1251"));
  box->setCurrentText(QStringLiteral("UTF-8"));
  emit box->activated(box->currentIndex());
  EXPECT_EQ(app->settings().CodePage, "UTF-8");
  EXPECT_TRUE(players().contains(mueller) && players().contains(fadeev)) << players().toStdString();
  EXPECT_EQ(names.Find(upperMueller), names.Find(mueller.toStdString()));
  EXPECT_GE(names.Find(upperMueller), 0);
  if (qEnvironmentVariableIsSet("KESTREL_SCREENSHOTS")) {
    const QString folder = qEnvironmentVariable("KESTREL_SCREENSHOTS");
    dialog.grab().save(folder + "/interface_code_page.png");
    w.grab().save(folder + "/dbwindow_utf8.png");
  }

  dialog.reject();
  EXPECT_EQ(app->settings().CodePage, "Windows-1251");
  EXPECT_EQ(CurrentCodePage(), TCodePage::windows1251);
  EXPECT_FALSE(players().contains(mueller));
  EXPECT_EQ(names.Find(upperMueller), -1);
}

TEST_F(DatabaseWindowTest, DeleteAndSelectActOnTheGameLoadedFromTheDatabase) {
  const std::string path = dir.File("marks.abd");
  MakeDatabase(path, 2);
  Start(path);
  window->database().deleteAction()->trigger();
  ASSERT_EQ(messages.size(), 1) << "a new game is not in the database";
  window->database().loadNextAction()->trigger();
  ASSERT_EQ(WhiteOfGame(), "Player 2");
  TCurrentDatabase& db = window->database().Current();
  window->database().deleteAction()->trigger();
  window->database().selectAction()->trigger();
  EXPECT_TRUE(db.IsDeleted(2));
  EXPECT_TRUE(db.List()[2].selected);
  EXPECT_TRUE(window->controller().ReadGame([](const TGame& g) { return g.Selected; }));
  window->database().deleteAction()->trigger();
  EXPECT_FALSE(db.IsDeleted(2)) << "a second Delete takes the mark back";
  EXPECT_EQ(messages.size(), 1);
}

TEST_F(DatabaseWindowTest, FenButtonTakesOnlyAFenTagFromTheClipboard) {
  Start();
  ASSERT_TRUE(window->controller().EnterSetup());
  const auto pieces = [this] {
    return window->controller().ReadGame([](const TGame& g) {
      return static_cast<int>(std::count_if(g.CurBoard.b.cells.begin(), g.CurBoard.b.cells.end(), [](auto p) { return p != 0; }));
    });
  };
  const int before = pieces();
  const struct {
    const char* clipboard;
    int pieces;
  } cases[] = {{"W:W21,22:B1", before}, {"[Event \"W:W21,22:B1\"]", before}, {"[FEN \"B:W21,22:B1\"]", 3}};
  for (const auto& c : cases) {
    QApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
    window->setupFenButton()->click();
    EXPECT_EQ(pieces(), c.pieces) << c.clipboard;
  }
  window->controller().SetupDone(TDColor::white, 1);
  AnswerNextQuestion(QMessageBox::No);
  window->close();
}

TEST_F(DatabaseWindowTest, QuickSearchFindsTheBoardsPositionAndLoadsTheGameThere) {
  const std::string path = dir.File("search.abd");
  TGame start = Named("Mover");
  const TMove first = ListLegalMoves(start.CurBoard, TDColor::white, gtRussian).list[0];
  {
    TKestrelDB db;
    CreateDatabase(path, db);
    for (int i = 1; i <= 3; ++i) {
      TGame g = Named("Player " + std::to_string(i));
      if (i == 2) AddMove(g, 0, first);
      WriteDBGame(g, 0, db, true);
    }
  }
  Start(path);
  window->controller().Stop();
  ASSERT_TRUE(window->controller().EnterMove(first));
  window->controller().StopAndWait();
  DatabaseWindow& w = window->database().Window();
  QString shown;
  // "Go to database" shows the window modally: read its status, close it.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (!w.isVisible()) return;
    shown = w.StatusText();
    w.reject();
    closer.stop();
  });
  closer.start(10);
  window->database().quickSearchAction()->trigger();
  TCurrentDatabase& db = window->database().Current();
  ASSERT_EQ(db.Count(), 1);
  EXPECT_EQ(db.GameAt(1), 2);
  EXPECT_TRUE(shown.endsWith(QStringLiteral("(found 1)"))) << shown.toStdString();
  AnswerNextQuestion(QMessageBox::No);
  ASSERT_TRUE(window->database().LoadListGame(1));
  EXPECT_EQ(window->controller().ReadGame([](const TGame& g) { return g.CurMovPos; }), 1) << "at the found position";
  w.ResetList();
  EXPECT_EQ(db.Count(), 3);
  EXPECT_FALSE(w.StatusText().contains(QStringLiteral("found")));
}

}  // namespace
}  // namespace kestrel
