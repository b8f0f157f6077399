// The play controller: everything between the user and the current game. It
// runs on the interface thread and draws nothing: windows read its state and
// serve the refresh requests it and its engine worker set.
//
// It joins three pieces, each readable alone:
//   - the games and their lock, navigation, the Window menu, set-up edits
//     (TGameSession, game_session.h);
//   - the modes, level, time control, clock and replay (TPlayModes,
//     play_modes.h);
//   - the engine's runs: analysis and the engine's reply
//     (play_controller_engine.cpp), game analysis and autoplay
//     (play_controller_coach.cpp), on the engine worker.
// What is left here are the commands that need more than one of them: moves
// entered and the results they bring (play_controller_moves.cpp), new games,
// the game type and the mode switches (play_controller.cpp).
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
#include "app/play/external_engine.h"
#include "app/play/game_session.h"
#include "app/play/move_sound.h"
#include "app/play/play_modes.h"
#include "app/play/refresh_requests.h"
#include "app/play/search_info.h"
#include "app/settings/settings.h"
#include "app/play/time_control.h"
#include "engine/endgame/endgame_cache.h"
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
  std::string hubCommand;  // "External (Hub)": the engine that searches instead
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

  // Reads the engine settings of every variant again (engine files, books,
  // generations) from the settings; one message per damaged engine file.
  // Only while the engine is idle.
  std::vector<std::string> ReloadVariantParams();
  // The damaged engine files found at start-up.
  const std::vector<std::string>& EngineFileProblems() const { return engineFileProblems_; }

  // ---- State shown by the windows.
  bool AnalysisMode() const { return modes_.AnalysisMode(); }
  int LevelIndex() const { return modes_.LevelIndex(); }
  int LevelDepth() const { return modes_.LevelDepth(); }
  int TimeIndex() const { return modes_.TimeIndex(); }  // a preset or SetTimeIndex
  const TSetTimeValues& SetTimeValues() const { return modes_.SetTimeValues(); }
  bool BoardReversed() const { return modes_.Reversed(); }
  bool SetupMode() const { return setupMode_; }
  bool StoppedByUser() const { return modes_.StoppedByUser(); }
  bool ReplayRunning() const { return modes_.ReplayRunning(); }
  bool TournamentMode() const { return modes_.TournamentMode(); }
  bool BlindPlay() const { return modes_.BlindPlay(); }
  bool ExtendedAnalysis() const { return modes_.ExtendedAnalysis(); }
  // Navigation and board moves are taken: the engine is idle, or it
  // analyses (not a game analysis evaluating a move).
  bool NavigationAllowed() const;
  bool EngineBusy() const { return worker_.Busy(); }
  TWorkKind EngineWork() const { return worker_.Kind(); }
  // Hide the book grid and the search information (play mode with
  // "Tournament mode" checked).
  bool HideEngineOutput() const { return !AnalysisMode() && modes_.TournamentMode(); }

  TGameClock& Clock() { return modes_.Clock(); }
  TRefreshRequests& Refresh() { return refresh_; }
  TSearchInfoBoard& SearchInfo() { return searchInfo_; }
  TEngineWorker& Worker() { return worker_; }
  TEngine& Engine() { return engine_; }
  // The endgame databases the search probes ("EDPath", "EDBMemory").
  TEndgameCache& Endgame() { return *endgame_; }
  // After the engine settings are confirmed: the hash table takes its new
  // size and the endgame cache its folder and memory limit, emptied.
  void ApplyEngineSettings();
  // The endgame tables again from "EDPath" within "EDBMemory": every
  // cached table is dropped.
  void ResetEndgameCache();
  TOpeningBook& Book() { return book_; }
  Settings& settings() { return settings_; }
  const TEngineParams& VariantParams(int type) const { return params_[type]; }
  TEngineParams& VariantParams(int type) { return params_[type]; }

  // The current game, read under the game lock. Never call a controller
  // command from inside `f`.
  template <class F>
  decltype(auto) ReadGame(F&& f) const {
    return session_.Read(std::forward<F>(f));
  }
  // A change to the current game from the interface thread (editing
  // commands of the game panel): made under the game lock.
  template <class F>
  decltype(auto) ChangeGame(F&& f) {
    return session_.Change(std::forward<F>(f));
  }
  // Every open game, changed under the game lock (a database whose games
  // were renumbered).
  template <class F>
  void ChangeEveryGame(F&& f) {
    session_.ChangeEach(std::forward<F>(f));
  }
  // The game record's observer that turns refresh requests of the game
  // functions into the controller's (no questions: it answers "New
  // variation").
  TGameObserver& GameObserver() { return session_.Observer(); }

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
  // A game read from a database into the current slot: the engine stops,
  // the program takes the game's type without a new game, and the game is
  // shown at `viewSlot` (its viewing start). Asks nothing: the caller has
  // offered to save the game it replaces.
  void LoadGame(TGame game, int viewSlot);
  // "Game not saved. Save?" for a modified game; false when the user
  // cancelled or the save did not happen, and the game must stay.
  bool OfferToSave(bool withCancel) { return AskToSave(withCancel); }
  // The "Type" menu: the game type, with a new game when the board changes.
  void SetGameTypeCommand(int type) { SwitchGameType(type, true); }
  void SwitchGameType(int type, bool mayStartNewGame);
  // Lets the engine set up its table and evaluation for the current variant
  // on the worker, so that the next move's clock does not pay for them.
  // Nothing while a computation runs (it prepared itself).
  void PrepareEngine();
  TQuickGameHeader Header() const { return session_.Header(); }
  void SetHeader(const TQuickGameHeader& header);

  // Open games of the Window menu.
  void NewWindowGame();
  bool CloseWindowGame();
  bool SelectWindowGame(int index);
  using TWindowEntry = TGameSession::TWindowEntry;
  std::vector<TWindowEntry> WindowMenu() const { return session_.WindowMenu(); }
  int OpenGameCount() const { return session_.OpenGameCount(); }

  // ---- Set-up.
  bool EnterSetup();
  // Board clicks in set-up mode: 1 left, 2 right, 3 middle.
  void SetupClick(int square, int button);
  void SetupClear();
  void SetupStartPosition();
  // A whole position for the set-up board (the "FEN" button).
  void SetupPosition(const TBoard& board);
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
  class RunListener;
  // SwitchGameType without preparing the engine.
  void ApplyGameType(int type, bool mayStartNewGame);

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
  // In play mode, a game without a result whose position the endgame tables
  // decide gets that result, announced as the rules' results are.
  uint8_t AdjudicateEndgame(TGame& game, int type);
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
  std::string BlackEngineName() const;
  int MoveNumberAt(const TGame& game) const;

  Settings& settings_;
  std::filesystem::path programFolder_;
  TPlayOptions options_;
  TPlayUi defaultUi_;
  TPlayUi* ui_ = &defaultUi_;

  TEngine engine_;
  std::shared_ptr<TEndgameCache> endgame_ = std::make_shared<TEndgameCache>();
  TExternalEngine external_;  // used only on the worker thread
  TEngineWorker worker_;
  TVariantEngines params_;
  TOpeningBook book_;
  TRefreshRequests refresh_;
  TSearchInfoBoard searchInfo_;
  TPlayModes modes_;
  TGameSession session_;

  bool setupMode_ = false;
  std::string drawNotice_;
  std::vector<std::string> engineFileProblems_;
  int gameTypeListener_ = -1;

  std::mutex randomMutex_;
  std::mt19937 random_;
  std::vector<uint8_t> moveSound_;
};

}  // namespace kestrel
