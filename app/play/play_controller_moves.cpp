// Moves entered into the current game, navigation, the clock's timer step,
// the book display and the result check.
#include <exception>

#include "app/play/play_controller.h"
#include "app/play/play_controller_internal.h"
#include "app/play/play_texts.h"
#include "app/play/result_detection.h"
#include "app/play/side_names.h"
#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/opening_tree.h"
#include "rules/current_game_type.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {

TAddResult TPlayController::AddMove(const TMove& move, bool fromUser) {
  TNewMoveChoice answer{TNewMoveAnswer::newVariation, -1};
  if (fromUser) {
    // The question is asked outside the game lock: a modal dialog lets the
    // timer render meanwhile.
    struct Question {
      bool ask = false;
      std::vector<std::string> texts;
    };
    const Question q = ReadGame([&](const TGame& g) {
      Question out;
      const std::vector<int32_t> children = Children(g, g.CurMovPos);
      for (int32_t c : children)
        if (SameMovePath(g.Moves[c], move)) return out;
      for (int32_t c : children) out.texts.push_back(SlotMoveText(g, c, NotationMode, TakeChar));
      out.ask = !children.empty();
      return out;
    });
    if (q.ask) answer = ui_->AskNewMove(q.texts, q.texts.size() == 1 ? 0 : -1);
    if (answer.answer == TNewMoveAnswer::cancel) return {0, TAddStatus::cancelled};
  }
  TAddResult result;
  {
    const auto lock = session_.Lock();
    TGame& game = session_.Current();
    session_.SetNewMoveAnswer(answer);
    result = AddMoveAsk(game, move, game.CurMovPos, !fromUser, &session_.Observer());
  }
  if (result.status == TAddStatus::noFreePlace)
    refresh_.PostMessage(Lang(LtNoFreePlace), true);
  else if (!result.ok() && result.status != TAddStatus::cancelled)
    refresh_.PostMessage(std::string(AddStatusText(result.status)), true);
  return result;
}

bool TPlayController::EnterMove(const TMove& move) {
  if (setupMode_ || !NavigationAllowed()) return false;
  const TAddResult added = AddMove(move, true);
  if (!added.ok()) return false;
  {
    const auto lock = session_.Lock();
    TGame& game = session_.Current();
    game.CurMovPos = added.slot;
    ApplyMove(game.Moves[added.slot], game.CurBoard, GameTypeOf(game));
    game.SideToMove = Opponent(game.SideToMove);
  }
  PlayMoveSound();
  refresh_.Request(rqBoard | rqBuildTree | rqStatusBar);
  if (AnalysisMode() && StoppedByUser()) {
    UpdateDrawNotice();
  } else {
    drawNotice_.clear();
    EngineStart();
  }
  if (AnalysisMode()) refresh_.Request(rqBook);
  return true;
}

void TPlayController::AfterPositionChange(bool navigation) {
  UpdateDrawNotice();
  refresh_.Request(rqBoard | rqBuildTree | rqBook | rqStatusBar);
  if (navigation && AnalysisMode() && !StoppedByUser()) EngineStart();
}

bool TPlayController::GoStart() { return GoToSlot(0); }

bool TPlayController::GoBack() {
  if (!NavigationAllowed() || !session_.StepBack()) return false;
  AfterPositionChange(true);
  return true;
}

bool TPlayController::GoForward() {
  if (!NavigationAllowed()) return false;
  if (!session_.StepForward()) {
    modes_.StopReplay();
    return false;
  }
  AfterPositionChange(true);
  return true;
}

bool TPlayController::GoEnd() {
  if (!NavigationAllowed() || !session_.GoLineEnd()) return false;
  AfterPositionChange(true);
  return true;
}

bool TPlayController::GoToSlot(int slot) {
  if (!NavigationAllowed() || !session_.GoToSlot(slot)) return false;
  AfterPositionChange(true);
  return true;
}

void TPlayController::ToggleReplay() {
  if (!AnalysisMode()) {
    modes_.StopReplay();
    return;
  }
  modes_.ToggleReplay();
  refresh_.Request(rqMode);
}

void TPlayController::TimerTick() {
  if (modes_.ReplayStepDue() && !GoForward()) {
    modes_.StopReplay();
    refresh_.Request(rqMode);
  }
  if (AnalysisMode() || modes_.WorkerChargesClockNow()) return;
  const auto [side, decided] =
      ReadGame([](const TGame& g) { return std::pair(g.SideToMove, g.Header.Result != ResultUnknown); });
  if (decided) {
    modes_.Clock().Stop();
    return;
  }
  if (!modes_.Clock().Tick(side)) return;
  bool newResult = false;
  {
    const auto lock = session_.Lock();
    TGame& game = session_.Current();
    if (game.Header.Result == ResultUnknown) {
      game.Header.Result = side == TDColor::black ? ResultWhiteWonOnTime : ResultBlackWonOnTime;
      newResult = true;
    }
  }
  if (newResult) {
    refresh_.Request(rqBuildTree | rqHeader);
    refresh_.PostMessage(Lang(LtLostByTime), settings_.TimeoutMessages);
  }
}

void TPlayController::RefreshBookDisplay() {
  struct Position {
    TBoard board;
    TDColor side;
    int type;
    int slot;
  };
  const Position p =
      ReadGame([](const TGame& g) { return Position{g.CurBoard, g.SideToMove, GameTypeOf(g), g.CurMovPos}; });
  TOpenMoves tree;
  BuildOpeningTree(book_, p.board, p.side, p.type, tree);
  const auto lock = session_.Lock();
  TGame& game = session_.Current();
  if (game.CurMovPos == p.slot) game.OpenMoves = std::move(tree);
}

uint8_t TPlayController::CheckResult(bool record, bool drawMessages) {
  TGame* game;
  {
    const auto lock = session_.Lock();
    game = &session_.Current();
  }
  return CheckResultOn(*game, CurrentGameType, !AnalysisMode(), record, drawMessages);
}

uint8_t TPlayController::CheckResultOn(TGame& game, int type, bool playMode, bool record, bool drawMessages) {
  try {
    auto lock = session_.Lock();
    const TRuleOutcome rule = JudgePosition(game, game.CurMovPos);
    const uint8_t stored = game.Header.Result;
    if (rule == TRuleOutcome::none) return ResultUnknown;
    if (rule == TRuleOutcome::noMoves) {
      const uint8_t result = LossFor(game.SideToMove);
      if (record && playMode && stored == ResultUnknown) {
        game.Header.Result = result;
        lock.unlock();
        modes_.Clock().Stop();
        const TDColor winner = result == ResultWhiteWon ? TDColor::white : TDColor::black;
        refresh_.PostMessage(Lang(SideName(winner, type) == "White" ? LtWhiteWin : LtBlackWin), true);
        refresh_.Request(rqBuildTree | rqHeader);
      }
      return result;
    }
    // In analysis mode the notice goes into the panel: a box at every step
    // through a drawn line would stop the user at each one.
    if (drawMessages) refresh_.PostMessage(Lang(LtDraw), playMode && stored == ResultUnknown);
    if (record && playMode && stored == ResultUnknown) {
      game.Header.Result = ResultDraw;
      lock.unlock();
      modes_.Clock().Stop();
      refresh_.Request(rqBuildTree | rqHeader);
    }
    return ResultDraw;
  } catch (const std::exception&) {
    refresh_.PostMessage(std::string(ExcCheckResult), true);
    return ResultUnknown;
  }
}

bool TPlayController::OfferDraw() {
  if (AnalysisMode()) return false;
  const auto [result, pieces] =
      ReadGame([](const TGame& g) { return std::pair<int, int>(g.Header.Result, PieceCount(g.CurBoard.b)); });
  if (result != ResultUnknown) return false;
  const TEngineSearchInfo info = searchInfo_.Snapshot();
  int coin;
  {
    std::lock_guard lock(randomMutex_);
    coin = std::uniform_int_distribution<int>(0, 1)(random_);
  }
  if (pieces > 8 || !info.hasBest || info.bestUpper >= 5 || coin != 1) return false;
  {
    const auto lock = session_.Lock();
    session_.Current().Header.Result = ResultDraw;
  }
  modes_.Clock().Stop();
  refresh_.PostMessage(Lang(LtDraw), true);
  refresh_.Request(rqBuildTree | rqHeader);
  return true;
}

int TPlayController::MoveNumberAt(const TGame& game) const {
  std::vector<int32_t> path;
  PathToSlot(game, game.CurMovPos, path);
  const int plies = game.Header.NumerationFrom + static_cast<int>(path.size());
  return plies / 2 + 1;
}

}  // namespace kestrel
