// The book grid beside the game panel: one row per move of the current
// position with its book figures, coloured by class, with the sign menu.
#pragma once

#include <QWidget>

#include "game/open_moves.h"

class QAction;
class QLabel;
class QMenu;
class QTableWidget;

namespace kestrel {

class BookGridWidget : public QWidget {
  Q_OBJECT

 public:
  explicit BookGridWidget(QWidget* parent = nullptr);

  // Fills the rows from the opening tree; `bookName` is shown above the
  // grid (empty while no book is open).
  void ShowTree(const TOpenMoves& tree, const QString& bookName);

  bool AddOnClick() const;
  QTableWidget* Table() const { return table_; }
  QLabel* BookLabel() const { return label_; }
  QMenu* SignMenu() const { return menu_; }
  // The tree entry shown in `row` (0-based), or nullptr.
  const TOpenMove* Entry(int row) const;

 signals:
  // A left click on the move of a row.
  void moveChosen(kestrel::TOpenMove entry);
  // A sign chosen from the pop-up menu of a row.
  void signChosen(kestrel::TOpenMove entry, int sign);
  // The mouse wheel: one move back (up) or forward (down).
  void stepRequested(bool back);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* label_;
  QTableWidget* table_;
  QMenu* menu_;
  QAction* addOnClick_;
  TOpenMoves tree_;
  int menuRow_ = -1;
};

}  // namespace kestrel
