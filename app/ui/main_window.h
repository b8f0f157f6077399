// The main window: a thin shell over the application's logic. It holds the
// play controller, shows its state and serves its refresh requests from a
// 25 ms timer; the engine works on a worker thread meanwhile.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <string>
#include <memory>
#include <vector>

#include "app/match/engine_tournament.h"
#include "app/play/play_controller.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;
class QToolBar;

namespace kestrel {

class BoardPanel;
class GameInput;
class KestrelApp;
class MainWindowDatabase;
class SearchInfoPanel;
class TSoundPlayer;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(KestrelApp& app, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs the start-up sequence and applies the saved window placement.
  void Start();

  BoardPanel& boardPanel() { return *board_; }
  TPlayController& controller() { return *controller_; }
  SearchInfoPanel& searchInfoPanel() { return *searchInfo_; }
  GameInput& gameInput() { return *input_; }

  // Commands, for the menus, the tool bar and the windows added later.
  QAction* newGameAction() const { return newGame_; }
  QAction* setupAction() const { return setup_; }
  QAction* gameInfoAction() const { return gameInfo_; }
  QAction* analysisModeAction() const { return analysisMode_; }
  QAction* playModeAction() const { return playMode_; }
  QAction* computeAction() const { return compute_; }
  QAction* levelAction(int index) const { return levels_[index]; }
  QAction* timeAction(int index) const { return times_[index]; }
  QAction* typeAction(int type) const { return types_[type]; }
  QAction* extendedAnalysisAction() const { return extended_; }
  QAction* dontAnalyseAction() const { return dontAnalyse_; }
  QAction* addVariationAction() const { return addVariation_; }
  QAction* reversedAction() const { return reversed_; }
  QPushButton* stopButton() const { return stop_; }
  QLabel* clockLabel() const { return clock_; }
  QPlainTextEdit* infoPanel() const { return info_; }
  QMenu* windowMenu() const { return windowMenu_; }
  QMenu* optionsMenu() const { return optionsMenu_; }
  QToolBar* toolBar() const { return toolBar_; }
  QPushButton* setupFenButton() const { return setupFen_; }
  // Ticks the side to move of the position set-up.
  void SetSetupSide(TDColor side);
  // The current database with the database window and its commands.
  MainWindowDatabase& database() { return *database_; }

  QAction* engineSettingsAction() const { return engineSettings_; }
  QAction* interfaceAction() const { return interface_; }
  QAction* helpAction() const { return help_; }
  QAction* showLogAction() const { return showLog_; }
  QAction* aboutAction() const { return about_; }
  QAction* gameServerAction() const { return gameServer_; }
  QAction* endgameGeneratorAction() const { return endgameGenerator_; }
  QAction* exitAction() const { return exit_; }
  QLabel* statusField(int index) const { return status_[index]; }

  // The welcome dialogs of a first start (Interface, then About). Tests
  // switch them off.
  static inline bool welcomeOnFirstStart = true;
  // Opens a help document; tests replace it to see what would be opened.
  static inline std::function<void(const QString& path)> openDocument;

  // Takes the display options of the settings at once: notation, capture
  // sign, board options, game panel style and fonts.
  void ApplyDisplaySettings();
  // Reads the language `name` ("LanguageName") over the current texts and
  // shows them in every window.
  void SetLanguage(const std::string& name);

  // "Game information" for the current game, with the open database's
  // names to choose from; false when the user cancelled.
  bool EditGameInformation();

  // One step of the 25 ms timer (public so tests can drive it).
  void TimerStep();
  // Writes a line into the information panel under the board.
  void ShowInfo(const QString& text);

 signals:
  // A click on the board outside set-up mode: move input takes it.
  void boardSquareClicked(int square, Qt::MouseButton button);
  // Refresh requests for the game panel and the book grid.
  void gameTreeRebuildRequested();
  void gameTreeShowRequested();
  void gameHeaderChanged();
  void bookDisplayChanged();
  // The font of the database list changed ("Font" command or start-up).
  void databaseFontChanged(const QFont& font);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  class QtPlayUi;

  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreatePanels();
  void PlacePanels();
  void ApplyPlacement();
  void RememberPlacement();

  // Command handlers.
  void OnSetTime();
  void OnGameInformation();
  void OnSetup();
  void OnSetupDone();
  void OnGameAnalysis();
  void OnAutoplay();
  void OnEngineMatch();
  void OnEnginesTournament();
  // The tool windows.
  void CreateToolActions();
  void OnGameServer();
  void OnEndgameGenerator();
  void OnOfferDraw();
  // "Add variation": the line of the chosen root move into the game.
  void OnAddVariation();
  void OnSquareClicked(int square, Qt::MouseButton button);
  void RebuildWindowMenu();
  void CreateOptionActions();
  void OnEngineSettings();
  void OnInterface();
  void OnFont(bool gamePanel);
  void OnHelp();
  void OnShowLog();
  void OnAbout();
  void ShowWelcome();
  void ReportEngineProblems(const std::vector<std::string>& problems);

  // Rendering.
  void RenderBoard();
  void RenderModes();
  void RenderStopButton();
  void RenderClock();
  void RenderStatusBar();
  void RenderSearchInfo(bool force);
  void ShowThreadMessages();

  KestrelApp& app_;
  std::unique_ptr<TSoundPlayer> sound_;
  // Engine match and tournament runs; declared before the controller so
  // that its worker, which may still run them, ends first.
  std::unique_ptr<TEngineMatch> engineMatchRun_;
  std::unique_ptr<TEngineTournament> tournamentRun_;
  std::unique_ptr<TPlayController> controller_;
  std::unique_ptr<QtPlayUi> ui_;
  BoardPanel* board_;
  GameInput* input_ = nullptr;
  MainWindowDatabase* database_ = nullptr;
  QTimer* timer_;
  bool inTimer_ = false;

  // Menus and commands.
  QAction* newGame_;
  QAction* setup_;
  QAction* gameInfo_;
  QAction* exit_;
  std::array<QAction*, 13> types_{};
  QAction* analysisMode_;
  QAction* playMode_;
  std::vector<QAction*> levels_;
  QAction* compute_;
  QAction* tournament_;
  QAction* blind_;
  QAction* offerDraw_;
  std::vector<QAction*> times_;  // presets, then "Set time"
  QAction* extended_;
  QAction* dontAnalyse_;
  QAction* addVariation_;
  QAction* gameAnalysis_;
  QAction* autoplay_;
  QAction* engineMatch_;
  QAction* enginesTournament_;
  QAction* gameServer_ = nullptr;  // none when built without Qt Network
  QAction* endgameGenerator_;
  QPointer<QWidget> gameServerWindow_;
  QPointer<QWidget> endgameGeneratorWindow_;
  QAction* reversed_;
  QMenu* gameMenu_;
  QMenu* playMenu_;
  QMenu* timeMenu_;
  QMenu* coachMenu_;
  QMenu* typeMenu_;
  QMenu* windowMenu_;
  QMenu* optionsMenu_;
  QMenu* helpMenu_;
  QAction* engineSettings_;
  QAction* interface_;
  QAction* gameFont_;
  QAction* databaseFont_;
  QAction* help_;
  QAction* showLog_;
  QAction* about_;
  QToolBar* toolBar_;

  // Panels beside and under the board.
  QLabel* clock_;
  SearchInfoPanel* searchInfo_;
  QPlainTextEdit* info_;
  QPushButton* stop_;
  std::array<QPushButton*, 5> navigation_{};  // start, back, forward, end, replay
  QWidget* setupBar_;
  QPushButton* setupDone_;
  QPushButton* setupFen_;
  QRadioButton* setupSide_[2];
  QSpinBox* setupFirstMove_;
  std::array<QLabel*, 3> status_{};
  QString clockText_;
};

}  // namespace kestrel
