#include "app/ui/main_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>

#include "app/board/board_layout.h"
#include "app/settings/kestrel_app.h"
#include "app/play/move_sound.h"
#include "app/play/play_texts.h"
#include "app/ui/board_panel.h"
#include "app/ui/game_input.h"
#include "app/ui/new_move_dialog.h"
#include "app/ui/main_window_database.h"
#include "app/ui/main_window_export.h"
#include "app/ui/search_info_panel.h"
#include "app/ui/ui_language.h"
#include "game/new_game.h"

namespace kestrel {

// The controller's questions, as dialogs of this window.
class MainWindow::QtPlayUi final : public TPlayUi {
 public:
  explicit QtPlayUi(MainWindow& window) : window_(window) {}

  TNewMoveChoice AskNewMove(const std::vector<std::string>& continuations, int preselected) override {
    NewMoveDialog dialog(&window_);
    dialog.SetContinuations(continuations, preselected);
    dialog.exec();
    return dialog.Choice();
  }
  TSaveAnswer AskSaveGame(bool withCancel) override {
    auto buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    switch (QMessageBox::question(&window_, window_.windowTitle(), ProgramTextQ(Lang(LtGameNotSaved)),
                                  buttons)) {
      case QMessageBox::Yes:
        return TSaveAnswer::yes;
      case QMessageBox::No:
        return TSaveAnswer::no;
      default:
        return withCancel ? TSaveAnswer::cancel : TSaveAnswer::no;
    }
  }
  bool SaveCurrentGame() override { return window_.database_->SaveCurrentGame(); }
  bool AskRemoveWrongMoves() override {
    return QMessageBox::question(&window_, window_.windowTitle(), QString::fromUtf8(WrongMovesQuestion.data(),
                                                                                    WrongMovesQuestion.size()),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  }

 private:
  MainWindow& window_;
};

MainWindow::MainWindow(KestrelApp& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setWindowTitle(QString::fromUtf8(ApplicationTitle));
  setMinimumSize(MinMainWindowWidth, MinMainWindowHeight);
  sound_ = CreateSystemSoundPlayer();
  TPlayOptions options;
  options.sound = sound_.get();
  controller_ = std::make_unique<TPlayController>(app_.settings(), app_.programFolder(), options);
  ui_ = std::make_unique<QtPlayUi>(*this);
  controller_->SetUi(ui_.get());

  board_ = new BoardPanel(app_, this);
  setCentralWidget(board_);
  CreatePanels();
  CreateActions();
  CreateOptionActions();
  CreateMenus();
  CreateToolBar();
  connect(board_, &BoardPanel::layoutChanged, this, &MainWindow::PlacePanels);
  connect(&board_->view(), &BoardView::squareClicked, this, &MainWindow::OnSquareClicked);
  // Move input, the game panel and the book grid; owned by the window.
  input_ = new GameInput(*this);
  database_ = new MainWindowDatabase(*this, app_);
  new MainWindowExport(*this, app_);  // owned by the window

  for (auto*& field : status_) {
    field = new QLabel(this);
    statusBar()->addWidget(field, 1);
  }
  // The material and the draw notice are figures and rule names, not captions.
  status_[1]->setProperty("kestrelContent", true);
  status_[2]->setProperty("kestrelContent", true);

  timer_ = new QTimer(this);
  timer_->setInterval(25);
  connect(timer_, &QTimer::timeout, this, &MainWindow::TimerStep);
}

MainWindow::~MainWindow() {
  timer_->stop();
  // The worker may still render into the controller; it ends first.
  controller_->StopAndWait();
}

void MainWindow::CreatePanels() {
  clock_ = new QLabel(QStringLiteral("0:00:00 0:00:00"), board_);
  QFont clockFont = clock_->font();
  clockFont.setPointSize(clockFont.pointSize() + 6);
  clockFont.setBold(true);
  clock_->setFont(clockFont);
  clock_->setProperty("kestrelContent", true);
  searchInfo_ = new SearchInfoPanel(board_);
  info_ = new QPlainTextEdit(board_);
  info_->setReadOnly(true);
  info_->setMaximumBlockCount(200);

  stop_ = new QPushButton(board_);
  connect(stop_, &QPushButton::clicked, this, [this] { controller_->StopButton(); RenderStopButton(); });
  const char* captions[5] = {"|<", "<", ">", ">|", "\u25B6"};
  for (int i = 0; i < 5; ++i) {
    navigation_[i] = new QPushButton(QString::fromUtf8(captions[i]), board_);
    navigation_[i]->setFocusPolicy(Qt::NoFocus);
  }
  navigation_[4]->setCheckable(true);
  connect(navigation_[0], &QPushButton::clicked, this, [this] { controller_->GoStart(); });
  connect(navigation_[1], &QPushButton::clicked, this, [this] { controller_->GoBack(); });
  connect(navigation_[2], &QPushButton::clicked, this, [this] { controller_->GoForward(); });
  connect(navigation_[3], &QPushButton::clicked, this, [this] { controller_->GoEnd(); });
  connect(navigation_[4], &QPushButton::clicked, this, [this] { controller_->ToggleReplay(); RenderModes(); });

  setupBar_ = new QWidget(board_);
  auto* bar = new QHBoxLayout(setupBar_);
  bar->setContentsMargins(0, 0, 0, 0);
  setupDone_ = new QPushButton(setupBar_);
  BindLang(setupDone_, 45);
  auto* clear = new QPushButton(setupBar_);
  BindLang(clear, 51);
  auto* start = new QPushButton(setupBar_);
  BindLang(start, 52);
  auto* fen = setupFen_ = new QPushButton(setupBar_);
  BindLang(fen, 240);
  auto* sides = new QButtonGroup(setupBar_);
  for (int s = 0; s < 2; ++s) {
    setupSide_[s] = new QRadioButton(setupBar_);
    sides->addButton(setupSide_[s]);
  }
  setupFirstMove_ = new QSpinBox(setupBar_);
  setupFirstMove_->setRange(1, MaxFirstMoveNumber);
  for (QWidget* w : std::initializer_list<QWidget*>{setupDone_, clear, start, fen, LangLabel(setupBar_, 85),
                                                    setupSide_[0], setupSide_[1], LangLabel(setupBar_, 86),
                                                    setupFirstMove_})
    bar->addWidget(w);
  bar->addStretch();
  connect(setupDone_, &QPushButton::clicked, this, &MainWindow::OnSetupDone);
  connect(clear, &QPushButton::clicked, this, [this] { controller_->SetupClear(); });
  connect(start, &QPushButton::clicked, this, [this] { controller_->SetupStartPosition(); });
  setupBar_->hide();
}

void MainWindow::PlacePanels() {
  const MainLayout& l = board_->mainLayout();
  const int height = board_->height();
  clock_->setGeometry(l.columnX, 62, l.columnWidth, 30);
  // The game panel occupies the column between the clock and the search
  // information; the search information takes what is left below it.
  const int infoTop = l.gamePanelY + l.gamePanelHeight + 5;
  searchInfo_->setGeometry(l.columnX, infoTop, l.searchInfoWidth > 0 ? l.searchInfoWidth : l.columnWidth,
                           std::max(height - infoTop - 4, 40));
  const int panelTop = l.boardEdge + 4;
  const int buttonHeight = 28;
  const int navWidth = 5 * 34;
  int x = l.navigationCentreX - navWidth / 2;
  for (QPushButton* b : navigation_) {
    b->setGeometry(x, panelTop, 32, buttonHeight);
    x += 34;
  }
  stop_->setGeometry(l.stopButtonRight - 90, panelTop, 90, buttonHeight);
  setupBar_->setGeometry(0, panelTop, std::max(l.boardEdge, 420), buttonHeight);
  const int infoY = panelTop + buttonHeight + 4;
  info_->setGeometry(0, infoY, l.infoPanelWidth, std::max(height - infoY - 2, 24));
}

void MainWindow::Start() {
  app_.InitKestrel();
  SetLanguage(app_.settings().LanguageName);
  // Missing figure files are no error: the built-in pictures stay, and the
  // user learns which files were not loaded.
  const QStringList figureMessages = board_->ApplySettings();
  for (const QString& m : figureMessages) app_.log().Write(m.toStdString());
  if (!figureMessages.isEmpty()) statusBar()->showMessage(figureMessages.join(QStringLiteral("; ")), 10000);
  controller_->Initialize();
  ReportEngineProblems(controller_->EngineFileProblems());
  ApplyDisplaySettings();
  database_->Start();
  playMode_->setChecked(!controller_->AnalysisMode());
  analysisMode_->setChecked(controller_->AnalysisMode());
  ApplyPlacement();
  // The welcome dialogs of a first start are shown once; the flag is cleared
  // so that the next start goes straight to work. They come after the
  // window is up, so that the user sees what they set.
  const bool firstStart = app_.TakeFirstRunFlag();
  RebuildWindowMenu();
  TimerStep();
  timer_->start();
  if (firstStart && welcomeOnFirstStart) QTimer::singleShot(0, this, &MainWindow::ShowWelcome);
}

void MainWindow::ApplyPlacement() {
  const Settings& s = app_.settings();
  setGeometry(s.MainLeft, s.MainTop, s.MainWidth, s.MainHeight);
  if (s.MainMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::RememberPlacement() {
  Settings& s = app_.settings();
  const QRect r = isMaximized() ? normalGeometry() : geometry();
  if (r.isValid()) {
    s.MainLeft = r.left();
    s.MainTop = r.top();
    s.MainWidth = r.width();
    s.MainHeight = r.height();
  }
  s.MainMaximized = isMaximized();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  controller_->StopAndWait();
  // Cancel, or Yes with a save that did not happen, keeps the window open.
  if (!controller_->OfferToSave(true)) {
    event->ignore();
    return;
  }
  database_->Close();
  timer_->stop();
  RememberPlacement();
  std::string error;
  if (!app_.Close(&error))
    QMessageBox::warning(this, windowTitle(),
                         LangQ(LtSettingsNotSaved) + QString::fromStdString(error));
  event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Home:
      controller_->GoStart();
      return;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
      controller_->GoBack();
      return;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
      controller_->GoForward();
      return;
    case Qt::Key_End:
      controller_->GoEnd();
      return;
    default:
      QMainWindow::keyPressEvent(event);
  }
}

void MainWindow::wheelEvent(QWheelEvent* event) {
  if (controller_->SetupMode()) return;
  if (event->angleDelta().y() > 0)
    controller_->GoBack();
  else if (event->angleDelta().y() < 0)
    controller_->GoForward();
  event->accept();
}

void MainWindow::OnSquareClicked(int square, Qt::MouseButton button) {
  if (controller_->SetupMode()) {
    const int code = button == Qt::LeftButton ? 1 : button == Qt::RightButton ? 2 : 3;
    controller_->SetupClick(square, code);
    return;
  }
  emit boardSquareClicked(square, button);
}

void MainWindow::ShowInfo(const QString& text) { info_->appendPlainText(text); }

}  // namespace kestrel
