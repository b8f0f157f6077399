// Engine runs: Compute and STOP, the analysis thread with continuous
// analysis or the engine's reply in play mode.
#include <chrono>
#include <exception>
#include <thread>

#include "app/play/endgame_adjudication.h"
#include "app/play/levels.h"
#include "app/play/play_controller.h"
#include "app/play/play_controller_internal.h"
#include "app/play/side_names.h"
#include "app/play/play_texts.h"
#include "app/play/result_detection.h"
#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/opening_tree.h"
#include "rules/current_game_type.h"
#include "rules/move_generator.h"

namespace kestrel {

TRunSetup TPlayController::MakeRunSetup() {
  TRunSetup run;
  {
    const auto lock = session_.Lock();
    run.game = &session_.Current();
  }
  run.type = IsValidGameType(CurrentGameType) ? CurrentGameType : gtRussian;
  run.analysisMode = AnalysisMode();
  run.extended = run.analysisMode && modes_.ExtendedAnalysis();
  run.levelDepth = LevelDepth();
  run.bookLevel = settings_.BookLevel;
  run.sound = settings_.Sound;
  run.params = params_[run.type];
  if (settings_.Variants[run.type].External) run.hubCommand = settings_.Variants[run.type].HubCommand;
  return run;
}

void TPlayController::StartWork(TWorkKind kind, std::function<void()> work) {
  worker_.Start(kind, std::move(work), [this](const char*) {
    refresh_.PostMessage(std::string(ExcPlayMove), true);
    refresh_.Request(rqStopButton);
  });
  refresh_.Request(rqStopButton);
}

void TPlayController::Compute() {
  if (setupMode_) return;
  if (!AnalysisMode()) {
    // On a fresh game the engine takes over the side to move. When that side
    // is side 0 the players' names, clocks and the board's sides change
    // places; with side 1 to move (a set-up) the engine already has it.
    bool swap = false;
    {
      const auto lock = session_.Lock();
      TGame& game = session_.Current();
      if (game.Header.Result == ResultUnknown && FirstChild(game, 0) == 0 && game.SideToMove == TDColor::white) {
        std::swap(game.WhiteName, game.BlackName);
        swap = true;
      }
    }
    if (swap) {
      modes_.Clock().SwapSides();
      modes_.SetReversed(true);
      refresh_.Request(rqHeader | rqBoard | rqWindowMenu);
    }
  } else {
    modes_.SetStoppedByUser(false);
  }
  EngineStart();
}

void TPlayController::Stop() {
  modes_.SetStoppedByUser(true);
  worker_.RequestStop();
  modes_.Clock().Stop();
  refresh_.Request(rqMode);
}

void TPlayController::StopButton() {
  if (worker_.Busy())
    Stop();
  else
    Compute();
}

void TPlayController::EngineStart() {
  if (setupMode_) return;
  // A decided game keeps its clock stopped, whoever asks the engine.
  const bool decided = ReadGame([](const TGame& g) { return g.Header.Result != ResultUnknown; });
  if (!AnalysisMode() && !decided) modes_.Clock().Start();
  worker_.StopAndWait();
  const TRunSetup run = MakeRunSetup();
  StartWork(TWorkKind::analysis, [this, run] { AnalysisRun(run); });
}

void TPlayController::AnalysisRun(const TRunSetup& run) {
  TGame& game = *run.game;
  const bool playMode = !run.analysisMode;
  uint8_t found = CheckResultOn(game, run.type, playMode, false, true);
  // The user's move may have reached a decided endgame: the engine need not play it out.
  if (found == ResultUnknown && playMode) found = AdjudicateEndgame(game, run.type);
  if (found == ResultUnknown || run.analysisMode) {
    if (run.analysisMode) {
      try {
        Analyse(run);
      } catch (const std::exception&) {
        refresh_.PostMessage(std::string(ExcAnalysis), true);
      }
    } else {
      try {
        EngineReply(run, run.params);
      } catch (const std::exception&) {
        refresh_.PostMessage(std::string(ExcPlayMove), true);
      }
    }
  }
  const uint8_t after = CheckResultOn(game, run.type, playMode, true, found == ResultUnknown);
  if (playMode && found == ResultUnknown && after == ResultUnknown) AdjudicateEndgame(game, run.type);
  refresh_.Request(rqStopButton | rqMode);
}

uint8_t TPlayController::AdjudicateEndgame(TGame& game, int type) {
  TBoard board;
  TDColor mover;
  {
    const auto lock = session_.Lock();
    if (game.Header.Result != ResultUnknown) return game.Header.Result;
    board = game.CurBoard;
    mover = game.SideToMove;
  }
  const auto decided = EndgameResult(*endgame_, board, mover, type);
  if (!decided) return ResultUnknown;
  {
    const auto lock = session_.Lock();
    if (game.Header.Result != ResultUnknown) return game.Header.Result;
    game.Header.Result = *decided;
    game.Modified = true;
  }
  modes_.Clock().Stop();
  if (*decided == ResultDraw) {
    refresh_.PostMessage(Lang(LtDraw), true);
  } else {
    const TDColor winner = *decided == ResultWhiteWon ? TDColor::white : TDColor::black;
    refresh_.PostMessage(Lang(SideName(winner, type) == "White" ? LtWhiteWin : LtBlackWin), true);
  }
  refresh_.Request(rqBuildTree | rqHeader | rqSaveButton);
  return *decided;
}

void TPlayController::Analyse(const TRunSetup& run) {
  TSearchStart start;
  {
    const auto lock = session_.Lock();
    const TGame& game = *run.game;
    start.board = game.CurBoard;
    start.side = game.SideToMove;
    start.currentMovePos = game.CurMovPos;
    start.firstMoveNumber = MoveNumberAt(game);
  }
  start.type = run.type;
  start.engineName = EngineLabel(run.params, run.type);
  start.engineFile = EngineFileLabel(run.params, run.type);
  if (!run.hubCommand.empty()) LabelExternalEngine(run.hubCommand, start);
  start.extended = run.extended;
  searchInfo_.BeginSearch(start);
  engine_.SetExtendedAnalysis(run.extended);
  RunListener listener(searchInfo_, worker_);
  TSearchLimits limits;
  limits.maxDepth = AnalysisDepth;
  limits.hardLimit = 100000000;
  limits.softLimit = 100000000;
  limits.singleMove = true;
  if (!run.hubCommand.empty()) {
    TSearchResult result;
    std::string error;
    if (!external_.Search(run.hubCommand, start.board, start.side, run.type, 0, 0, 0, listener,
                          [this] { return worker_.RunStopRequested(); }, result, error))
      refresh_.PostMessage(error, true);
    return;
  }
  engine_.SearchRoot(start.board, start.side, run.type, limits, run.params, &listener);
}

TPlayController::TReplyOutcome TPlayController::EngineReply(const TRunSetup& run, const TEngineParams& params) {
  TReplyOutcome out;
  TGame& game = *run.game;
  TSearchStart start;
  {
    const auto lock = session_.Lock();
    start.board = game.CurBoard;
    start.side = game.SideToMove;
    start.currentMovePos = game.CurMovPos;
    start.firstMoveNumber = MoveNumberAt(game);
  }
  start.type = run.type;
  start.engineName = EngineLabel(params, run.type);
  start.engineFile = EngineFileLabel(params, run.type);
  if (!run.hubCommand.empty()) LabelExternalEngine(run.hubCommand, start);
  const int parent = start.currentMovePos;

  TMoveList list;
  uint8_t count = 0;
  BookMoveList(start.board, start.side, run.type, list, count);
  out.legalMoves = count;
  if (count == 0) return out;

  std::optional<TMove> chosen;
  if (book_.IsOpen() && params.UseBook && !run.analysisMode && PieceCount(start.board.b) > BookMinPieces) {
    TOpenMoves tree;
    BuildOpeningTree(book_, start.board, start.side, run.type, tree);
    int num;
    {
      std::lock_guard lock(randomMutex_);
      num = ChooseBookMove(tree, run.bookLevel, random_);
    }
    {
      const auto lock = session_.Lock();
      if (game.CurMovPos == parent) game.OpenMoves = tree;
    }
    refresh_.Request(rqBook);
    if (num >= 1 && num <= count) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      chosen = list[num - 1];
    }
  } else {
    refresh_.Request(rqBook);
  }

  if (!chosen) {
    const TMoveLimits limits = PlayLimits(modes_.Clock().Control(), modes_.Clock().Clock(start.side), start.side,
                                          run.type, {PieceCount(start.board.b), start.firstMoveNumber});
    searchInfo_.BeginSearch(start);
    engine_.SetExtendedAnalysis(false);
    RunListener listener(searchInfo_, worker_);
    TSearchLimits sl;
    sl.maxDepth = run.levelDepth;
    sl.hardLimit = limits.hard;
    sl.softLimit = limits.soft;
    sl.singleMove = false;
    TSearchResult result;
    if (run.hubCommand.empty()) {
      result = engine_.SearchRoot(start.board, start.side, run.type, sl, params, &listener);
    } else {
      std::string error;
      if (!external_.Search(run.hubCommand, start.board, start.side, run.type, run.levelDepth, limits.soft, limits.hard,
                            listener, [this] { return worker_.RunStopRequested(); }, result, error)) {
        refresh_.PostMessage(error, true);
        return out;
      }
    }
    if (!result.hasMove) return out;
    chosen = result.bestMove;
    out.searched = true;
    out.depth = listener.DepthBegun();
    out.score = result.score;
    if (!listener.LastMoves().empty()) out.score = listener.LastMoves().front().score;
  }

  bool moved = false;
  {
    const auto lock = session_.Lock();
    // The move belongs after the position that was searched, whatever the
    // interface did meanwhile; it becomes current only if that position
    // still is.
    const TAddResult added = AddMoveAsk(game, *chosen, parent, true, &session_.Observer());
    if (added.ok() && game.CurMovPos == parent) {
      game.CurMovPos = added.slot;
      ApplyMove(game.Moves[added.slot], game.CurBoard, run.type);
      game.SideToMove = Opponent(game.SideToMove);
      moved = true;
    } else if (added.status == TAddStatus::noFreePlace) {
      refresh_.PostMessage(Lang(LtNoFreePlace), true);
    }
  }
  if (moved) {
    PlaySound(run.sound);
    refresh_.Request(rqBoard | rqBuildTree | rqStatusBar);
  }
  refresh_.Request(rqBook);
  out.moved = moved;
  return out;
}

}  // namespace kestrel
