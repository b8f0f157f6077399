// The main window's central area: the board, sized by the layout rules of the
// main window, with the board's view commands ("Small", "Average", "Large",
// "Select colors").
#pragma once

#include <QAction>
#include <QStringList>
#include <QWidget>

#include "app/board/board_layout.h"
#include "app/ui/board_view.h"

class QMenu;

namespace kestrel {

class KestrelApp;
class SelectColorsDialog;

class BoardPanel : public QWidget {
  Q_OBJECT

 public:
  explicit BoardPanel(KestrelApp& app, QWidget* parent = nullptr);
  ~BoardPanel() override;

  // Takes colours, figures and display options from the settings and shows
  // the start position of the current game type. Returns one message per
  // figure file that could not be loaded.
  QStringList ApplySettings();
  // Reloads the four figure files named in the settings over the built-in
  // pictures.
  QStringList LoadFigures();

  // Asks for a board edge (0 keeps the stored wish) and lays out again.
  void RequestBoardSize(int wanted);
  void Relayout();
  const MainLayout& mainLayout() const { return layout_; }

  // Options that live only while the program runs.
  void SetReversed(bool reversed);
  void SetBlindPlay(bool blind);
  void SetLastMove(std::vector<int> squares);

  BoardView& view() { return *view_; }
  KestrelApp& app() { return app_; }

  QAction* smallAction() const { return small_; }
  QAction* averageAction() const { return average_; }
  QAction* largeAction() const { return large_; }
  QAction* selectColorsAction() const { return selectColors_; }
  void AddViewActions(QMenu* menu);
  SelectColorsDialog& selectColorsDialog();

 signals:
  // The game panel's colours changed; the game tree is to be built again.
  void gamePanelColorsChanged();
  void layoutChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowStartPosition();

  KestrelApp& app_;
  BoardView* view_;
  MainLayout layout_;
  int gameTypeListener_ = -1;
  QAction* small_;
  QAction* average_;
  QAction* large_;
  QAction* selectColors_;
  SelectColorsDialog* dialog_ = nullptr;
};

}  // namespace kestrel
