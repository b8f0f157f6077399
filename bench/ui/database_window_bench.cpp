// The database window on 100 000 games: opening the database into the
// window and drawing its first page, jumping to the last game (End) and
// drawing that page, and the same in "Moves list" mode, where every visible
// row reads its whole game. Prints the times; the database is made once in
// the temporary folder and reused.
//
//   kestrel_window_bench [GAMES]
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTableView>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "app/database/current_database.h"
#include "app/ui/database_window.h"
#include "app/ui/game_list_model.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "test_support/random_line.h"

namespace kestrel {
namespace {

// Games of 40 random legal plies with a few hundred players, tournaments
// and sites, as a real collection has.
TGame MakeGame(int k, std::mt19937& rng) {
  TGame game;
  NewGame(game, gtRussian);
  game.WhiteName = "Player " + std::to_string(rng() % 400);
  game.BlackName = "Player " + std::to_string(rng() % 400);
  game.Tournament = "Tournament " + std::to_string(k / 50);
  game.Site = "Site " + std::to_string(rng() % 60);
  game.Header.Result = static_cast<uint8_t>(1 + rng() % 3);
  game.Header.Date.Year = static_cast<uint16_t>(1950 + rng() % 70);
  testing::GrowLine(game, 0, 40, rng);
  return game;
}

std::string EnsureDatabase(int games) {
  const auto folder = std::filesystem::temp_directory_path() / "kestrel-bench-window";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / ("games" + std::to_string(games) + ".abd")).string();
  {
    TKestrelDB db;
    if (OpenDatabase(path, db, false, TDBAccess::readOnly).ok() && db.DBSize == games) return path;
  }
  std::printf("making %d games in %s ...\n", games, path.c_str());
  TKestrelDB db;
  CreateDatabase(path, db);
  std::mt19937 rng(7);
  // A few hundred distinct games, written over and over: making them is
  // slower than writing them.
  std::vector<TGame> pool;
  for (int k = 0; k < 500; ++k) pool.push_back(MakeGame(k, rng));
  for (int k = 0; k < games; ++k) {
    TGame g = pool[static_cast<size_t>(k) % pool.size()];
    g.Tournament = "Tournament " + std::to_string(k / 50);
    WriteDBGame(g, 0, db, false);
  }
  CloseDatabase(db);
  return path;
}

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

void PressEnd(QTableView* view) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
  QApplication::sendEvent(view, &press);
}

}  // namespace
}  // namespace kestrel

int main(int argc, char** argv) {
  using namespace kestrel;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const std::string path = EnsureDatabase(games);

  TCurrentDatabase current;
  DatabaseWindow window(current);
  window.resize(1000, 700);
  window.show();
  QApplication::processEvents();

  QElapsedTimer t;
  t.start();
  current.OpenAtStartup(path);
  window.Reload(true);
  window.grab();  // draws the visible rows
  const double open = Ms(t);

  t.restart();
  PressEnd(window.View());
  window.grab();
  const double end = Ms(t);
  const int last = current.Cursor();

  window.Menu(DatabaseWindow::MenuId::list);  // the "Moves list" toggle
  window.Model().SetMovesList(true);
  window.ShowCursor();
  t.restart();
  window.grab();
  const double movesEnd = Ms(t);

  std::printf("games %d\nopen and draw the first page  %8.1f ms\nEnd and draw the last page    %8.1f ms (cursor %d)\n"
              "Moves list, last page         %8.1f ms\n",
              current.DB().DBSize, open, end, last, movesEnd);
  current.Close();
  return 0;
}
