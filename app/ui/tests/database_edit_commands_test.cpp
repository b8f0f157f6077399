// The database window's copy, merge, repair, duplicate, header and append
// commands on a small database, each driven once through its menu action
// with the dialogs answered by the test; and the window's menus: no two
// entries with the same text, no shortcut on two commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTest>

#include <fstream>
#include <map>
#include <set>

#include "app/settings/ini_file.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/database_edit_commands.h"
#include "app/ui/database_maintenance_menu.h"
#include "app/ui/database_window.h"
#include "app/ui/game_info_dialog.h"
#include "app/ui/header_edit_dialogs.h"
#include "app/ui/maintenance_dialogs.h"
#include "app/ui/ui_language.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "database/maintenance/deleted_marks.h"
#include "game/game_editing.h"
#include "game/move_tree.h"
#include "test_support/random_game.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

// A Russian game whose main line takes, at each ply, the legal move of
// index `choice` (modulo the number of moves).
TGame GameWith(const std::string& white, std::initializer_list<int> line) {
  TGame g;
  NewGame(g, gtRussian);
  g.WhiteName = white;
  int node = 0;
  for (const int choice : line) {
    TBoard board;
    TDColor side;
    if (!PositionAt(g, node, board, side)) break;
    const std::vector<TMove> moves = testing::LegalMoves(board, side, gtRussian);
    node = AddMove(g, node, moves[choice % moves.size()]).slot;
  }
  return g;
}

void MakeDatabase(const std::string& path, std::vector<TGame> games) {
  TKestrelDB db;
  CreateDatabase(path, db);
  for (TGame& g : games) WriteDBGame(g, 0, db, true);
  CloseDatabase(db);
}

// The stored headers of every game, read afresh from the files.
std::vector<TQuickGameHeader> HeadersIn(const std::string& path) {
  std::vector<TQuickGameHeader> out;
  TKestrelDB db;
  if (!OpenDatabase(path, db, false, TDBAccess::readOnly).ok()) return out;
  for (int32_t n = 1; n <= db.DBSize; ++n) {
    out.emplace_back();
    if (!ReadQuickHeader(db, n, out.back())) out.back().WhiteName = "?";
  }
  return out;
}

std::vector<std::string> WhitesIn(const std::string& path) {
  std::vector<std::string> names;
  for (const TQuickGameHeader& q : HeadersIn(path)) names.push_back(q.WhiteName);
  return names;
}

// The program with `club.abd` open: Anna, Boris, Clara and Dmitri, where
// Anna, Boris and Dmitri played the same moves and Clara other ones.
struct Program {
  testing::TempDir dir;
  std::string path = dir.File("club.abd");
  std::unique_ptr<KestrelApp> app;
  std::unique_ptr<MainWindow> window;
  DatabaseEditCommands* commands = nullptr;
  QStringList messages;

  Program() {
    MakeDatabase(path, {GameWith("Anna", {0, 0, 0}), GameWith("Boris", {0, 0, 0}), GameWith("Clara", {1}),
                        GameWith("Dmitri", {0, 0, 0})});
    IniFile ini;
    ini.WriteString("Main", "Database", path);
    EXPECT_TRUE(ini.Save(dir.path() / "winkes36.ini"));
    app = std::make_unique<KestrelApp>(dir.path(), dir.path());
    window = std::make_unique<MainWindow>(*app);
    window->Start();
    commands = Database().Window().findChild<DatabaseEditCommands*>();
    commands->showMessage = [this](const QString& m) { messages << m; };
    if (auto* maintenance = Database().Window().findChild<DatabaseMaintenanceMenu*>()) {
      maintenance->showMessage = [this](const QString& m) { messages << m; };
      maintenance->confirm = [](const QString&) { return true; };
    }
    Database().showMessage = [this](const QString& m) { messages << m; };
  }
  ~Program() {
    // Appended games are modified; closing must not stop to ask.
    window->controller().ChangeEveryGame([](TGame& g) { g.Modified = false; });
    window->close();
  }
  MainWindowDatabase& Database() { return window->database(); }
  TCurrentDatabase& Current() { return Database().Current(); }
  void Select(std::initializer_list<int32_t> positions) {
    for (const int32_t p : positions) Current().ToggleSelected(p);
  }
  TGame BoardGame() { return window->controller().ReadGame([](const TGame& g) { return g; }); }
};

// Every command of the window's menus, submenus included.
void CollectActions(QMenu* menu, std::vector<QAction*>& out) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    if (a->menu()) CollectActions(a->menu(), out);
    out.push_back(a);
  }
}

std::vector<QAction*> MenuActions(Program& p) {
  std::vector<QAction*> actions;
  for (QAction* top : p.Database().Window().findChild<QMenuBar*>()->actions())
    if (top->menu()) CollectActions(top->menu(), actions);
  return actions;
}

// The window's menu entry with the text `text` (without "&").
std::function<QAction*(Program&)> Entry(const char* text) {
  return [text](Program& p) -> QAction* {
    for (QAction* a : MenuActions(p))
      if (a->text().remove('&') == QLatin1String(text)) return a;
    ADD_FAILURE() << "no menu entry " << text;
    return nullptr;
  };
}

std::function<QAction*(Program&)> Command(QAction* (DatabaseEditCommands::*action)() const) {
  return [action](Program& p) { return (p.commands->*action)(); };
}

// A comment after the first move of game `n`.
void CommentFirstMove(TKestrelDB& db, int32_t n) {
  TGame g;
  ASSERT_TRUE(ReadDBGame(db, n, false, g));
  EnsureCommentArrays(g);
  g.CommentsAft[FirstChild(g, 0)] = "good";
  WriteDBGame(g, n, db, true);
}

std::string FirstComment(const std::string& path, int32_t n) {
  TKestrelDB db;
  TGame g;
  if (!OpenDatabase(path, db, false, TDBAccess::readOnly).ok() || !ReadDBGame(db, n, false, g)) return "?";
  EnsureCommentArrays(g);
  return g.CommentsAft[FirstChild(g, 0)];
}

struct CommandCase {
  const char* name;
  std::function<QAction*(Program&)> action;
  std::function<void(Program&)> prepare;
  std::function<void(Program&)> check;
};

const std::vector<CommandCase>& Cases() {
  static const std::vector<CommandCase> cases = {
      {"copy the selected games", Command(&DatabaseEditCommands::copyAction),
       [](Program& p) {
         p.Select({2, 4});
         p.commands->askCopyTarget = [&p] { return QString::fromStdString(p.dir.File("copy.abd")); };
       },
       [](Program& p) {
         EXPECT_EQ(WhitesIn(p.dir.File("copy.abd")), (std::vector<std::string>{"Boris", "Dmitri"}));
         EXPECT_EQ(WhitesIn(p.path).size(), 4u);
       }},
      {"copy the cursor's game when none is selected", Command(&DatabaseEditCommands::copyAction),
       [](Program& p) {
         p.Current().SetCursor(3);
         p.commands->askCopyTarget = [&p] { return QString::fromStdString(p.dir.File("copy.abd")); };
       },
       [](Program& p) { EXPECT_EQ(WhitesIn(p.dir.File("copy.abd")), (std::vector<std::string>{"Clara"})); }},
      {"merge a PDN file, then a database, in the order chosen", Command(&DatabaseEditCommands::mergeAction),
       [](Program& p) {
         MakeDatabase(p.dir.File("other.abd"), {GameWith("Xenia", {}), GameWith("Yuri", {2})});
         std::ofstream(p.dir.File("one.pdn")) << "[White \"Pdn\"]\r\n[Black \"Q\"]\r\n[Result \"*\"]\r\n\r\n*\r\n";
         p.commands->askMergeFiles = [&p] {
           return QStringList{QString::fromStdString(p.dir.File("one.pdn")),
                              QString::fromStdString(p.dir.File("other.abd"))};
         };
       },
       [](Program& p) {
         EXPECT_EQ(WhitesIn(p.path),
                   (std::vector<std::string>{"Anna", "Boris", "Clara", "Dmitri", "Pdn", "Xenia", "Yuri"}));
         EXPECT_EQ(p.Current().Count(), 7);
       }},
      {"repair a name index beyond the list", Command(&DatabaseEditCommands::repairAction),
       [](Program& p) {
         TKestrelDB& db = p.Current().DB();
         TGameHeader h;
         ASSERT_TRUE(ReadHeaderRecord(db, 3, h));
         h.Black.NameIndex = static_cast<int32_t>(db.DBNames.Names().size()) + 1;
         WriteHeaderRecord(db, 3, h);
       },
       [](Program& p) {
         const std::vector<TQuickGameHeader> headers = HeadersIn(p.path);
         ASSERT_EQ(headers.size(), 4u);
         EXPECT_EQ(headers[2].BlackName.rfind("Player#", 0), 0u) << headers[2].BlackName;
         EXPECT_EQ(headers[0].WhiteName, "Anna");
       }},
      {"match games: later copies marked deleted, the list the group", Command(&DatabaseEditCommands::matchAction),
       [](Program& p) { p.commands->askMatch = [](TMatchOptions&) { return true; }; },
       [](Program& p) {
         ASSERT_EQ(p.Current().Count(), 3);
         EXPECT_EQ(p.Current().GameAt(1), 1);
         EXPECT_EQ(p.Current().GameAt(2), 2);
         EXPECT_EQ(p.Current().GameAt(3), 4);
         const TKestrelDB& db = p.Current().DB();
         EXPECT_EQ((std::vector<bool>{IsMarkedDeleted(db, 1), IsMarkedDeleted(db, 2), IsMarkedDeleted(db, 3),
                                      IsMarkedDeleted(db, 4)}),
                   (std::vector<bool>{false, true, false, true}));
       }},
      {"headers set with a running count", Command(&DatabaseEditCommands::headersSetAction),
       [](Program& p) {
         p.Select({1, 2, 4});
         p.commands->askHeaders = [](THeaderFields& f) {
           f.tournament = "Round [$] of [#]";
           f.year = 1999;
           return true;
         };
       },
       [](Program& p) {
         const std::vector<TQuickGameHeader> h = HeadersIn(p.path);
         ASSERT_EQ(h.size(), 4u);
         EXPECT_EQ(h[0].Tournament, "Round 1 of 1");
         EXPECT_EQ(h[1].Tournament, "Round 2 of 2");
         EXPECT_EQ(h[2].Tournament, "");
         EXPECT_EQ(h[3].Tournament, "Round 3 of 4");
         EXPECT_EQ(h[3].Header.Date.Year, 1999);
         EXPECT_EQ(h[2].Header.Date.Year, 0);
       }},
      {"edit header of the cursor's game, also open on the board", Command(&DatabaseEditCommands::editHeaderAction),
       [](Program& p) {
         ASSERT_TRUE(p.Database().LoadListGame(2));
         p.Current().SetCursor(2);
         p.commands->askHeader = [](TQuickGameHeader& q) {
           EXPECT_EQ(q.WhiteName, "Boris");
           q.WhiteName = "Bogdan";
           q.Header.Round = 7;
           return true;
         };
       },
       [](Program& p) {
         const std::vector<TQuickGameHeader> h = HeadersIn(p.path);
         EXPECT_EQ(h[1].WhiteName, "Bogdan");
         EXPECT_EQ(h[1].Header.Round, 7);
         EXPECT_EQ(h[2].WhiteName, "Clara");
         // "Save" of the open game must not bring the old header back.
         const TGame g = p.BoardGame();
         EXPECT_EQ(g.WhiteName, "Bogdan");
         EXPECT_EQ(g.Header.Round, 7);
         EXPECT_EQ(g.DBGameNo, 2);
       }},
      {"append the cursor's game to the board's as a variation", Command(&DatabaseEditCommands::appendAction),
       [](Program& p) {
         ASSERT_TRUE(p.Database().LoadListGame(1));
         p.Current().SetCursor(3);
       },
       [](Program& p) {
         const TGame g = p.BoardGame();
         EXPECT_EQ(Children(g, 0).size(), 2u);
         EXPECT_TRUE(g.Modified);
         EXPECT_TRUE(p.messages.isEmpty()) << p.messages.join('\n').toStdString();
         // The stored game 1 is untouched until the user saves.
         EXPECT_EQ(WhitesIn(p.path).size(), 4u);
       }},
      {"append refuses more than 500 games", Command(&DatabaseEditCommands::appendAction),
       [](Program& p) {
         std::vector<TDBListRec> many(501, TDBListRec{1, true, -1});
         p.Current().MutableList().SetEntries(many);
       },
       [](Program& p) {
         ASSERT_EQ(p.messages.size(), 1);
         EXPECT_EQ(p.messages[0], QStringLiteral("Too large quantity 501"));
         EXPECT_EQ(Children(p.BoardGame(), 0).size(), 0u);
       }},
      {"remove comments of the selected games only", Entry("Remove comments"),
       [](Program& p) {
         CommentFirstMove(p.Current().DB(), 1);
         CommentFirstMove(p.Current().DB(), 2);
         p.Select({2});
       },
       [](Program& p) {
         EXPECT_EQ(FirstComment(p.path, 1), "good");
         EXPECT_EQ(FirstComment(p.path, 2), "");
       }},
      {"reset after a search shows the whole database", Entry("Reset"),
       [](Program& p) {
         p.Current().MutableList().SetEntries({TDBListRec{3, false, 0}});
         ASSERT_EQ(p.Current().Count(), 1);
       },
       [](Program& p) { EXPECT_EQ(p.Current().Count(), 4); }},
      {"close database", Entry("Close database"), [](Program&) {},
       [](Program& p) {
         EXPECT_FALSE(p.Current().IsOpen());
         EXPECT_EQ(p.Database().Window().View()->model()->rowCount(), 0);
       }},
  };
  return cases;
}

TEST(DatabaseEditCommands, EachCommandChangesTheDatabaseAsItSays) {
  for (const CommandCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Program p;
    ASSERT_NE(p.commands, nullptr);
    ASSERT_TRUE(p.Current().IsOpen());
    c.prepare(p);
    if (::testing::Test::HasFatalFailure()) return;
    QAction* action = c.action(p);
    ASSERT_NE(action, nullptr);
    action->trigger();
    c.check(p);
  }
}

TEST(DatabaseEditCommands, AppendOfAPositionNotInTheGameCannotAdd) {
  Program p;
  // Board: Clara's game; the database game starts after Anna's three moves,
  // a position Clara's game never reaches.
  ASSERT_TRUE(p.Database().LoadListGame(3));
  TGame later = GameWith("Eva", {0, 0, 0, 0});
  int slot = 0;
  for (int ply = 0; ply < 3; ++ply) slot = FirstChild(later, slot);
  later.Header.ShowFrom = slot;
  {
    TKestrelDB& db = p.Current().DB();
    WriteDBGame(later, 0, db, true);
  }
  p.Current().ResetList();
  p.Current().SetCursor(5);
  p.commands->appendAction()->trigger();
  EXPECT_EQ(p.messages, QStringList{QStringLiteral("Cannot Add")});
  EXPECT_EQ(Children(p.BoardGame(), 0).size(), 1u);
}

TEST(DatabaseEditCommands, MenusHaveDistinctEntriesAndShortcuts) {
  Program p;
  const std::vector<QAction*> actions = MenuActions(p);
  std::map<QString, QString> byKey;
  std::set<QString> texts;
  for (QAction* a : actions) {
    const QString text = a->text().remove('&');
    EXPECT_TRUE(texts.insert(text).second) << "two menu entries " << text.toStdString();
    if (a->shortcut().isEmpty()) continue;
    const QString key = a->shortcut().toString();
    const auto [it, fresh] = byKey.emplace(key, text);
    EXPECT_TRUE(fresh) << key.toStdString() << " on " << it->second.toStdString() << " and " << text.toStdString();
  }
  // The commands of this window are among them.
  EXPECT_EQ(byKey[QStringLiteral("Ctrl+M")], QStringLiteral("Match games..."));
}

TEST(DatabaseEditCommands, DeleteKeyMarksTheSelectedGamesOrTheCursorsGame) {
  Program p;
  DatabaseWindow& w = p.Database().Window();
  const TKestrelDB& db = p.Current().DB();
  const auto marks = [&] {
    return std::vector<bool>{IsMarkedDeleted(db, 1), IsMarkedDeleted(db, 2), IsMarkedDeleted(db, 3),
                             IsMarkedDeleted(db, 4)};
  };
  // None selected: the cursor's game, and the cursor moves on.
  p.Current().SetCursor(1);
  w.ShowCursor();
  QTest::keyClick(w.View(), Qt::Key_Delete);
  EXPECT_EQ(marks(), (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(p.Current().Cursor(), 2);
  // Selected games: the first selected one decides for all of them.
  p.Select({1, 3, 4});
  QTest::keyClick(w.View(), Qt::Key_Delete);
  EXPECT_EQ(marks(), (std::vector<bool>{false, false, false, false}));
  QTest::keyClick(w.View(), Qt::Key_Delete);
  EXPECT_EQ(marks(), (std::vector<bool>{true, false, true, true}));
  // Ctrl+H reaches "Headers" -> "Set" in its submenu.
  bool asked = false;
  p.commands->askHeaders = [&](THeaderFields&) { return asked = true, false; };
  QTest::keyClick(w.View(), Qt::Key_H, Qt::ControlModifier);
  EXPECT_TRUE(asked);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

void Screenshot(QWidget& w, const char* name) {
  if (!qEnvironmentVariableIsSet("KESTREL_SCREENSHOTS")) return;
  w.adjustSize();
  w.grab().save(qEnvironmentVariable("KESTREL_SCREENSHOTS") + "/" + name + ".png");
}

TEST(DatabaseEditDialogs, OnlyTheFieldsTheUserSetAreSet) {
  HeadersSetDialog headers(1);
  headers.SetNameLists({"Anna", "Boris"}, {"Cup"}, {"Riga"});
  EXPECT_FALSE(headers.Fields().white || headers.Fields().tournament || headers.Fields().year);
  headers.nameBox(HeadersSetDialog::fTournament)->setEditText(QStringLiteral("Round [$]"));
  headers.numberBox(HeadersSetDialog::fYear)->setValue(1999);
  const THeaderFields f = headers.Fields();
  EXPECT_EQ(f.tournament, std::optional<std::string>("Round [$]"));
  EXPECT_EQ(f.year, std::optional<uint16_t>(1999));
  EXPECT_FALSE(f.white || f.black || f.site || f.annotator || f.result || f.round || f.subround || f.day || f.month);
  Screenshot(headers, "headers_set");

  MatchGamesDialog match;
  EXPECT_TRUE(match.lengthBox()->isEnabled());
  match.movesBox()->setChecked(false);
  EXPECT_FALSE(match.lengthBox()->isEnabled());
  EXPECT_FALSE(match.Options().moves);
  Screenshot(match, "match_games");
}

TEST(DatabaseEditDialogs, WindowAndMenusAsTheUserSeesThem) {
  if (!qEnvironmentVariableIsSet("KESTREL_SCREENSHOTS")) GTEST_SKIP() << "KESTREL_SCREENSHOTS not set";
  Program p;
  DatabaseWindow& w = p.Database().Window();
  w.show();
  Screenshot(w, "database_window");
  int i = 0;
  for (QAction* top : w.findChild<QMenuBar*>()->actions())
    if (QMenu* m = top->menu()) Screenshot(*m, ("menu" + std::to_string(i++)).c_str());
  GameInfoDialog info;
  BindLangTitle(&info, 112);
  info.SetHeader(HeadersIn(p.path)[0], gtRussian, false, 1);
  Screenshot(info, "edit_header");
}

}  // namespace
}  // namespace kestrel
