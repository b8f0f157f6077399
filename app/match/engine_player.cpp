#include "app/match/engine_player.h"

#include <algorithm>

#include "app/play/time_manager.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

int PiecesOn(const TBoard& board, int gametype) {
  int n = 0;
  for (int s = 1; s <= GameTypes[gametype].SquareCount; ++s) n += board.b[s] != Empty;
  return n;
}

// Centiseconds for the engine, at least one.
int64_t ToCs(int64_t ms) { return std::max<int64_t>(ms / 10, 1); }

}  // namespace

TEnginePlayer::TEnginePlayer(std::string name, TEngineParams params, uint64_t hashMegabytes)
    : name_(std::move(name)), params_(std::move(params)), engine_(std::make_unique<TEngine>(hashMegabytes)) {}

bool TEnginePlayer::NewGame(int gametype, std::string& error) {
  if (!IsValidGameType(gametype)) {
    error = "unknown variant";
    return false;
  }
  gametype_ = gametype;
  generation_ = SearchGeneration(params_, gametype);
  // The shallow search uses the table and the evaluation function without
  // the root driver, which would otherwise set them up for every move.
  engine_->PrepareSearch(params_.EvalFunc, 100000000);
  engine_->PrepareGeneration(gametype, params_);
  return true;
}

TThinkReply TEnginePlayer::ShallowSearch(const TBoard& board, TDColor side, int depth) {
  TThinkReply reply;
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, gametype_, count);
  removedoublemoves(count, list, board, gametype_);
  if (count == 0) return reply;
  TSearchCounters counters;
  const TExcludedTables excluded{};
  const int turn = side == TDColor::white ? 1 : 0;
  int best = -32767;
  for (int i = 0; i < count; ++i) {
    TBoard child = board;
    ApplyMove(list[i], child, gametype_);
    // The root search gives its children the iteration depth at ply 2:
    // depth 1 is a capture-only reply.
    const int v = -engine_->SearchPosition(child, -2000, 2000, excluded, turn, depth, 2, generation_, gametype_,
                                           counters);
    if (v > best) {
      best = v;
      reply.move = list[i];
    }
  }
  reply.hasMove = true;
  reply.depth = depth;
  reply.score = static_cast<int16_t>(best);
  reply.nodes = counters.nodes;
  return reply;
}

TThinkReply TEnginePlayer::Think(const TBoard& start, TDColor startSide, const std::vector<TMove>& moves,
                                 const TThinkLimits& limits) {
  TBoard board = start;
  TDColor side = startSide;
  for (const TMove& m : moves) {
    ApplyMove(m, board, gametype_);
    side = Opponent(side);
  }
  // Kestrel 4's iterations start at depth 1, so it needs no shallow search.
  if (generation_ != EngineGen2 && IsShallow(limits.maxDepth) && limits.moveTimeMs == 0 && limits.clockMs < 0)
    return ShallowSearch(board, side, limits.maxDepth);

  TSearchLimits search;
  search.singleMove = false;
  if (limits.maxDepth > 0) search.maxDepth = limits.maxDepth;
  if (limits.moveTimeMs > 0) {
    search.hardLimit = ToCs(limits.moveTimeMs);
    search.softLimit = ToCs(limits.moveTimeMs);
  } else if (limits.clockMs >= 0) {
    TClockSituation clock;
    clock.clockMs = limits.clockMs;
    clock.incrementMs = limits.incrementMs;
    clock.movesToGo = limits.movesToGo;
    clock.moveNumber = limits.moveNumber;
    clock.pieces = PiecesOn(board, gametype_);
    clock.startPieces = 2 * MenPerSide(gametype_);
    const TTimeBudget budget = PlanMoveTime(clock);
    search.hardLimit = ToCs(budget.hardMs);
    search.softLimit = ToCs(budget.softMs);
  }
  const TSearchResult r = engine_->SearchRoot(board, side, gametype_, search, params_);
  TThinkReply reply;
  reply.hasMove = r.hasMove;
  reply.move = r.bestMove;
  reply.depth = r.depth;
  reply.score = r.score;
  reply.nodes = r.stats.counters.nodes;
  return reply;
}

}  // namespace kestrel
