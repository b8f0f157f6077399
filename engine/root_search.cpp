// The root driver: iterative deepening over the rules core's root moves,
// the first move with a full window and the others against a null window.
#include <algorithm>
#include <vector>

#include "engine/bitboard.h"
#include "engine/engine.h"
#include "engine/root_moves.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

TSearchStats StatsOf(const TSearchCounters& counters, int64_t elapsedMs) {
  TSearchStats stats;
  stats.counters = counters;
  stats.elapsedMs = elapsedMs;
  stats.elapsedCs = std::max<int64_t>(1, elapsedMs / 10);
  return stats;
}

}  // namespace

TGenerationContext TEngine::GenerationContext(uint8_t generation) {
  if (!generation_ || generationNumber_ != generation) {
    generation_ = GenerationSearchFactory(generation)();
    generationNumber_ = generation;
  }
  TGenerationContext context;
  context.stop = &stop_;
  context.threads = ThreadsCount();
  context.hashMegabytes = hashMegabytes_;
  context.extendedAnalysis = extendedAnalysis_.load(std::memory_order_relaxed);
  context.prober = prober_.get();
  return context;
}

void TEngine::PrepareGeneration(int gametype, const TEngineParams& params) {
  std::lock_guard lock(searchMutex_);
  if (!IsValidGameType(gametype)) return;
  const uint8_t generation = SearchGeneration(params, gametype);
  if (generation < EngineGen2) return;
  const TGenerationContext context = GenerationContext(generation);
  generation_->Prepare(gametype, params, context);
}

TSearchResult TEngine::SearchRoot(const TBoard& board, TDColor side, int gametype, const TSearchLimits& limits,
                                  const TEngineParams& params, TSearchListener* listener) {
  std::lock_guard lock(searchMutex_);
  TSearchResult result;
  TSearchListener silent;
  TSearchListener& out = listener ? *listener : silent;
  if (!IsValidGameType(gametype)) return result;

  const uint8_t generation = SearchGeneration(params, gametype);
  if (generation >= EngineGen2) {
    stop_.store(false, std::memory_order_relaxed);
    const TGenerationContext context = GenerationContext(generation);
    return generation_->SearchRoot(board, side, gametype, limits, params, out, context);
  }
  PrepareSearch(params.EvalFunc, limits.hardLimit);
  const int64_t softLimit = limits.softLimit / 2;
  TSearchCounters counters;
  const auto elapsedMs = [this] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
  };

  TExcludedTables excluded{};
  if (gametype != gtCanadian) excluded = RootTables(*prober_, board, gametype);

  TRootList root;
  if (!ListRootMoves(board, side, gametype, out, root, result)) return result;
  const int count = root.count;
  std::vector<TRootMove>& moves = root.moves;

  const int turn = side == TDColor::white ? 1 : 0;
  const auto search = [&](const TMove& move, int alpha, int beta, int depth) {
    TBoard child = board;
    ApplyMove(move, child, gametype);
    return -SearchPosition(child, alpha, beta, excluded, turn, depth, 2, generation, gametype, counters);
  };

  const bool extended = extendedAnalysis_.load(std::memory_order_relaxed);
  int depth = 3;
  do {
    depth += 2;
    int best = UnsearchedScore;
    int shownBest = UnsearchedScore;
    for (int i = 0; i < count && !StopRequested(); ++i) {
      TRootMove& rm = moves[i];
      if (extended && out.Excluded(rm.move)) continue;
      out.Searching(depth, i + 1, count);
      if (i == 0 || extended || depth == 5) {
        const int v = search(rm.move, -2000, 2000, depth);
        if (StopRequested()) break;
        rm.score = rm.lower = rm.upper = static_cast<int16_t>(v);
        best = std::max(best, v);
        rm.pv = ReadPV(board, side, rm.move, gametype);
        if (i == 0 || (extended && v > shownBest)) {
          shownBest = v;
          out.BestLine(rm.score, rm);
        }
      } else {
        const int v = search(rm.move, -best - 1, -best, depth);
        if (StopRequested()) break;
        if (v > best) {
          result.bestMove = rm.move;
          const int full = search(rm.move, -2000, 2000, depth);
          if (StopRequested()) break;
          rm.score = rm.lower = rm.upper = static_cast<int16_t>(full);
          if (full > best) {
            best = full;
            rm.pv = ReadPV(board, side, rm.move, gametype);
            shownBest = full;
            out.BestLine(rm.score, rm);
          }
        } else {
          rm.score = UnsearchedScore;
          rm.lower = UnsearchedScore;
          rm.upper = static_cast<int16_t>(best);
        }
      }
      std::stable_sort(moves.begin(), moves.begin() + i + 1,
                       [](const TRootMove& a, const TRootMove& b) { return a.score > b.score; });
      result.bestMove = moves[0].move;
      out.RootMovesSorted(moves, StatsOf(counters, elapsedMs()));
    }
    if (StopRequested()) break;

    result.depth = depth;
    result.bestMove = moves[0].move;
    result.score = moves[0].score;
    result.pv = moves[0].pv;
    result.stats = StatsOf(counters, elapsedMs());
    out.IterationDone(depth, moves, result.stats);
  } while (depth < std::min(limits.maxDepth, MaxSearchPly + 1) && result.stats.elapsedCs < softLimit &&
           (count > 1 || limits.singleMove));

  result.stopped = StopRequested();
  result.stats = StatsOf(counters, elapsedMs());
  return result;
}

}  // namespace kestrel
