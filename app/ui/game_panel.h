// The game panel beside the board: draws the laid-out move tree and its
// header, scrolls, and turns clicks into moves. The layout itself is plain
// C++ (TGameTreeView); this widget only paints its items.
#pragma once

#include <QFont>
#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "app/panels/game_panel_commands.h"
#include "game/game.h"
#include "game/game_tree_view.h"
#include "game/tree_item_look.h"

class QMenu;
class QScrollBar;

namespace kestrel {

class GamePanel : public QWidget {
  Q_OBJECT

 public:
  explicit GamePanel(QWidget* parent = nullptr);
  ~GamePanel() override;

  // Colours of the main line, second line, third line and comments, as the
  // settings keep them (0x00BBGGRR).
  void SetColors(uint32_t mainLine, uint32_t secondLine, uint32_t thirdLine, uint32_t comment);
  void SetGameFont(const QFont& font);
  // Notation, result text and the line options; the width is the panel's own.
  void SetLayoutOptions(const TTreeLayoutOptions& options);

  // After every change of the game: lays it out again and scrolls the
  // current move into view.
  void BuildGameTree(const TGame& game);
  // After a change of the current move only.
  void ShowCurrentMove(int slot);

  const TGameTreeView& View() const { return view_; }
  int CurrentSlot() const { return currentSlot_; }
  QScrollBar* ScrollBar() const { return bar_; }
  // The client point at the middle of the first item of `slot`, if drawn.
  std::optional<QPoint> SlotCentre(int slot) const;

  // The annotation menu of the current move; its choices arrive as
  // commandChosen, commentRequested or diagramRequested.
  QMenu* Menu() const { return menu_; }
  void PopupMenu(const QPoint& globalPos);

 signals:
  // A click on a move (slot 0: a comment, bracket, the start mark or the
  // result, standing for the start position).
  void moveClicked(int slot, bool rightButton, QPoint globalPos);
  void headerDialogRequested();
  void commandChosen(kestrel::TPanelCommand command);
  void commentRequested();
  void diagramRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Relayout();
  void SyncBar();
  QFont FontFor(TTreeStyle style) const;
  QColor ColorFor(TTreeColor color) const;
  int TextWidth(std::string_view text, TTreeStyle style) const;
  int LineHeight() const;
  void BuildMenu();

  TGameTreeView view_;
  TTreeLayoutOptions options_;
  std::optional<TGame> game_;  // kept to lay out again when the width changes
  int currentSlot_ = 0;
  QFont font_;
  std::array<QColor, 4> lineColors_;
  QScrollBar* bar_;
  QMenu* menu_;
  bool syncing_ = false;
};

}  // namespace kestrel
