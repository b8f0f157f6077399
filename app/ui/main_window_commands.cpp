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
#include "app/play/play_texts.h"
#include "app/play/side_names.h"
#include "app/ui/board_panel.h"
#include "app/ui/game_analysis_dialog.h"
#include "app/ui/game_info_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "app/ui/search_info_panel.h"
#include "app/ui/set_time_dialog.h"
#include "app/ui/ui_language.h"
#include "game/game_editing.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel {

namespace {

// "Grandmaster" ... "Level C".
constexpr int LevelEntries[] = {227, 228, 229, 230, 231, 232};
static_assert(std::size(LevelEntries) == Levels.size());

// The words after the number of a time preset: "minutes/game" (entry 43 for
// the first, 27 for the others) or "sec/move".
int TimePresetEntry(int index) {
  if (index == 0) return 43;
  return TimePresets[index].caption.find("sec") != std::string_view::npos ? 53 : 27;
}

}  // namespace

void MainWindow::CreateActions() {
  newGame_ = new QAction(this);
  BindLang(newGame_, 2);
  BindLangTip(newGame_, 48);
  newGame_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  connect(newGame_, &QAction::triggered, this, [this] { controller_->NewGame(); });
  setup_ = new QAction(this);
  BindLang(setup_, 4);
  BindLangTip(setup_, 4);
  setup_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  connect(setup_, &QAction::triggered, this, &MainWindow::OnSetup);
  gameInfo_ = new QAction(this);
  BindLang(gameInfo_, 3);
  BindLangTip(gameInfo_, 3);
  gameInfo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  connect(gameInfo_, &QAction::triggered, this, &MainWindow::OnGameInformation);
  exit_ = new QAction(this);
  BindLang(exit_, 12);
  exit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(exit_, &QAction::triggered, this, &QWidget::close);

  auto* typeGroup = new QActionGroup(this);
  for (int t = 1; t <= GameTypeCount; ++t) {
    types_[t] = new QAction(this);
    BindLang(types_[t], GameTypeNameEntries[t]);
    types_[t]->setCheckable(true);
    typeGroup->addAction(types_[t]);
    connect(types_[t], &QAction::triggered, this, [this, t] { controller_->SetGameTypeCommand(t); });
  }

  auto* modeGroup = new QActionGroup(this);
  analysisMode_ = new QAction(this);
  BindLang(analysisMode_, 25);
  playMode_ = new QAction(this);
  BindLang(playMode_, 26);
  for (QAction* a : {analysisMode_, playMode_}) {
    a->setCheckable(true);
    modeGroup->addAction(a);
  }
  connect(analysisMode_, &QAction::triggered, this, [this] { controller_->SetAnalysisMode(); });
  connect(playMode_, &QAction::triggered, this, [this] { controller_->SetPlayMode(); });

  auto* levelGroup = new QActionGroup(this);
  for (int i = 0; i < static_cast<int>(Levels.size()); ++i) {
    QAction* a = new QAction(this);
    BindLang(a, LevelEntries[i]);
    a->setCheckable(true);
    levelGroup->addAction(a);
    connect(a, &QAction::triggered, this, [this, i] { controller_->SetLevel(i); });
    levels_.push_back(a);
  }

  compute_ = new QAction(this);
  BindLang(compute_, 30);
  BindLangTip(compute_, 30);
  compute_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  connect(compute_, &QAction::triggered, this, [this] { controller_->Compute(); RenderStopButton(); });
  tournament_ = new QAction(this);
  BindLang(tournament_, 137);
  tournament_->setCheckable(true);
  connect(tournament_, &QAction::toggled, this, [this](bool on) {
    controller_->SetTournamentMode(on);
    RenderSearchInfo(true);
  });
  blind_ = new QAction(this);
  BindLang(blind_, 201);
  blind_->setCheckable(true);
  connect(blind_, &QAction::toggled, this, [this](bool on) { controller_->SetBlindPlay(on); });
  offerDraw_ = new QAction(this);
  BindLang(offerDraw_, 150);
  connect(offerDraw_, &QAction::triggered, this, &MainWindow::OnOfferDraw);

  auto* timeGroup = new QActionGroup(this);
  for (int i = 0; i <= SetTimeIndex; ++i) {
    QAction* a = new QAction(this);
    if (i < SetTimeIndex) {
      // "3 minutes/game", "1 sec/move": the number stays, the words follow
      // the language.
      const std::string_view caption = TimePresets[i].caption;
      const QString number = QString::fromUtf8(caption.data(), static_cast<int>(caption.find(' ') + 1));
      BindLang(a, TimePresetEntry(i), number);
    } else {
      BindLang(a, 28);
    }
    a->setCheckable(true);
    timeGroup->addAction(a);
    if (i < SetTimeIndex)
      connect(a, &QAction::triggered, this, [this, i] { controller_->SetTimePreset(i); });
    else
      connect(a, &QAction::triggered, this, &MainWindow::OnSetTime);
    times_.push_back(a);
  }

  extended_ = new QAction(this);
  BindLang(extended_, 42);
  extended_->setCheckable(true);
  extended_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  connect(extended_, &QAction::triggered, this, [this](bool on) {
    controller_->SetExtendedAnalysis(on);
    searchInfo_->SetRootListVisible(on);
  });
  dontAnalyse_ = new QAction(this);
  BindLang(dontAnalyse_, 67);
  dontAnalyse_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  connect(dontAnalyse_, &QAction::triggered, this, [this] {
    if (const auto root = searchInfo_->ChosenRoot()) controller_->SearchInfo().ToggleExcludedMove(root->move);
    RenderSearchInfo(true);
  });
  addVariation_ = new QAction(this);
  BindLang(addVariation_, 176);
  connect(addVariation_, &QAction::triggered, this, &MainWindow::OnAddVariation);
  gameAnalysis_ = new QAction(this);
  BindLang(gameAnalysis_, 32);
  connect(gameAnalysis_, &QAction::triggered, this, &MainWindow::OnGameAnalysis);
  autoplay_ = new QAction(this);
  BindLang(autoplay_, 200);
  connect(autoplay_, &QAction::triggered, this, &MainWindow::OnAutoplay);
  engineMatch_ = new QAction(this);
  BindLang(engineMatch_, 350);
  engineMatch_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  connect(engineMatch_, &QAction::triggered, this, &MainWindow::OnEngineMatch);
  enginesTournament_ = new QAction(this);
  BindLang(enginesTournament_, 351);
  enginesTournament_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  connect(enginesTournament_, &QAction::triggered, this, &MainWindow::OnEnginesTournament);
  CreateToolActions();
  searchInfo_->rootMenu()->addAction(extended_);
  searchInfo_->rootMenu()->addAction(dontAnalyse_);
  searchInfo_->rootMenu()->addAction(addVariation_);

  reversed_ = new QAction(this);
  BindLang(reversed_, 19);
  reversed_->setCheckable(true);
  reversed_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  connect(reversed_, &QAction::triggered, this, [this] { controller_->ToggleReversed(); });
}

void MainWindow::CreateMenus() {
  gameMenu_ = menuBar()->addMenu(QString());
  BindLang(gameMenu_, 1);
  gameMenu_->addAction(newGame_);
  gameMenu_->addAction(setup_);
  gameMenu_->addAction(gameInfo_);
  gameMenu_->addSeparator();
  gameMenu_->addAction(exit_);

  typeMenu_ = menuBar()->addMenu(QString());
  BindLang(typeMenu_, 5);
  for (int t = 1; t <= GameTypeCount; ++t) typeMenu_->addAction(types_[t]);

  playMenu_ = menuBar()->addMenu(QString());
  BindLang(playMenu_, 29);
  playMenu_->addAction(analysisMode_);
  playMenu_->addAction(playMode_);
  playMenu_->addSeparator();
  QMenu* level = playMenu_->addMenu(QString());
  BindLang(level, 108);
  for (QAction* a : levels_) level->addAction(a);
  playMenu_->addSeparator();
  playMenu_->addAction(compute_);
  playMenu_->addAction(offerDraw_);
  playMenu_->addSeparator();
  playMenu_->addAction(tournament_);
  playMenu_->addAction(blind_);
  if (gameServer_) {
    playMenu_->addSeparator();
    playMenu_->addAction(gameServer_);
  }

  timeMenu_ = menuBar()->addMenu(QString());
  BindLang(timeMenu_, 24);
  for (int i = 0; i <= SetTimeIndex; ++i) {
    if (i == 5 || i == SetTimeIndex) timeMenu_->addSeparator();
    timeMenu_->addAction(times_[i]);
  }

  coachMenu_ = menuBar()->addMenu(QString());
  BindLang(coachMenu_, 31);
  coachMenu_->addAction(extended_);
  coachMenu_->addAction(dontAnalyse_);
  coachMenu_->addSeparator();
  coachMenu_->addAction(gameAnalysis_);
  coachMenu_->addAction(autoplay_);
  coachMenu_->addSeparator();
  coachMenu_->addAction(engineMatch_);
  coachMenu_->addAction(enginesTournament_);
  coachMenu_->addSeparator();
  coachMenu_->addAction(endgameGenerator_);

  optionsMenu_ = menuBar()->addMenu(QString());
  BindLang(optionsMenu_, 33);
  optionsMenu_->addAction(engineSettings_);
  optionsMenu_->addAction(interface_);
  QMenu* font = optionsMenu_->addMenu(QString());
  BindLang(font, 23);
  font->addAction(gameFont_);
  font->addAction(databaseFont_);

  QMenu* view = menuBar()->addMenu(QString());
  BindLang(view, 17);
  board_->AddViewActions(view);
  view->addSeparator();
  view->addAction(reversed_);

  windowMenu_ = menuBar()->addMenu(QString());
  BindLang(windowMenu_, 223);

  helpMenu_ = menuBar()->addMenu(QString());
  BindLang(helpMenu_, 40);
  helpMenu_->addAction(help_);
  helpMenu_->addAction(showLog_);
  helpMenu_->addSeparator();
  helpMenu_->addAction(about_);
}

void MainWindow::CreateToolBar() {
  toolBar_ = addToolBar(QString());
  toolBar_->setObjectName(QStringLiteral("mainToolBar"));
  toolBar_->addAction(newGame_);
  toolBar_->addAction(setup_);
  toolBar_->addAction(gameInfo_);
  toolBar_->addSeparator();
  toolBar_->addAction(compute_);
  toolBar_->addSeparator();
  toolBar_->addAction(engineSettings_);
  toolBar_->addAction(help_);
}

void MainWindow::RebuildWindowMenu() {
  windowMenu_->clear();
  auto* group = new QActionGroup(windowMenu_);
  for (const auto& entry : controller_->WindowMenu()) {
    QAction* a = windowMenu_->addAction(ProgramTextQ(entry.title));
    a->setCheckable(true);
    a->setChecked(entry.current);
    a->setProperty("kestrelContent", true);  // a game's title
    group->addAction(a);
    const int index = entry.index;
    connect(a, &QAction::triggered, this, [this, index] { controller_->SelectWindowGame(index); });
  }
  windowMenu_->addSeparator();
  QAction* newWindow = windowMenu_->addAction(QString());
  BindLang(newWindow, 224);
  connect(newWindow, &QAction::triggered, this, [this] { controller_->NewWindowGame(); });
  QAction* closeWindow = windowMenu_->addAction(QString());
  BindLang(closeWindow, 225);
  connect(closeWindow, &QAction::triggered, this, [this] { controller_->CloseWindowGame(); });
}

void MainWindow::OnSetTime() {
  SetTimeDialog dialog(this);
  dialog.SetValues(controller_->SetTimeValues(), CurrentGameType);
  if (dialog.exec() == QDialog::Accepted) controller_->SetCustomTime(dialog.Values());
  RenderModes();
}

void MainWindow::OnGameInformation() { EditGameInformation(); }

bool MainWindow::EditGameInformation() {
  GameInfoDialog dialog(this);
  const Settings& s = app_.settings();
  dialog.SetHeader(controller_->Header(), CurrentGameType, s.PoolWhiteBottom, s.ResType);
  if (const TKestrelDB& db = database_->Current().DB(); db.DBOpened)
    dialog.SetNameLists(db.DBNames.Names(), db.DBTourn.Names(), db.DBSites.Names());
  if (dialog.exec() != QDialog::Accepted) return false;
  controller_->SetHeader(dialog.Header());
  return true;
}

void MainWindow::OnSetup() {
  if (!controller_->EnterSetup()) return;
  const int type = CurrentGameType;
  for (int s = 0; s < 2; ++s)
    BindLang(setupSide_[s],
             BoardSideName(static_cast<TDColor>(s), type, app_.settings().PoolWhiteBottom) == "White" ? 57 : 58);
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

void MainWindow::OnAddVariation() {
  const auto root = searchInfo_->ChosenRoot();
  if (!root) return;
  TPV line = root->pv;
  if (line.Length == 0) {
    line.Length = 1;
    line.Mvs[0] = root->move;
  }
  const int searched = searchInfo_->ShownMovePos();
  const bool added = controller_->ChangeGame([&](TGame& g) {
    // The line belongs to the position the list was searched in.
    if (g.CurMovPos != searched) return false;
    int at = g.CurMovPos;
    for (int k = 0; k < line.Length; ++k) {
      const TAddResult r = AddMoveAsk(g, line.Mvs[k], at, true, &controller_->GameObserver());
      if (!r.ok()) break;
      at = r.slot;
    }
    g.Modified = true;
    return true;
  });
  if (added) controller_->Refresh().Request(rqBuildTree | rqSaveButton);
}

void MainWindow::SetSetupSide(TDColor side) { setupSide_[side == TDColor::black ? 1 : 0]->setChecked(true); }

}  // namespace kestrel
