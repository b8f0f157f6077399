// The main window's database commands: the current database opened at
// start-up and closed at exit, "Save" and "Save game (as new)", "Delete" and
// "Select" of the loaded game, loading the previous or next game, the
// database window ("Go to database") with its opening, closing, imports and
// "Replace", new games from ballots, "Import from text" and the "FEN" button
// of the position set-up. The questions go through replaceable functions so
// that tests can answer them.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <random>

#include "app/database/current_database.h"
#include "database/ballots.h"

class QAction;
class QLabel;
class QMenu;

namespace kestrel {

class DatabaseWindow;
class KestrelApp;
class MainWindow;

class MainWindowDatabase : public QObject {
  Q_OBJECT

 public:
  MainWindowDatabase(MainWindow& window, KestrelApp& app);
  ~MainWindowDatabase() override;

  TCurrentDatabase& Current() { return current_; }
  DatabaseWindow& Window() { return *window_; }

  // Start-up: the database of the "Database" setting.
  void Start();
  // Exit: the setting remembers the open database, which is closed.
  void Close();

  // "Save" (Ctrl+S) and the Yes to "Game not saved. Save?": into the current
  // database, or, with none open, into one the user chooses or creates.
  // False when nothing was saved (the user gave up, or the save failed and
  // was reported); the game then stays modified.
  bool SaveCurrentGame();
  bool SaveGameAsNew();
  bool ReplaceGame();
  void ToggleDeletedOfGame();
  void ToggleSelectedOfGame();
  // F3 / F4: the previous or next game of the list, wrapping.
  void LoadNeighbour(int direction);
  // Loads the game at list position `pos` (after offering to save).
  bool LoadListGame(int32_t pos);
  // F5: the games where the main board's position occurs, then the window.
  void QuickSearch();
  void GoToDatabase();
  bool OpenDatabaseFile(const QString& path);
  void CloseDatabase();
  void ImportPdn(const QString& path);
  void ImportText(const QString& path);
  void NewBallot(TBallotKind kind);
  void PasteFen();
  void ImportFromText(const QString& text);

  // "Save" is enabled while the game is modified.
  void UpdateSaveActions();
  // The Interface options changed: the list shows moves and results as they
  // say and, after a change of the code page, reads the names anew.
  void DisplaySettingsChanged(bool codePageChanged);

  // The folder the file dialogs of the databases start in, and the choice
  // that becomes it.
  QString DefaultFolder() const;
  void RememberFolder(const QString& file);

  QAction* saveAction() const { return save_; }
  QAction* saveAsNewAction() const { return saveAsNew_; }
  QAction* deleteAction() const { return delete_; }
  QAction* selectAction() const { return select_; }
  QAction* loadPreviousAction() const { return loadPrevious_; }
  QAction* loadNextAction() const { return loadNext_; }
  QAction* goToDatabaseAction() const { return goToDatabase_; }
  QAction* quickSearchAction() const { return quickSearch_; }
  QMenu* databaseMenu() const { return menu_; }

  // The questions and messages; by default dialogs of the main window.
  std::function<QString(const QString& title, bool mayCreate)> chooseDatabaseFile;
  std::function<QString(const QString& title, const QString& filter)> chooseImportFile;
  std::function<bool(const QString& question)> confirm;
  std::function<void(const QString& message)> showMessage;

 private:
  void CreateActions();
  void AfterDatabaseChange();
  bool RequireOpen();
  void Import(const QString& path, bool text);

  MainWindow& main_;
  KestrelApp& app_;
  TCurrentDatabase current_;
  DatabaseWindow* window_;
  std::mt19937 rng_{std::random_device{}()};
  QMenu* menu_;
  QLabel* statusText_;
  QAction* save_;
  QAction* saveAsNew_;
  QAction* delete_;
  QAction* select_;
  QAction* loadPrevious_;
  QAction* loadNext_;
  QAction* goToDatabase_;
  QAction* quickSearch_;
  QAction* search_;
};

}  // namespace kestrel
