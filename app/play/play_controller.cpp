#include "app/play/play_controller.h"

#include "app/play/play_controller_internal.h"

#include <chrono>
#include <ctime>

#include "app/play/levels.h"
#include "app/play/play_texts.h"
#include "app/play/result_detection.h"
#include "app/play/side_names.h"
#include "app/play/wrong_moves.h"
#include "database/code_page.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "game/quick_header.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel {

namespace {

uint32_t SeedFromClock() {
  return static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

TGameDate Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  TGameDate d;
  d.Day = static_cast<uint8_t>(local.tm_mday);
  d.Month = static_cast<uint8_t>(local.tm_mon + 1);
  d.Year = static_cast<uint16_t>(local.tm_year + 1900);
  return d;
}

int SquareCountOf(int type) { return IsValidGameType(type) ? GameTypes[type].SquareCount : 0; }

}  // namespace

TPlayController::TPlayController(Settings& settings, std::filesystem::path programFolder, TPlayOptions options)
    : settings_(settings),
      programFolder_(std::move(programFolder)),
      options_(std::move(options)),
      engine_(static_cast<uint64_t>(options_.hashMegabytes >= 0 ? options_.hashMegabytes : 0)),
      worker_(engine_),
      modes_(options_.now),
      session_(refresh_),
      random_(options_.randomSeed != 0 ? options_.randomSeed : SeedFromClock()) {
  moveSound_ = MakeMoveClickWav();
  // The book follows the game type, whoever changes it.
  engine_.SetEndgameProber(endgame_);
  searchInfo_.SetEndgameSource(endgame_);
  // The book and the endgame tables follow the game type, whoever changes it.
  gameTypeListener_ = AddGameTypeListener(nullptr, [this](int, int type) {
    if (!IsValidGameType(type)) return;
    book_.BookIni(params_[type].Book);
    endgame_->SetGameType(type);
  });
}

TPlayController::~TPlayController() {
  worker_.StopAndWait();
  RemoveGameTypeListener(gameTypeListener_);
}

std::vector<std::string> TPlayController::ReloadVariantParams() {
  std::vector<std::string> problems;
  for (int t = 1; t <= GameTypeCount; ++t) {
    std::string problem;
    params_[t] = LoadVariantParams(settings_, programFolder_, t, &problem);
    if (!problem.empty()) problems.push_back(std::move(problem));
  }
  return problems;
}

void TPlayController::Initialize() {
  engineFileProblems_ = ReloadVariantParams();
  const int64_t hash = options_.hashMegabytes >= 0 ? options_.hashMegabytes : settings_.KestrelMemory;
  engine_.AllocateHashTable(static_cast<uint64_t>(std::max<int64_t>(hash, 0)));
  engine_.SetThreadsCount(std::clamp(settings_.ThreadsCount, 1, MaxSearchThreads));
  endgame_->Configure(EndgameRoot(programFolder_, settings_.EDPath),
                      static_cast<uint64_t>(std::max(settings_.EDBMemory, 0)));
  int type = IsValidGameType(settings_.TypeOfGame) ? settings_.TypeOfGame : gtRussian;
  {
    const auto lock = session_.Lock();
    kestrel::NewGame(session_.Current(), type);
  }
  ApplyGameType(type, false);
  book_.BookIni(params_[type].Book);
  NewGame();
  if (settings_.PlayingMode)
    SetPlayMode();
  else
    SetAnalysisMode();
  PrepareEngine();
}

void TPlayController::ApplyEngineSettings() {
  worker_.StopAndWait();
  const int64_t hash = options_.hashMegabytes >= 0 ? options_.hashMegabytes : settings_.KestrelMemory;
  engine_.AllocateHashTable(static_cast<uint64_t>(std::max<int64_t>(hash, 0)));
  ResetEndgameCache();
  PrepareEngine();
}

void TPlayController::ResetEndgameCache() {
  worker_.StopAndWait();
  endgame_->Configure(EndgameRoot(programFolder_, settings_.EDPath),
                      static_cast<uint64_t>(std::max(settings_.EDBMemory, 0)));
}

bool TPlayController::NavigationAllowed() const {
  if (setupMode_) return false;
  if (!worker_.Busy()) return true;
  // A game analysis moves through the game itself.
  return AnalysisMode() && worker_.Kind() != TWorkKind::gameAnalysis;
}

// ---- Modes, levels, time.

void TPlayController::SetAnalysisMode() {
  modes_.Clock().Stop();
  modes_.SetAnalysisMode(true);
  modes_.SetStoppedByUser(!worker_.Busy());
  settings_.PlayingMode = false;
  refresh_.Request(rqMode | rqStatusBar);
}

void TPlayController::SetPlayMode() {
  // A continuous analysis would never end and keep the board locked; the
  // engine's own reply or an engine game goes on.
  if (worker_.Busy() && worker_.Kind() == TWorkKind::analysis && AnalysisMode()) worker_.StopAndWait();
  modes_.SetAnalysisMode(false);
  modes_.StopReplay();
  settings_.PlayingMode = true;
  refresh_.Request(rqMode | rqStatusBar);
}

void TPlayController::SetLevel(int index) {
  if (modes_.SetLevel(index)) refresh_.Request(rqMode);
}

void TPlayController::SetTimePreset(int index) {
  if (modes_.SetTimePreset(index)) refresh_.Request(rqMode);
}

void TPlayController::SetCustomTime(const TSetTimeValues& values) {
  modes_.SetCustomTime(values);
  refresh_.Request(rqMode);
}

void TPlayController::SetTournamentMode(bool on) {
  modes_.SetTournamentMode(on);
  if (on) searchInfo_.Clear();
  refresh_.Request(rqMode | rqBook);
}

void TPlayController::SetBlindPlay(bool on) {
  modes_.SetBlindPlay(on);
  refresh_.Request(rqBoard);
}

void TPlayController::SetExtendedAnalysis(bool on) {
  modes_.SetExtendedAnalysis(on);
  refresh_.Request(rqMode);
  // A running analysis starts again with the new setting.
  if (AnalysisMode() && worker_.Busy() && worker_.Kind() == TWorkKind::analysis) EngineStart();
}

void TPlayController::ToggleReversed() {
  modes_.SetReversed(!modes_.Reversed());
  refresh_.Request(rqBoard);
}

// ---- Games.

bool TPlayController::AskToSave(bool withCancel) {
  const bool modified = ReadGame([](const TGame& g) { return g.Modified; });
  if (!modified) return true;
  switch (ui_->AskSaveGame(withCancel)) {
    case TSaveAnswer::yes:
      // A save that failed or was given up keeps the game: nothing that
      // would drop it may go on.
      return ui_->SaveCurrentGame();
    case TSaveAnswer::no:
      return true;
    case TSaveAnswer::cancel:
      return !withCancel;
  }
  return true;
}

std::string TPlayController::BlackEngineName() const {
  const int type = CurrentGameType;
  if (!IsValidGameType(type)) return std::string(EngineLabelOld);
  const TEngineParams& p = params_[type];
  if (PlayingGeneration(p, type) == EngineNew) return std::string(EngineLabelNew) + " [" + p.EngineName + "]";
  return std::string(EngineLabelOld);
}

std::string TPlayController::EngineTitle() const { return BlackEngineName(); }

void TPlayController::StartNewGameOnCurrent() {
  modes_.ApplyTimeControl();
  modes_.Clock().Stop();
  // The settings keep the user name in UTF-8, the game in the code page.
  const std::string white = settings_.UserName.empty() ? Lang(LtPlayer) : Utf8ToAnsi(settings_.UserName);
  const std::string black = BlackEngineName();
  const std::string tournament = Lang(LtNewGame) + " " + TimeControlText(modes_.Clock().Control());
  {
    const auto lock = session_.Lock();
    TGame& game = session_.Current();
    kestrel::NewGame(game, CurrentGameType);
    game.WhiteName = white;
    game.BlackName = black;
    game.Tournament = tournament;
    game.Header.Date = Today();
    game.OpenMoves = TOpenMoves{};
  }
  modes_.SetReversed(false);
  drawNotice_.clear();
  searchInfo_.Clear();
  refresh_.Request(rqHeader | rqWindowMenu | rqBoard | rqBuildTree | rqBook | rqStatusBar | rqSaveButton | rqMode);
}

void TPlayController::NewGame() {
  worker_.StopAndWait();
  if (!AskToSave(false)) return;
  modes_.SetBlindPlay(false);
  modes_.StopReplay();
  StartNewGameOnCurrent();
}

void TPlayController::LoadGame(TGame game, int viewSlot) {
  worker_.StopAndWait();
  modes_.StopReplay();
  const int type = game.Header.TypeOfGame;
  if (IsValidGameType(type) && type != CurrentGameType) SwitchGameType(type, false);
  session_.Change([&game](TGame& current) { current = std::move(game); });
  if (!session_.GoToSlot(viewSlot)) session_.GoToSlot(0);
  searchInfo_.Clear();
  refresh_.Request(rqHeader | rqWindowMenu | rqBoard | rqBuildTree | rqBook | rqStatusBar | rqSaveButton | rqMode);
}

void TPlayController::SwitchGameType(int type, bool mayStartNewGame) {
  if (!IsValidGameType(type)) return;
  ApplyGameType(type, mayStartNewGame);
  PrepareEngine();
}

void TPlayController::PrepareEngine() {
  if (worker_.Busy()) return;
  const int type = IsValidGameType(CurrentGameType) ? CurrentGameType : gtRussian;
  if (settings_.Variants[type].External) return;
  worker_.Start(TWorkKind::prepare, [this, type, params = params_[type]] { engine_.PrepareGeneration(type, params); });
}

void TPlayController::ApplyGameType(int type, bool mayStartNewGame) {
  if (!IsValidGameType(type)) return;
  worker_.StopAndWait();
  const int old = IsValidGameType(CurrentGameType) ? CurrentGameType : 0;
  if (type != CurrentGameType) SetGameType(type);  // the book follows through the listener
  if (setupMode_) {
    // A position is being set up for the new type: another board shows the
    // new type's start position to edit.
    const auto lock = session_.Lock();
    TGame& game = session_.Current();
    game.Header.TypeOfGame = static_cast<uint8_t>(type);
    if (SquareCountOf(old) != SquareCountOf(type)) game.CurBoard = InitialPosition(type);
    refresh_.Request(rqBoard | rqStatusBar | rqMode);
    return;
  }
  bool freshStart = false;
  {
    const auto lock = session_.Lock();
    TGame& game = session_.Current();
    // A game without moves that still shows the old start position takes the
    // new type's start position as well (the start boards of one board kind
    // differ, as Thai's).
    TBrd start{};
    UnpackBoard(game.StartBoard, start);
    freshStart = FirstChild(game, 0) == 0 && old != 0 && start == InitialPosition(old).b;
    game.Header.TypeOfGame = static_cast<uint8_t>(type);
  }
  refresh_.Request(rqStatusBar | rqMode);
  if (mayStartNewGame && (SquareCountOf(old) != SquareCountOf(type) || freshStart)) {
    StartNewGameOnCurrent();
    return;
  }
  const bool wrong = ReadGame([type](const TGame& g) { return !FindWrongMoves(g, type).empty(); });
  if (wrong && ui_->AskRemoveWrongMoves()) {
    const auto lock = session_.Lock();
    TGame& game = session_.Current();
    RemoveWrongMoves(game, type);
    game.Modified = true;
    refresh_.Request(rqSaveButton);
  }
  {
    const auto lock = session_.Lock();
    TGame& game = session_.Current();
    // The position is replayed under the new rules; a current move that was
    // removed leaves the start position current.
    if (!GoToMove(game, game.CurMovPos)) GoToMove(game, 0);
  }
  refresh_.Request(rqBoard | rqBuildTree | rqBook | rqStatusBar);
}

void TPlayController::SetHeader(const TQuickGameHeader& q) {
  session_.SetHeader(q);
  refresh_.Request(rqHeader | rqBuildTree | rqWindowMenu | rqSaveButton);
}

// ---- Open games.

void TPlayController::NewWindowGame() {
  worker_.StopAndWait();
  session_.OpenNewGame();
  modes_.SetBlindPlay(false);
  modes_.StopReplay();
  StartNewGameOnCurrent();
}

bool TPlayController::CloseWindowGame() {
  worker_.StopAndWait();
  if (session_.OpenGameCount() <= 1) {
    NewGame();
    return true;
  }
  // Closing drops the game from reach: a modified one is offered for saving.
  if (!AskToSave(true)) return false;
  const int type = session_.CloseCurrentGame();
  modes_.StopReplay();
  if (type != CurrentGameType) SwitchGameType(type, false);
  searchInfo_.Clear();
  refresh_.Request(rqHeader | rqWindowMenu | rqBoard | rqBuildTree | rqBook | rqStatusBar | rqSaveButton);
  return true;
}

bool TPlayController::SelectWindowGame(int index) {
  worker_.StopAndWait();
  const int type = session_.SelectGame(index);
  if (type < 0) return false;
  modes_.StopReplay();
  if (type != CurrentGameType) SwitchGameType(type, false);
  searchInfo_.Clear();
  refresh_.Request(rqHeader | rqWindowMenu | rqBoard | rqBuildTree | rqBook | rqStatusBar | rqSaveButton);
  return true;
}

// ---- Set-up.

bool TPlayController::EnterSetup() {
  if (setupMode_) return true;
  if (!AskToSave(true)) return false;
  worker_.StopAndWait();
  modes_.StopReplay();
  session_.BeginSetup();
  setupMode_ = true;
  searchInfo_.Clear();
  refresh_.Request(rqMode | rqBoard | rqBuildTree | rqHeader | rqStatusBar);
  return true;
}

void TPlayController::SetupClick(int square, int button) {
  if (!setupMode_) return;
  session_.SetupClick(square, button, CurrentGameType);
  refresh_.Request(rqBoard | rqStatusBar);
}

void TPlayController::SetupClear() {
  if (!setupMode_) return;
  session_.SetSetupBoard(TBoard{});
  refresh_.Request(rqBoard | rqStatusBar);
}

void TPlayController::SetupPosition(const TBoard& board) {
  if (!setupMode_) return;
  session_.SetSetupBoard(board);
  refresh_.Request(rqBoard | rqStatusBar);
}

void TPlayController::SetupStartPosition() {
  if (!setupMode_) return;
  session_.SetSetupBoard(InitialPosition(CurrentGameType));
  refresh_.Request(rqBoard | rqStatusBar);
}

void TPlayController::SetupDone(TDColor side, int firstMoveNumber) {
  if (!setupMode_) return;
  session_.FinishSetup(side, firstMoveNumber, CurrentGameType);
  setupMode_ = false;
  drawNotice_.clear();
  refresh_.Request(rqMode | rqBoard | rqBuildTree | rqHeader | rqBook | rqStatusBar | rqSaveButton);
}

// ---- Status bar.

std::string TPlayController::StatusVariant() const {
  const int type = CurrentGameType;
  return " " + GameTypeTitle(type);
}

std::string TPlayController::MaterialLine() const { return session_.MaterialLine(CurrentGameType); }

std::string TPlayController::DrawNotice() const { return drawNotice_; }

void TPlayController::UpdateDrawNotice() {
  const TRuleOutcome rule = ReadGame([](const TGame& g) { return JudgePosition(g, g.CurMovPos); });
  drawNotice_ = rule == TRuleOutcome::repetition || rule == TRuleOutcome::noProgress ? Lang(LtDraw) : std::string();
  refresh_.Request(rqStatusBar);
}

void TPlayController::PlayMoveSound() { PlaySound(settings_.Sound); }

void TPlayController::PlaySound(bool on) {
  if (on && options_.sound) options_.sound->Play(moveSound_);
}

}  // namespace kestrel
