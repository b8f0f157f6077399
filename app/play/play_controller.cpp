#include "app/play/play_controller.h"

#include "app/play/play_controller_internal.h"

#include <chrono>
#include <ctime>

#include "app/play/levels.h"
#include "app/play/play_texts.h"
#include "app/play/result_detection.h"
#include "app/play/side_names.h"
#include "app/play/wrong_moves.h"
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
      clock_(options_.now),
      observerImpl_(std::make_unique<Observer>(refresh_)),
      observer_(*observerImpl_),
      random_(options_.randomSeed != 0 ? options_.randomSeed : SeedFromClock()) {
  clock_.SetControl(PresetControl(timeIndex_));
  moveSound_ = MakeMoveClickWav();
  // The book follows the game type, whoever changes it.
  gameTypeListener_ = AddGameTypeListener(nullptr, [this](int, int type) {
    if (IsValidGameType(type)) book_.BookIni(params_[type].Book);
  });
}

TPlayController::~TPlayController() {
  worker_.StopAndWait();
  RemoveGameTypeListener(gameTypeListener_);
}

void TPlayController::Initialize() {
  params_ = LoadAllVariantParams(settings_, programFolder_);
  const int64_t hash = options_.hashMegabytes >= 0 ? options_.hashMegabytes : settings_.KestrelMemory;
  engine_.AllocateHashTable(static_cast<uint64_t>(std::max<int64_t>(hash, 0)));
  engine_.SetThreadsCount(std::clamp(settings_.ThreadsCount, 1, MaxSearchThreads));
  int type = IsValidGameType(settings_.TypeOfGame) ? settings_.TypeOfGame : gtRussian;
  {
    std::lock_guard lock(gameMutex_);
    kestrel::NewGame(games_.Current(), type);
  }
  SwitchGameType(type, false);
  book_.BookIni(params_[type].Book);
  NewGame();
  if (settings_.PlayingMode)
    SetPlayMode();
  else
    SetAnalysisMode();
}

int TPlayController::LevelDepth() const { return Levels[levelIndex_].depth; }

bool TPlayController::NavigationAllowed() const {
  if (setupMode_) return false;
  if (!worker_.Busy()) return true;
  // A game analysis moves through the game itself.
  return AnalysisMode() && worker_.Kind() != TWorkKind::gameAnalysis;
}

// ---- Modes, levels, time.

void TPlayController::SetAnalysisMode() {
  clock_.Stop();
  analysisMode_ = true;
  stoppedByUser_ = !worker_.Busy();
  settings_.PlayingMode = false;
  refresh_.Request(rqMode | rqStatusBar);
}

void TPlayController::SetPlayMode() {
  // A continuous analysis would never end and keep the board locked; the
  // engine's own reply or an engine game goes on.
  if (worker_.Busy() && worker_.Kind() == TWorkKind::analysis && AnalysisMode()) worker_.StopAndWait();
  analysisMode_ = false;
  replayRunning_ = false;
  settings_.PlayingMode = true;
  refresh_.Request(rqMode | rqStatusBar);
}

void TPlayController::SetLevel(int index) {
  if (index < 0 || index >= static_cast<int>(Levels.size())) return;
  levelIndex_ = index;
  refresh_.Request(rqMode);
}

void TPlayController::ApplyTimeControl() {
  clock_.SetControl(timeIndex_ == SetTimeIndex ? ControlFromDialog(setTime_) : PresetControl(timeIndex_));
}

void TPlayController::SetTimePreset(int index) {
  if (index < 0 || index >= static_cast<int>(TimePresets.size())) return;
  timeIndex_ = index;
  ApplyTimeControl();
  refresh_.Request(rqMode);
}

void TPlayController::SetCustomTime(const TSetTimeValues& values) {
  setTime_ = values;
  timeIndex_ = SetTimeIndex;
  ApplyTimeControl();
  refresh_.Request(rqMode);
}

void TPlayController::SetTournamentMode(bool on) {
  tournamentMode_ = on;
  if (on) searchInfo_.Clear();
  refresh_.Request(rqMode | rqBook);
}

void TPlayController::SetBlindPlay(bool on) {
  blindPlay_ = on;
  refresh_.Request(rqBoard);
}

void TPlayController::SetExtendedAnalysis(bool on) {
  extendedAnalysis_ = on;
  refresh_.Request(rqMode);
  // A running analysis starts again with the new setting.
  if (AnalysisMode() && worker_.Busy() && worker_.Kind() == TWorkKind::analysis) EngineStart();
}

void TPlayController::ToggleReversed() {
  reversed_ = !reversed_;
  refresh_.Request(rqBoard);
}

// ---- Games.

bool TPlayController::AskToSave(bool withCancel) {
  const bool modified = ReadGame([](const TGame& g) { return g.Modified; });
  if (!modified) return true;
  switch (ui_->AskSaveGame(withCancel)) {
    case TSaveAnswer::yes:
      ui_->SaveCurrentGame();
      return true;
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
  ApplyTimeControl();
  clock_.Stop();
  const std::string white = settings_.UserName.empty() ? Lang(LtPlayer) : settings_.UserName;
  const std::string black = BlackEngineName();
  const std::string tournament = Lang(LtNewGame) + " " + TimeControlText(clock_.Control());
  {
    std::lock_guard lock(gameMutex_);
    TGame& game = games_.Current();
    kestrel::NewGame(game, CurrentGameType);
    game.WhiteName = white;
    game.BlackName = black;
    game.Tournament = tournament;
    game.Header.Date = Today();
    game.OpenMoves = TOpenMoves{};
  }
  reversed_ = false;
  drawNotice_.clear();
  searchInfo_.Clear();
  refresh_.Request(rqHeader | rqWindowMenu | rqBoard | rqBuildTree | rqBook | rqStatusBar | rqSaveButton | rqMode);
}

void TPlayController::NewGame() {
  worker_.StopAndWait();
  blindPlay_ = false;
  AskToSave(false);
  replayRunning_ = false;
  StartNewGameOnCurrent();
}

void TPlayController::SwitchGameType(int type, bool mayStartNewGame) {
  if (!IsValidGameType(type)) return;
  worker_.StopAndWait();
  const int old = IsValidGameType(CurrentGameType) ? CurrentGameType : 0;
  if (type != CurrentGameType) SetGameType(type);  // the book follows through the listener
  if (setupMode_) {
    // A position is being set up for the new type: another board shows the
    // new type's start position to edit.
    std::lock_guard lock(gameMutex_);
    TGame& game = games_.Current();
    game.Header.TypeOfGame = static_cast<uint8_t>(type);
    if (SquareCountOf(old) != SquareCountOf(type)) game.CurBoard = InitialPosition(type);
    refresh_.Request(rqBoard | rqStatusBar | rqMode);
    return;
  }
  bool freshStart = false;
  {
    std::lock_guard lock(gameMutex_);
    TGame& game = games_.Current();
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
    std::lock_guard lock(gameMutex_);
    TGame& game = games_.Current();
    RemoveWrongMoves(game, type);
    game.Modified = true;
    refresh_.Request(rqSaveButton);
  }
  {
    std::lock_guard lock(gameMutex_);
    TGame& game = games_.Current();
    // The position is replayed under the new rules; a current move that was
    // removed leaves the start position current.
    if (!GoToMove(game, game.CurMovPos)) GoToMove(game, 0);
  }
  refresh_.Request(rqBoard | rqBuildTree | rqBook | rqStatusBar);
}

TQuickGameHeader TPlayController::Header() const {
  return ReadGame([](const TGame& g) { return QuickHeaderOf(g); });
}

void TPlayController::SetHeader(const TQuickGameHeader& q) {
  {
    std::lock_guard lock(gameMutex_);
    TGame& g = games_.Current();
    // The tree fields of the header belong to the game, not to the dialog.
    const TGameHeader kept = g.Header;
    g.Header = q.Header;
    g.Header.TypeOfGame = kept.TypeOfGame;
    g.Header.FirstMove = kept.FirstMove;
    g.Header.NumerationFrom = kept.NumerationFrom;
    g.Header.LastMove = kept.LastMove;
    g.Header.ShowFrom = kept.ShowFrom;
    g.Header.GameLength = kept.GameLength;
    g.Header.Offset = kept.Offset;
    g.Header.Length = kept.Length;
    g.Header.Flags = kept.Flags;
    if (g.Header.Result > ResultBlackWonOnTime) g.Header.Result = kept.Result;
    SetGameNames(g, q);
    g.Modified = true;
  }
  refresh_.Request(rqHeader | rqBuildTree | rqWindowMenu | rqSaveButton);
}

// ---- Open games.

void TPlayController::NewWindowGame() {
  worker_.StopAndWait();
  {
    std::lock_guard lock(gameMutex_);
    games_.MakeCurrent(games_.Append());
  }
  blindPlay_ = false;
  replayRunning_ = false;
  StartNewGameOnCurrent();
}

bool TPlayController::CloseWindowGame() {
  worker_.StopAndWait();
  if (games_.OpenCount() <= 1) {
    NewGame();
    return true;
  }
  // Closing drops the game from reach: a modified one is offered for saving.
  if (!AskToSave(true)) return false;
  int type = CurrentGameType;
  {
    std::lock_guard lock(gameMutex_);
    games_.CloseCurrent();
    type = GameTypeOf(games_.Current());
  }
  replayRunning_ = false;
  if (type != CurrentGameType) SwitchGameType(type, false);
  searchInfo_.Clear();
  refresh_.Request(rqHeader | rqWindowMenu | rqBoard | rqBuildTree | rqBook | rqStatusBar | rqSaveButton);
  return true;
}

bool TPlayController::SelectWindowGame(int index) {
  worker_.StopAndWait();
  int type = CurrentGameType;
  {
    std::lock_guard lock(gameMutex_);
    if (!games_.MakeCurrent(index)) return false;
    type = GameTypeOf(games_.Current());
  }
  replayRunning_ = false;
  if (type != CurrentGameType) SwitchGameType(type, false);
  searchInfo_.Clear();
  refresh_.Request(rqHeader | rqWindowMenu | rqBoard | rqBuildTree | rqBook | rqStatusBar | rqSaveButton);
  return true;
}

std::vector<TPlayController::TWindowEntry> TPlayController::WindowMenu() const {
  std::lock_guard lock(gameMutex_);
  std::vector<TWindowEntry> out;
  for (int i : games_.OpenIndexes()) out.push_back({i, OpenGameTitle(games_.At(i)), i == games_.CurrentIndex()});
  return out;
}

// ---- Set-up.

bool TPlayController::EnterSetup() {
  if (setupMode_) return true;
  if (!AskToSave(true)) return false;
  worker_.StopAndWait();
  replayRunning_ = false;
  {
    std::lock_guard lock(gameMutex_);
    TGame& game = games_.Current();
    const TBoard board = game.CurBoard;
    const TDColor side = game.SideToMove;
    ClearGame(game);
    game.CurMovPos = 0;
    game.CurBoard = board;
    game.SideToMove = side;
    PackBoard(board.b, game.StartBoard);
  }
  setupMode_ = true;
  searchInfo_.Clear();
  refresh_.Request(rqMode | rqBoard | rqBuildTree | rqHeader | rqStatusBar);
  return true;
}

void TPlayController::SetupClick(int square, int button) {
  if (!setupMode_) return;
  const int type = CurrentGameType;
  const int count = SquareCountOf(type);
  if (square < 1 || square > count) return;
  const int step = button == 1 ? 1 : button == 2 ? -1 : 0;
  const int perRank = BoardShape(type).squaresPerRank;
  std::lock_guard lock(gameMutex_);
  int8_t& cell = games_.Current().CurBoard.b[square];
  if (step == 0) {
    cell = Empty;
  } else {
    int code = cell;
    // Men never stand where they would already be crowned.
    for (int tries = 0; tries < 5; ++tries) {
      code += step;
      if (code > WhiteKing) code = BlackKing;
      if (code < BlackKing) code = WhiteKing;
      const bool blackManOnFirstRow = code == BlackMan && square <= perRank;
      const bool whiteManOnLastRow = code == WhiteMan && square > count - perRank;
      if (!blackManOnFirstRow && !whiteManOnLastRow) break;
    }
    cell = static_cast<int8_t>(code);
  }
  refresh_.Request(rqBoard | rqStatusBar);
}

void TPlayController::SetupClear() {
  if (!setupMode_) return;
  {
    std::lock_guard lock(gameMutex_);
    games_.Current().CurBoard = TBoard{};
  }
  refresh_.Request(rqBoard | rqStatusBar);
}

void TPlayController::SetupStartPosition() {
  if (!setupMode_) return;
  {
    std::lock_guard lock(gameMutex_);
    games_.Current().CurBoard = InitialPosition(CurrentGameType);
  }
  refresh_.Request(rqBoard | rqStatusBar);
}

void TPlayController::SetupDone(TDColor side, int firstMoveNumber) {
  if (!setupMode_) return;
  {
    std::lock_guard lock(gameMutex_);
    TGame& game = games_.Current();
    const TBrd board = game.CurBoard.b;
    const int first = std::clamp(firstMoveNumber, 1, MaxFirstMoveNumber);
    if (!SetUpPosition(game, board, side, first, CurrentGameType))
      SetUpPosition(game, TBrd{}, side, first, CurrentGameType);
  }
  setupMode_ = false;
  drawNotice_.clear();
  refresh_.Request(rqMode | rqBoard | rqBuildTree | rqHeader | rqBook | rqStatusBar | rqSaveButton);
}

// ---- Status bar.

std::string TPlayController::StatusVariant() const {
  const int type = CurrentGameType;
  return " " + std::string(IsValidGameType(type) ? GameTypeNames[type] : std::string_view{});
}

std::string TPlayController::MaterialLine() const {
  const TBrd board = ReadGame([](const TGame& g) { return g.CurBoard.b; });
  const int type = IsValidGameType(CurrentGameType) ? CurrentGameType : gtRussian;
  const TBoardShape shape = BoardShape(type);
  const int count = GameTypes[type].SquareCount;
  int wm = 0, wk = 0, bm = 0, bk = 0, tempo = 0;
  for (int s = 1; s <= count; ++s) {
    const int row = (s - 1) / shape.squaresPerRank;
    switch (board[s]) {
      case WhiteMan:
        ++wm;
        tempo += row;
        break;
      case WhiteKing:
        ++wk;
        break;
      case BlackMan:
        ++bm;
        tempo -= shape.ranks - 1 - row;
        break;
      case BlackKing:
        ++bk;
        break;
      default:
        break;
    }
  }
  std::string text = (wk > 0 ? std::to_string(wk) + "+" : std::string(" ")) + std::to_string(wm) + " vs " +
                     (bk > 0 ? std::to_string(bk) + "+" : std::string()) + std::to_string(bm) + "  (" +
                     (tempo > 0 ? "+" : "") + std::to_string(tempo) + ")";
  return text;
}

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
