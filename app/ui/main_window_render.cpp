// The 25 ms timer of the main window: the clock, and everything the
// controller and its worker asked to be shown again. Each step is guarded on
// its own; a failing step shows its message and the next one runs.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>

#include <exception>

#include "app/board/last_move.h"
#include "app/play/play_texts.h"
#include "app/ui/board_panel.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "app/ui/search_info_panel.h"
#include "app/ui/ui_language.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

template <class F>
void Guarded(QWidget* parent, const char* message, F&& step) {
  try {
    step();
  } catch (const std::exception&) {
    QMessageBox::warning(parent, parent->windowTitle(), QString::fromUtf8(message));
  }
}

}  // namespace

void MainWindow::TimerStep() {
  // A message box shown by a step runs its own event loop; the ticks that
  // arrive meanwhile return at once.
  if (inTimer_) return;
  inTimer_ = true;
  TPlayController& c = *controller_;
  Guarded(this, "Exception in Clock Module - Autoplay!", [&] { c.TimerTick(); });
  const uint32_t flags = c.Refresh().TakeAll();
  if (flags & rqBoard) Guarded(this, "Exception in Clock Module - Repaint Board!", [&] { RenderBoard(); });
  if (flags & rqShowTree)
    Guarded(this, "Exception in Clock Module - Rebuild Game - ShowTree!", [&] { emit gameTreeShowRequested(); });
  if (flags & rqBuildTree)
    Guarded(this, "Exception in Clock Module - Rebuild Game - BuildTree!", [&] { emit gameTreeRebuildRequested(); });
  if (flags & rqHeader)
    Guarded(this, "Exception in Clock Module - Rebuild Game - Header!", [&] { emit gameHeaderChanged(); });
  if (flags & rqBook)
    Guarded(this, "Exception in Clock Module - Opening moves!", [&] {
      if (!c.HideEngineOutput()) {
        c.RefreshBookDisplay();
        emit bookDisplayChanged();
      }
    });
  if (flags & (rqStopButton | rqMode))
    Guarded(this, "Exception in Clock Module - Stop Button!", [&] { RenderStopButton(); });
  if (flags & rqMode) RenderModes();
  if (flags & rqWindowMenu) RebuildWindowMenu();
  if (flags & rqSaveButton) database_->UpdateSaveActions();
  if (!c.AnalysisMode()) Guarded(this, "Exception in Clock Module - PlayMode!", [&] { RenderClock(); });
  Guarded(this, "Exception in Clock Module - Thread Message!", [&] { ShowThreadMessages(); });
  Guarded(this, "Exception in Clock Module - SearchInfo!", [&] { RenderSearchInfo(false); });
  if (flags & (rqStatusBar | rqBoard)) RenderStatusBar();
  inTimer_ = false;
}

void MainWindow::RenderBoard() {
  struct Shown {
    TBrd board;
    int type;
    std::vector<int> lastMove;
  };
  const Shown shown = controller_->ReadGame([](const TGame& g) {
    const int type = GameTypeOf(g);
    Shown s{g.CurBoard.b, type, {}};
    if (g.CurMovPos > 0 && g.IsNode(g.CurMovPos))
      s.lastMove = LastMoveSquares(g.Moves[g.CurMovPos], GameTypes[type].SquareCount);
    return s;
  });
  BoardScene scene = board_->view().scene();
  scene.board = shown.board;
  scene.type = shown.type;
  scene.highlighted = shown.lastMove;
  scene.reversed = controller_->BoardReversed();
  scene.blind = controller_->BlindPlay();
  board_->view().SetScene(scene);
  reversed_->setChecked(controller_->BoardReversed());
}

void MainWindow::RenderStopButton() {
  const bool busy = controller_->EngineBusy();
  const QString text = ProgramTextQ(Lang(busy ? LtStopButton : LtStartButton));
  if (stop_->text() != text) {
    stop_->setText(text);
    stop_->setStyleSheet(busy ? QStringLiteral("color: red; font-weight: bold")
                              : QStringLiteral("color: green; font-weight: bold"));
  }
}

void MainWindow::RenderModes() {
  TPlayController& c = *controller_;
  const bool analysis = c.AnalysisMode();
  const bool setup = c.SetupMode();
  analysisMode_->setChecked(analysis);
  playMode_->setChecked(!analysis);
  if (IsValidGameType(CurrentGameType)) types_[CurrentGameType]->setChecked(true);
  levels_[c.LevelIndex()]->setChecked(true);
  times_[c.TimeIndex()]->setChecked(true);
  tournament_->setChecked(c.TournamentMode());
  blind_->setChecked(c.BlindPlay());
  extended_->setChecked(c.ExtendedAnalysis());
  extended_->setEnabled(analysis);
  dontAnalyse_->setEnabled(c.ExtendedAnalysis());
  reversed_->setChecked(c.BoardReversed());

  // Play mode shows the clock and moves the game panel down below it.
  if (clock_->isHidden() != analysis) {
    clock_->setVisible(!analysis);
    board_->Relayout();
  }
  navigation_[4]->setVisible(analysis && !setup);
  navigation_[4]->setChecked(c.ReplayRunning());
  for (int i = 0; i < 4; ++i) navigation_[i]->setVisible(!setup);
  stop_->setVisible(!setup);
  setupBar_->setVisible(setup);
  searchInfo_->setVisible(!setup && !c.HideEngineOutput());
  for (QMenu* m : {gameMenu_, playMenu_, timeMenu_, coachMenu_, windowMenu_}) m->setEnabled(!setup);
  toolBar_->setEnabled(!setup);
}

void MainWindow::RenderClock() {
  const QString text = QString::fromStdString(controller_->Clock().Text());
  if (text != clockText_) {
    clockText_ = text;
    clock_->setText(text);
  }
}

void MainWindow::RenderStatusBar() {
  status_[0]->setText(ProgramTextQ(controller_->StatusVariant()));
  status_[1]->setText(QString::fromStdString(controller_->MaterialLine()));
  status_[2]->setText(QString::fromStdString(controller_->DrawNotice()));
}

void MainWindow::RenderSearchInfo(bool force) {
  TPlayController& c = *controller_;
  if (c.HideEngineOutput()) {
    searchInfo_->hide();
    return;
  }
  if (!force && !c.SearchInfo().Changed()) return;
  searchInfo_->Show(c.SearchInfo().Snapshot(true));
}

void MainWindow::ShowThreadMessages() {
  while (auto message = controller_->Refresh().TakeMessage()) {
    const QString text = ProgramTextQ(message->text);
    if (message->messageBox)
      QMessageBox::information(this, windowTitle(), text);
    else
      ShowInfo(text);
  }
}

}  // namespace kestrel
