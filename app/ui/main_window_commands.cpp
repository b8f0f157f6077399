// The main window's menus, tool bar and the commands behind them.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>

#include "app/settings/kestrel_app.h"
#include "app/play/levels.h"
#include "app/play/side_names.h"
#include "app/ui/board_panel.h"
#include "app/ui/game_analysis_dialog.h"
#include "app/ui/game_info_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/search_info_panel.h"
#include "app/ui/set_time_dialog.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel {

void MainWindow::CreateActions() {
  newGame_ = new QAction(tr("New"), this);
  newGame_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  newGame_->setToolTip(tr("New game"));
  connect(newGame_, &QAction::triggered, this, [this] { controller_->NewGame(); });
  setup_ = new QAction(tr("Setup position"), this);
  setup_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  connect(setup_, &QAction::triggered, this, &MainWindow::OnSetup);
  gameInfo_ = new QAction(tr("Game information"), this);
  gameInfo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  connect(gameInfo_, &QAction::triggered, this, &MainWindow::OnGameInformation);
  exit_ = new QAction(tr("Exit"), this);
  connect(exit_, &QAction::triggered, this, &QWidget::close);

  auto* typeGroup = new QActionGroup(this);
  for (int t = 1; t <= GameTypeCount; ++t) {
    types_[t] = new QAction(QString::fromUtf8(GameTypeNames[t].data(), static_cast<int>(GameTypeNames[t].size())), this);
    types_[t]->setCheckable(true);
    typeGroup->addAction(types_[t]);
    connect(types_[t], &QAction::triggered, this, [this, t] { controller_->SetGameTypeCommand(t); });
  }

  auto* modeGroup = new QActionGroup(this);
  analysisMode_ = new QAction(tr("Analysis/view mode"), this);
  playMode_ = new QAction(tr("Play mode"), this);
  for (QAction* a : {analysisMode_, playMode_}) {
    a->setCheckable(true);
    modeGroup->addAction(a);
  }
  connect(analysisMode_, &QAction::triggered, this, [this] { controller_->SetAnalysisMode(); });
  connect(playMode_, &QAction::triggered, this, [this] { controller_->SetPlayMode(); });

  auto* levelGroup = new QActionGroup(this);
  for (int i = 0; i < static_cast<int>(Levels.size()); ++i) {
    QAction* a = new QAction(QString::fromUtf8(Levels[i].caption.data(), static_cast<int>(Levels[i].caption.size())), this);
    a->setCheckable(true);
    levelGroup->addAction(a);
    connect(a, &QAction::triggered, this, [this, i] { controller_->SetLevel(i); });
    levels_.push_back(a);
  }

  compute_ = new QAction(tr("Compute!"), this);
  compute_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  connect(compute_, &QAction::triggered, this, [this] { controller_->Compute(); RenderStopButton(); });
  tournament_ = new QAction(tr("Tournament mode"), this);
  tournament_->setCheckable(true);
  connect(tournament_, &QAction::toggled, this, [this](bool on) {
    controller_->SetTournamentMode(on);
    RenderSearchInfo(true);
  });
  blind_ = new QAction(tr("Blind play"), this);
  blind_->setCheckable(true);
  connect(blind_, &QAction::toggled, this, [this](bool on) { controller_->SetBlindPlay(on); });
  offerDraw_ = new QAction(tr("Offer draw"), this);
  connect(offerDraw_, &QAction::triggered, this, &MainWindow::OnOfferDraw);

  auto* timeGroup = new QActionGroup(this);
  for (int i = 0; i <= SetTimeIndex; ++i) {
    const QString caption = i < SetTimeIndex ? QString::fromUtf8(TimePresets[i].caption.data(),
                                                                 static_cast<int>(TimePresets[i].caption.size()))
                                             : tr("Set time");
    QAction* a = new QAction(caption, this);
    a->setCheckable(true);
    timeGroup->addAction(a);
    if (i < SetTimeIndex)
      connect(a, &QAction::triggered, this, [this, i] { controller_->SetTimePreset(i); });
    else
      connect(a, &QAction::triggered, this, &MainWindow::OnSetTime);
    times_.push_back(a);
  }

  extended_ = new QAction(tr("Extended analysis"), this);
  extended_->setCheckable(true);
  extended_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  connect(extended_, &QAction::triggered, this, [this](bool on) {
    controller_->SetExtendedAnalysis(on);
    searchInfo_->SetRootListVisible(on);
  });
  dontAnalyse_ = new QAction(tr("Don't analyse"), this);
  dontAnalyse_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  connect(dontAnalyse_, &QAction::triggered, this, [this] {
    controller_->SearchInfo().ToggleExcluded(searchInfo_->SelectedRow());
    RenderSearchInfo(true);
  });
  gameAnalysis_ = new QAction(tr("Game analysis"), this);
  connect(gameAnalysis_, &QAction::triggered, this, &MainWindow::OnGameAnalysis);
  autoplay_ = new QAction(tr("Autoplay position"), this);
  connect(autoplay_, &QAction::triggered, this, &MainWindow::OnAutoplay);
  engineMatch_ = new QAction(tr("Engine match"), this);
  engineMatch_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  connect(engineMatch_, &QAction::triggered, this, &MainWindow::OnEngineMatch);
  enginesTournament_ = new QAction(tr("Engines tournament"), this);
  enginesTournament_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  connect(enginesTournament_, &QAction::triggered, this, &MainWindow::OnEnginesTournament);
  searchInfo_->rootMenu()->addAction(extended_);
  searchInfo_->rootMenu()->addAction(dontAnalyse_);

  reversed_ = new QAction(tr("Reversed"), this);
  reversed_->setCheckable(true);
  reversed_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  connect(reversed_, &QAction::triggered, this, [this] { controller_->ToggleReversed(); });
}

void MainWindow::CreateMenus() {
  gameMenu_ = menuBar()->addMenu(tr("&Game"));
  gameMenu_->addAction(newGame_);
  gameMenu_->addAction(setup_);
  gameMenu_->addAction(gameInfo_);
  gameMenu_->addSeparator();
  gameMenu_->addAction(exit_);

  typeMenu_ = menuBar()->addMenu(tr("&Type"));
  for (int t = 1; t <= GameTypeCount; ++t) typeMenu_->addAction(types_[t]);

  playMenu_ = menuBar()->addMenu(tr("&Play"));
  playMenu_->addAction(analysisMode_);
  playMenu_->addAction(playMode_);
  playMenu_->addSeparator();
  QMenu* level = playMenu_->addMenu(tr("Level"));
  for (QAction* a : levels_) level->addAction(a);
  playMenu_->addSeparator();
  playMenu_->addAction(compute_);
  playMenu_->addAction(offerDraw_);
  playMenu_->addSeparator();
  playMenu_->addAction(tournament_);
  playMenu_->addAction(blind_);

  timeMenu_ = menuBar()->addMenu(tr("T&ime"));
  for (int i = 0; i <= SetTimeIndex; ++i) {
    if (i == 5 || i == SetTimeIndex) timeMenu_->addSeparator();
    timeMenu_->addAction(times_[i]);
  }

  coachMenu_ = menuBar()->addMenu(tr("&Coach"));
  coachMenu_->addAction(extended_);
  coachMenu_->addAction(dontAnalyse_);
  coachMenu_->addSeparator();
  coachMenu_->addAction(gameAnalysis_);
  coachMenu_->addAction(autoplay_);
  coachMenu_->addSeparator();
  coachMenu_->addAction(engineMatch_);
  coachMenu_->addAction(enginesTournament_);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  board_->AddViewActions(view);
  view->addSeparator();
  view->addAction(reversed_);

  windowMenu_ = menuBar()->addMenu(tr("&Window"));
}

void MainWindow::CreateToolBar() {
  toolBar_ = addToolBar(tr("Tools"));
  toolBar_->setObjectName(QStringLiteral("mainToolBar"));
  toolBar_->addAction(newGame_);
  toolBar_->addAction(setup_);
  toolBar_->addAction(gameInfo_);
  toolBar_->addSeparator();
  toolBar_->addAction(compute_);
}

void MainWindow::RebuildWindowMenu() {
  windowMenu_->clear();
  auto* group = new QActionGroup(windowMenu_);
  for (const auto& entry : controller_->WindowMenu()) {
    QAction* a = windowMenu_->addAction(QString::fromStdString(entry.title));
    a->setCheckable(true);
    a->setChecked(entry.current);
    group->addAction(a);
    const int index = entry.index;
    connect(a, &QAction::triggered, this, [this, index] { controller_->SelectWindowGame(index); });
  }
  windowMenu_->addSeparator();
  connect(windowMenu_->addAction(tr("New")), &QAction::triggered, this, [this] { controller_->NewWindowGame(); });
  connect(windowMenu_->addAction(tr("Close")), &QAction::triggered, this,
          [this] { controller_->CloseWindowGame(); });
}

void MainWindow::OnSetTime() {
  SetTimeDialog dialog(this);
  dialog.SetValues(controller_->SetTimeValues(), CurrentGameType);
  if (dialog.exec() == QDialog::Accepted) controller_->SetCustomTime(dialog.Values());
  RenderModes();
}

void MainWindow::OnGameInformation() {
  GameInfoDialog dialog(this);
  const Settings& s = app_.settings();
  dialog.SetHeader(controller_->Header(), CurrentGameType, s.PoolWhiteBottom, s.ResType);
  if (dialog.exec() == QDialog::Accepted) controller_->SetHeader(dialog.Header());
}

void MainWindow::OnSetup() {
  if (!controller_->EnterSetup()) return;
  const int type = CurrentGameType;
  for (int s = 0; s < 2; ++s)
    setupSide_[s]->setText(QString::fromStdString(
        BoardSideName(static_cast<TDColor>(s), type, app_.settings().PoolWhiteBottom)));
  setupSide_[0]->setChecked(true);
  setupFirstMove_->setValue(1);
  RenderModes();
}

void MainWindow::OnSetupDone() {
  controller_->SetupDone(setupSide_[1]->isChecked() ? TDColor::black : TDColor::white, setupFirstMove_->value());
  RenderModes();
}

void MainWindow::OnGameAnalysis() {
  GameAnalysisDialog dialog(this);
  dialog.SetOptions(TGameAnalysisOptions{}, CurrentGameType);
  if (dialog.exec() != QDialog::Accepted) return;
  controller_->StartGameAnalysis(dialog.Options());
  extended_->setChecked(true);
  searchInfo_->SetRootListVisible(true);
  RenderStopButton();
}

void MainWindow::OnAutoplay() {
  controller_->StopAndWait();
  controller_->SetPlayMode();
  SetTimeDialog dialog(this);
  dialog.SetValues(controller_->SetTimeValues(), CurrentGameType);
  if (dialog.exec() != QDialog::Accepted) {
    RenderModes();
    return;
  }
  controller_->SetCustomTime(dialog.Values());
  controller_->StartAutoplay();
  RenderModes();
  RenderStopButton();
}

void MainWindow::OnOfferDraw() { controller_->OfferDraw(); }

}  // namespace kestrel
