// Move input and game editing in the main window: board clicks, typed moves,
// the game panel with its pop-up commands and the book grid, joined to the
// play controller. The main window creates one and forgets it.
#pragma once

#include <QObject>
#include <QPoint>

#include <string>

#include "app/panels/game_panel_commands.h"
#include "app/board/move_input.h"
#include "game/open_moves.h"

class QKeyEvent;

namespace kestrel {

class BookGridWidget;
class GamePanel;
class MainWindow;
class TPlayController;

class GameInput : public QObject {
  Q_OBJECT

 public:
  explicit GameInput(MainWindow& window);

  GamePanel& gamePanel() { return *panel_; }
  BookGridWidget& bookGrid() { return *book_; }
  const TTypedMove& typedMove() const { return typed_; }

  // Places the game panel and the book grid by the main window's layout.
  void Place();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TLegalMoves CurrentMoves() const;
  void OnSquare(int square, Qt::MouseButton button);
  void Enter(const TMove& move);
  void FollowForcedMoves();
  void OnKey(char c);
  // Asks which of the typed move's candidates (numbers in `moves`) is meant;
  // 0 when the user cancels.
  int ChooseMove(const TLegalMoves& moves, const std::vector<int>& found, int type);
  void RebuildTree();
  void ShowCurrentMove();
  void ShowBook();
  void OnMoveClicked(int slot, bool rightButton, QPoint globalPos);
  void OnCommand(TPanelCommand command);
  void OnComment();
  void OnDiagram();
  void OnBookMove(const TOpenMove& entry);
  void OnBookSign(const TOpenMove& entry, int sign);
  bool PanelClicksTaken() const;
  bool IsWindowShortcut(const QKeyEvent* key) const;

  MainWindow& window_;
  TPlayController& controller_;
  GamePanel* panel_;
  BookGridWidget* book_;
  TClickHistory clicks_;
  TTypedMove typed_;
  std::string shownBookComment_;
};

}  // namespace kestrel
