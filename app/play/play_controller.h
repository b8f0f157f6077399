// The play controller: everything between the user and the current game.
// Open games, the two modes, levels, time controls and the clock, moves added
// to the game, navigation, the engine's runs and the results they find, new
// games, the game type and the set-up of positions. It runs on the interface
// thread and draws nothing: windows read its state and serve the refresh
// requests it and its engine worker set.
//
// The game record is shared with the engine worker, which adds moves,
// comments and results while the windows render. Every change and every read
// of a game from outside the worker goes through one lock (ReadGame,
// ChangeGame); the worker takes the same lock for each change it makes, and
// never holds it during a search. So a renderer sees a move tree either
// before or after a change, never in between. The lock is never held while a
// question is shown or while waiting for the worker.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "app/play/engine_setup.h"
#include "app/play/engine_worker.h"
#include "app/play/game_clock.h"
#include "app/play/move_sound.h"
#include "app/play/open_games.h"
#include "app/play/refresh_requests.h"
#include "app/play/search_info.h"
#include "app/settings/settings.h"
#include "app/play/time_control.h"
#include "engine/engine.h"
#include "engine/opening_book.h"
#include "game/game.h"
#include "game/game_observer.h"

namespace kestrel {

enum class TSaveAnswer : uint8_t { yes, no, cancel };

// The questions the controller asks the user; windows implement them. The
// defaults answer as a user who never saves and always keeps both lines.
class TPlayUi {
 public:
  virtual ~TPlayUi() = default;
  // "New move": the move differs from every continuation listed.
  virtual TNewMoveChoice AskNewMove(const std::vector<std::string>& continuations, int preselected) {
    return {TNewMoveAnswer::newVariation, -1};
  }
  // "Game not saved. Save?" with Yes, No and, when allowed, Cancel.
  virtual TSaveAnswer AskSaveGame(bool withCancel) { return TSaveAnswer::no; }
  // The "Save" command of the database; false when nothing was saved.
  virtual bool SaveCurrentGame() { return false; }
  // "The Game contains wrong/damaged moves. Remove?"
  virtual bool AskRemoveWrongMoves() { return true; }
};

struct TPlayOptions {
  TTimeSource now = SteadyCentiseconds;
  uint32_t randomSeed = 0;           // 0: seeded from the clock
  TSoundPlayer* sound = nullptr;     // nullptr: silent
  int64_t hashMegabytes = -1;        // -1: "KestrelMemory" of the settings
};

// "Game analysis" dialog values.
struct TGameAnalysisOptions {
  int minutes = 5;  // 1..1440
  std::array<bool, 2> colours{true, true};  // by side
  bool insertVariations = true;
  bool analyseVariations = false;
  int64_t totalCentiseconds = 0;  // 0: the minutes; else this time instead
};

// What one engine run works with, fixed when it starts.
struct TRunSetup {
  TGame* game = nullptr;
  int type = 1;
  bool analysisMode = true;
  bool extended = false;
  int levelDepth = 50;
  int bookLevel = 1;
  bool sound = false;  // "Sound" when the run started
  TEngineParams params;
};

class TPlayController {
 public:
  TPlayController(Settings& settings, std::filesystem::path programFolder, TPlayOptions options = {});
  ~TPlayController();
  TPlayController(const TPlayController&) = delete;
  TPlayController& operator=(const TPlayController&) = delete;

  void SetUi(TPlayUi* ui) { ui_ = ui ? ui : &defaultUi_; }
  TPlayUi& Ui() { return *ui_; }

  // Start-up: the engine settings of every variant, the hash table, the
  // book and the current game type without a new game, then a new game and
  // the mode saved in the settings.
  void Initialize();

  // ---- State shown by the windows.
  bool AnalysisMode() const { return analysisMode_.load(); }
  int LevelIndex() const { return levelIndex_; }
  int LevelDepth() const;
  int TimeIndex() const { return timeIndex_; }  // a preset or SetTimeIndex
  const TSetTimeValues& SetTimeValues() const { return setTime_; }
  bool BoardReversed() const { return reversed_; }
  bool SetupMode() const { return setupMode_; }
  bool StoppedByUser() const { return stoppedByUser_.load(); }
  bool ReplayRunning() const { return replayRunning_; }
  bool TournamentMode() const { return tournamentMode_; }
  bool BlindPlay() const { return blindPlay_; }
  bool ExtendedAnalysis() const { return extendedAnalysis_; }
  // Navigation and board moves are taken: the engine is idle, or it
  // analyses (not a game analysis evaluating a move).
  bool NavigationAllowed() const;
  bool EngineBusy() const { return worker_.Busy(); }
  TWorkKind EngineWork() const { return worker_.Kind(); }
  // Hide the book grid and the search information (play mode with
  // "Tournament mode" checked).
  bool HideEngineOutput() const { return !AnalysisMode() && tournamentMode_; }

  TGameClock& Clock() { return clock_; }
  TRefreshRequests& Refresh() { return refresh_; }
  TSearchInfoBoard& SearchInfo() { return searchInfo_; }
  TEngineWorker& Worker() { return worker_; }
  TEngine& Engine() { return engine_; }
  TOpeningBook& Book() { return book_; }
  Settings& settings() { return settings_; }
  const TEngineParams& VariantParams(int type) const { return params_[type]; }
  TEngineParams& VariantParams(int type) { return params_[type]; }

  // The current game, read under the game lock. Never call a controller
  // command from inside `f`.
  template <class F>
  decltype(auto) ReadGame(F&& f) const {
    std::lock_guard lock(gameMutex_);
    return f(static_cast<const TGame&>(games_.Current()));
  }
  // A change to the current game from the interface thread (editing
  // commands of the game panel): made under the game lock.
  template <class F>
  decltype(auto) ChangeGame(F&& f) {
    std::lock_guard lock(gameMutex_);
    return f(games_.Current());
  }
  // The game record's observer that turns refresh requests of the game
  // functions into the controller's (no questions: it answers "New
  // variation").
  TGameObserver& GameObserver() { return observer_; }

  // ---- Modes, levels, time.
  void SetAnalysisMode();
  void SetPlayMode();
  void SetLevel(int index);
  void SetTimePreset(int index);
  void SetCustomTime(const TSetTimeValues& values);
  void SetTournamentMode(bool on);
  void SetBlindPlay(bool on);
  void SetExtendedAnalysis(bool on);
  void ToggleReversed();

  // ---- Engine.
  void Compute();
  // The STOP! button: stops a running engine, else the same as Compute.
  void StopButton();
  // Stop: the user's stop of a running engine.
  void Stop();
  void StopAndWait() { worker_.StopAndWait(); }
  // Engine start: the analysis thread on the current position.
  void EngineStart();
  void StartGameAnalysis(const TGameAnalysisOptions& options);
  // Autoplay after the "Set time" dialog: the engine plays both sides.
  void StartAutoplay();
  // "Offer draw"; true when the engine accepts.
  bool OfferDraw();

  // ---- Moves and navigation.
  // Adding a move at the current move: the user is asked "New move" when
  // other continuations exist. The move is not made current.
  TAddResult AddMove(const TMove& move, bool fromUser);
  // A move entered by the user: added, made current and on the board, the
  // sound played; then the engine starts unless the user stopped the
  // analysis. False when nothing was added (cancelled, no room).
  bool EnterMove(const TMove& move);
  bool GoStart();
  bool GoBack();
  bool GoForward();
  bool GoEnd();
  bool GoToSlot(int slot);
  void ToggleReplay();
  // The play-mode part of the 25 ms timer: replay steps, the clock and the
  // loss on time.
  void TimerTick();
  // The opening tree of the current position into the game record.
  void RefreshBookDisplay();

  // ---- Games.
  void NewGame();
  // The "Type" menu: the game type, with a new game when the board changes.
  void SetGameTypeCommand(int type) { SwitchGameType(type, true); }
  void SwitchGameType(int type, bool mayStartNewGame);
  TQuickGameHeader Header() const;
  void SetHeader(const TQuickGameHeader& header);

  // Open games of the Window menu.
  void NewWindowGame();
  bool CloseWindowGame();
  bool SelectWindowGame(int index);
  struct TWindowEntry {
    int index;
    std::string title;
    bool current;
  };
  std::vector<TWindowEntry> WindowMenu() const;
  int OpenGameCount() const { return games_.OpenCount(); }

  // ---- Set-up.
  bool EnterSetup();
  // Board clicks in set-up mode: 1 left, 2 right, 3 middle.
  void SetupClick(int square, int button);
  void SetupClear();
  void SetupStartPosition();
  void SetupDone(TDColor side, int firstMoveNumber);

  // ---- Results.
  // The result check of the current game as the interface thread asks it.
  uint8_t CheckResult(bool record, bool drawMessages);

  // ---- Status bar.
  std::string StatusVariant() const;
  std::string MaterialLine() const;
  std::string DrawNotice() const;

  void PlayMoveSound();
  // The engine label and file of the current type's settings.
  std::string EngineTitle() const;

 private:
  class Observer;
  class RunListener;
  friend class Observer;

  TRunSetup MakeRunSetup();
  void StartWork(TWorkKind kind, std::function<void()> work);
  // Worker side.
  void AnalysisRun(const TRunSetup& run);
  void Analyse(const TRunSetup& run);
  struct TReplyOutcome {
    bool moved = false;
    int depth = 0;
    int16_t score = 0;
    int legalMoves = 0;
    bool searched = false;
  };
  TReplyOutcome EngineReply(const TRunSetup& run, const TEngineParams& params);
  uint8_t CheckResultOn(TGame& game, int type, bool playMode, bool record, bool drawMessages);
  void GameAnalysisRun(const TRunSetup& run, const TGameAnalysisOptions& options);
  void AnalyseLine(const TRunSetup& run, const TGameAnalysisOptions& options, int firstSlot, int64_t timePerMove,
                   int& depthSum, int& analysed);
  void AnalyseMove(const TRunSetup& run, const TGameAnalysisOptions& options, int slot, int64_t timePerMove,
                   int& depthSum, int& analysed);
  void EngineGameRun(const TRunSetup& run);

  // Interface side.
  bool AskToSave(bool withCancel);
  void StartNewGameOnCurrent();
  void AfterPositionChange(bool navigation);
  void PlaySound(bool on);
  void UpdateDrawNotice();
  void ApplyTimeControl();
  std::string BlackEngineName() const;
  int MoveNumberAt(const TGame& game) const;

  Settings& settings_;
  std::filesystem::path programFolder_;
  TPlayOptions options_;
  TPlayUi defaultUi_;
  TPlayUi* ui_ = &defaultUi_;

  TEngine engine_;
  TEngineWorker worker_;
  TVariantEngines params_;
  TOpeningBook book_;
  TGameClock clock_;
  TRefreshRequests refresh_;
  TSearchInfoBoard searchInfo_;
  std::unique_ptr<Observer> observerImpl_;
  TGameObserver& observer_;

  mutable std::mutex gameMutex_;
  TOpenGames games_;

  std::atomic<bool> analysisMode_{true};
  std::atomic<bool> stoppedByUser_{true};
  std::atomic<bool> workerChargesClock_{false};  // engine games charge the clock themselves
  int levelIndex_ = 0;
  int timeIndex_ = DefaultTimeIndex;
  TSetTimeValues setTime_;
  bool reversed_ = false;
  bool setupMode_ = false;
  bool replayRunning_ = false;
  int replayTicks_ = 0;
  bool tournamentMode_ = false;
  bool blindPlay_ = false;
  bool extendedAnalysis_ = false;
  std::string drawNotice_;
  int gameTypeListener_ = -1;

  std::mutex randomMutex_;
  std::mt19937 random_;
  std::vector<uint8_t> moveSound_;
};

}  // namespace kestrel
