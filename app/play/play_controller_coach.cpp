// The "Coach" runs: the analysis of a whole game, which writes marks,
// comments and the engine's lines into it, and autoplay, the engine playing
// both sides.
#include <cstdio>

#include "app/play/play_controller.h"
#include "app/play/play_controller_internal.h"
#include "app/play/endgame_adjudication.h"
#include "app/play/play_texts.h"
#include "app/play/result_detection.h"
#include "engine/score_text.h"
#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"

namespace kestrel {
namespace {

std::string OneDecimal(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

// Clears a flag when the run ends, however it ends.
class FlagGuard {
 public:
  explicit FlagGuard(std::atomic<bool>& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  std::atomic<bool>& flag_;
};

constexpr int GlyphGood = 2;     // "!"
constexpr int GlyphMistake = 5;  // "?"

void SetMoveGlyph(TMove& m, int code) { m.comm = static_cast<uint16_t>((m.comm & ~0x0F) | code); }

}  // namespace

void TPlayController::StartGameAnalysis(const TGameAnalysisOptions& options) {
  if (setupMode_ || (!options.colours[0] && !options.colours[1])) return;
  if (ReadGame([](const TGame& g) { return FirstChild(g, 0) == 0; })) return;
  worker_.StopAndWait();
  TRunSetup run = MakeRunSetup();
  run.extended = true;
  StartWork(TWorkKind::gameAnalysis, [this, run, options] { GameAnalysisRun(run, options); });
}

void TPlayController::GameAnalysisRun(const TRunSetup& run, const TGameAnalysisOptions& o) {
  int count;
  int first;
  {
    const auto lock = session_.Lock();
    const TGame& game = *run.game;
    if (o.analyseVariations) {
      int used = 0;
      for (int s = 1; s < game.SlotCount(); ++s) used += game.Moves[s].free ? 0 : 1;
      count = used / 2;
    } else {
      count = MainLineLength(game);
    }
    first = FirstChild(game, 0);
  }
  if (first == 0) return;
  const int64_t total = o.totalCentiseconds > 0 ? o.totalCentiseconds : int64_t{std::clamp(o.minutes, 1, 1440)} * 6000;
  int64_t perMove = total / std::max(count, 1);
  if (o.colours[0] != o.colours[1]) perMove *= 2;
  const int64_t started = modes_.Clock().Now();
  int depthSum = 0;
  int analysed = 0;
  {
    AnalyseLine(run, o, first, perMove, depthSum, analysed);
    if (analysed > 0) {
      const double seconds = static_cast<double>(modes_.Clock().Now() - started) / 100.0;
      const auto lock = session_.Lock();
      TGame& game = *run.game;
      if (game.IsNode(first)) {
        EnsureCommentArrays(game);
        game.CommentsBef[first] = Lang(LtDepth) + "=" + OneDecimal(static_cast<double>(depthSum) / analysed) + ", " +
                                  Lang(LtTime) + "=" + OneDecimal(seconds) + " " + Lang(LtSec);
        game.Modified = true;
      }
    }
  }
  refresh_.Request(rqBuildTree | rqSaveButton);
}

void TPlayController::AnalyseLine(const TRunSetup& run, const TGameAnalysisOptions& o, int firstSlot,
                                  int64_t perMove, int& depthSum, int& analysed) {
  std::vector<int32_t> line;
  {
    const auto lock = session_.Lock();
    const TGame& game = *run.game;
    for (int s = firstSlot; s != 0 && game.IsNode(s) && static_cast<int>(line.size()) < game.SlotCount();
         s = FirstChild(game, s))
      line.push_back(s);
  }
  for (auto it = line.rbegin(); it != line.rend(); ++it) {
    AnalyseMove(run, o, *it, perMove, depthSum, analysed);
    if (worker_.RunStopRequested()) return;
  }
}

void TPlayController::AnalyseMove(const TRunSetup& run, const TGameAnalysisOptions& o, int slot, int64_t perMove,
                                  int& depthSum, int& analysed) {
  TGame& game = *run.game;
  int parent;
  std::vector<int32_t> others;
  {
    const auto lock = session_.Lock();
    if (!game.IsNode(slot) || slot == 0) return;
    parent = game.Moves[slot].parent;
    if (!GoToMove(game, parent, &session_.Observer())) return;
    if (o.analyseVariations)
      for (int32_t c : Children(game, parent))
        if (c != slot) others.push_back(c);
  }
  for (int32_t other : others) {
    AnalyseLine(run, o, other, perMove, depthSum, analysed);
    if (worker_.RunStopRequested()) return;
  }

  TSearchStart start;
  TMove played;
  {
    const auto lock = session_.Lock();
    if (!game.IsNode(slot) || !GoToMove(game, parent, &session_.Observer())) return;
    played = game.Moves[slot];
    start.board = game.CurBoard;
    start.side = game.SideToMove;
    start.currentMovePos = parent;
    start.firstMoveNumber = MoveNumberAt(game);
  }
  if (!o.colours[ColorIndex(start.side)]) return;
  start.type = run.type;
  start.engineName = EngineLabel(run.params, run.type);
  start.engineFile = EngineFileLabel(run.params, run.type);
  start.extended = true;
  searchInfo_.BeginSearch(start);
  engine_.SetExtendedAnalysis(true);
  RunListener listener(searchInfo_, worker_);
  TSearchLimits limits;
  limits.maxDepth = 50;
  limits.hardLimit = 3 * perMove;
  limits.softLimit = perMove;
  limits.singleMove = false;
  engine_.SearchRoot(start.board, start.side, run.type, limits, run.params, &listener);
  if (worker_.RunStopRequested()) return;

  const int depth = listener.DepthBegun();
  const std::vector<TRootMove>& moves = listener.LastMoves();
  if (depth > 7 && !moves.empty()) {
    int rank = -1;
    for (std::size_t i = 0; i < moves.size(); ++i)
      if (moves[i].move.lt == played.lt && SameMovePath(moves[i].move, played)) rank = static_cast<int>(i);
    const int best = moves[0].score;
    const auto lock = session_.Lock();
    EnsureCommentArrays(game);
    if (rank == 0 && moves.size() > 1 && moves[1].score < best - 50 && best >= 0) {
      SetMoveGlyph(game.Moves[slot], GlyphGood);
      game.Modified = true;
    } else if (rank > 0) {
      const TRootMove& mine = moves[rank];
      if (mine.upper + 20 < best) {
        if (mine.upper + 50 < best) SetMoveGlyph(game.Moves[slot], GlyphMistake);
        game.CommentsAft[slot] += ScorePairText(mine.lower, mine.upper) + "/" + std::to_string(depth) + " ";
        const TAddResult alt = AddMoveAsk(game, moves[0].move, parent, true, &session_.Observer());
        if (alt.ok()) {
          EnsureCommentArrays(game);
          game.CommentsAft[alt.slot] = ScoreText(best);
          if (o.insertVariations) {
            int at = alt.slot;
            const TPV& pv = moves[0].pv;
            for (int k = 1; k < pv.Length; ++k) {
              const TAddResult next = AddMoveAsk(game, pv.Mvs[k], at, true, &session_.Observer());
              if (!next.ok()) break;
              at = next.slot;
            }
          }
        }
        game.Modified = true;
      }
    }
  }
  depthSum += depth;
  ++analysed;
  refresh_.Request(rqBuildTree | rqSaveButton);
}

void TPlayController::StartAutoplay() {
  if (setupMode_) return;
  worker_.StopAndWait();
  SetPlayMode();
  const TRunSetup run = MakeRunSetup();
  StartWork(TWorkKind::autoplay, [this, run] { EngineGameRun(run); });
}

void TPlayController::EngineGameRun(const TRunSetup& run) {
  TGame& game = *run.game;
  const std::array<TEngineParams, 2> sides{run.params, run.params};
  FlagGuard charging(modes_.WorkerChargesClock());
  modes_.Clock().Start();
  uint8_t result = ResultUnknown;
  for (;;) {
    result = CheckResultOn(game, run.type, true, false, false);
    if (result != ResultUnknown) break;
    TDColor mover;
    TBoard board;
    {
      const auto lock = session_.Lock();
      mover = game.SideToMove;
      board = game.CurBoard;
    }
    // A known endgame decides the game without playing it out.
    if (const auto decided = EndgameResult(*endgame_, board, mover, run.type)) {
      result = *decided;
      const auto lock = session_.Lock();
      game.Header.Result = result;
      break;
    }
    searchInfo_.ClearDepth();
    const int64_t t0 = modes_.Clock().Now();
    const TReplyOutcome reply = EngineReply(run, sides[ColorIndex(mover)]);
    if (worker_.RunStopRequested()) {
      modes_.Clock().Stop();
      return;
    }
    if (!reply.moved) break;
    const int64_t elapsed = modes_.Clock().Now() - t0;
    if (modes_.Clock().Charge(mover, elapsed)) {
      result = mover == TDColor::white ? ResultBlackWonOnTime : ResultWhiteWonOnTime;
      const auto lock = session_.Lock();
      game.Header.Result = result;
      break;
    }
    if (reply.legalMoves > 1 && reply.depth > 0) {
      const auto lock = session_.Lock();
      EnsureCommentArrays(game);
      game.CommentsAft[game.CurMovPos] =
          ScoreText(reply.score) + "/" + std::to_string(reply.depth) + " - " + ElapsedText(elapsed);
    }
    refresh_.Request(rqBuildTree);
  }
  modes_.Clock().Stop();
  const std::array<int, 2> clocks = modes_.Clock().Clocks();
  {
    const auto lock = session_.Lock();
    EnsureCommentArrays(game);
    const int last = game.CurMovPos;
    if (last != 0) {
      if (result == ResultWhiteWon) game.CommentsAft[last] = "won";
      if (result == ResultDraw) game.CommentsAft[last] = "draw";
      if (result == ResultBlackWon) game.CommentsAft[last] = "lost";
    }
    const int first = FirstChild(game, 0);
    if (first != 0) game.CommentsBef[first] = ClockText2(clocks[0]) + "-" + ClockText2(clocks[1]);
    game.Modified = true;
  }
  refresh_.Request(rqBuildTree | rqHeader | rqSaveButton);
}

}  // namespace kestrel
