// The database window: the game list of the current database with its
// marks, keys and mouse, the "Moves list" and "Initial position" views, "To
// game #", and the status text. Its menus and tool bar are open for the
// commands of other parts of the program (search, maintenance, tools): they
// add their actions through Menu() and ToolBar().
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

#include <memory>

#include "app/database/current_database.h"

class QAction;
class QKeySequence;
class QLabel;
class QMenu;
class QMenuBar;
class QTableView;
class QToolBar;

namespace kestrel {

class GameListModel;
class InitialPositionView;
class SearchDialog;
struct TDatabaseSearch;

class DatabaseWindow : public QDialog {
  Q_OBJECT

 public:
  enum class MenuId { database, games, list, search };

  DatabaseWindow(TCurrentDatabase& db, QWidget* parent = nullptr);
  ~DatabaseWindow() override;

  // ---- For the commands other parts of the program add to this window.
  // The database shown, with its list and cursor.
  TCurrentDatabase& Current() const { return db_; }
  QMenu* Menu(MenuId id) const;
  // A further menu of the menu bar (maintenance, tools).
  QMenu* AddMenu(const QString& title);
  QToolBar* ToolBar() const { return toolBar_; }
  // The list position of the cursor (1-based, 0 on an empty list) and the
  // selected list positions in list order.
  int32_t CursorRow() const { return db_.Cursor(); }
  std::vector<int32_t> SelectedRows() const;
  // The database or its list changed: everything is drawn again, from the
  // top (a new database, an import, a search, a clean-up) or keeping the
  // cursor. Rebuilds the status text.
  void Reload(bool toTop = true);
  // One entry's marks changed.
  void RowChanged(int32_t pos);
  // The status text (also sent to the main window through statusChanged).
  QString StatusText() const;
  // Puts the view's current row on the database cursor.
  void ShowCursor();

  QTableView* View() const { return view_; }
  GameListModel& Model() const { return *model_; }
  QLabel* StatusLabel() const { return status_; }

  // ---- Search.
  // "New search": the dialog, then the games found in the list. False when
  // cancelled or no database is open.
  bool NewSearch();
  // The quick search for a position (the main board's).
  bool QuickSearch(const TBrd& board, TDColor sideToMove, int squareCount);
  // "Reset": the whole database in the list again.
  void ResetList();

  // Settings of the list display.
  void SetResultStyle(int style);
  void SetNotation(int mode, const std::string& takeChar);

  // Asks a number (QInputDialog); tests replace it.
  std::function<bool(const QString& title, int low, int high, int& value)> askNumber;

 signals:
  // Enter or a double click: the main window loads the game at `pos`.
  void loadRequested(int pos);
  void statusChanged(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateMenus();
  void OnCurrentChanged();
  void ToggleSelectedAt(int32_t pos);
  void DeleteMarks();
  void ToggleDeletedAtCursor();
  void SelectRange(bool select);
  void ToGameNumber();
  void UpdateStatus();
  bool RequireOpen();
  QAction* ActionForKey(const QKeySequence& key) const;

  TCurrentDatabase& db_;
  GameListModel* model_;
  QTableView* view_;
  QMenuBar* menuBar_;
  QToolBar* toolBar_;
  QMenu* databaseMenu_;
  QMenu* gamesMenu_;
  QMenu* listMenu_;
  QLabel* status_;
  InitialPositionView* initial_;
  SearchDialog* searchDialog_ = nullptr;
  // The search's record and the dialog's values, kept between searches.
  std::unique_ptr<TDatabaseSearch> search_;
  QMenu* searchMenu_;
  QAction* movesList_;
  QAction* initialPosition_;
};

}  // namespace kestrel
