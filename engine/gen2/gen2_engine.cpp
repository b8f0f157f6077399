#include "engine/gen2/gen2_engine.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/bitboard_movegen.h"
#include "engine/principal_variation.h"
#include "engine/root_moves.h"
#include "engine/transposition_table.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel::gen2 {
namespace {

using Clock = std::chrono::steady_clock;

// Half-width of the first aspiration window, in hundredths of a man.
constexpr int AspirationWindow = 25;
// A search limit this large means none (fixed depth).
constexpr int64_t NoTimeLimit = 100000000 / 2;

struct TRoot {
  TMove move;
  TBitBoard64 child;  // after the move, the opponent to move in `w`
  bool reversible = false;  // a king's move that takes nothing
  int score = UnsearchedScore;
  std::vector<TBitBoard64> line;
};

struct TClockCheck {
  Clock::time_point start;
  int64_t hardMs;
};

bool HardLimitPassed(void* arg) {
  const auto* c = static_cast<TClockCheck*>(arg);
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - c->start).count() > c->hardMs;
}

// One pass over the root moves at `depth` with window (alpha, beta); the
// moves keep their scores from the pass. Returns the best score (fail-soft).
// `proven` receives each move that beat the first one.
template <class OnMove>
int RootPass(TThreadSearch& search, std::vector<TRoot>& roots, int depth, int alpha, int beta, bool fullWindow,
             const std::atomic<bool>& stop, OnMove&& onMove) {
  int best = -Infinity - 1;
  bool first = true;
  for (size_t k = 0; k < roots.size(); ++k) {
    TRoot& r = roots[k];
    if (!onMove.Searching(k)) continue;
    search.SetRootMoveReversible(r.reversible);
    int v;
    if (first || fullWindow) {
      v = -search.Search(r.child, fullWindow ? -Infinity : -beta, fullWindow ? Infinity : -alpha, depth - 1, 2, true);
    } else {
      v = -search.Search(r.child, -alpha - 1, -alpha, depth - 1, 2, false);
      if (v > alpha && v < beta && !stop.load(std::memory_order_relaxed))
        v = -search.Search(r.child, -beta, -alpha, depth - 1, 2, true);
    }
    if (stop.load(std::memory_order_relaxed)) return best;
    // Full windows leave alpha alone: there a move beats the best so far.
    const bool beat = !first && v > (fullWindow ? best : alpha);
    // Below alpha the value is only a bound: it sorts behind exact scores.
    r.score = v > alpha || first || fullWindow ? v : UnsearchedScore;
    if (v > alpha || first || fullWindow) r.line = search.Line(2);
    first = false;
    if (v > best) best = v;
    if (v > alpha && !fullWindow) alpha = v;
    onMove.Searched(k, v, beat);
    if (!fullWindow && v >= beta) return best;
  }
  return best;
}

void SortRoots(std::vector<TRoot>& roots) {
  std::stable_sort(roots.begin(), roots.end(), [](const TRoot& a, const TRoot& b) { return a.score > b.score; });
}

std::unique_ptr<TGenerationSearch> MakeKestrel4() { return std::make_unique<TKestrel4>(); }

}  // namespace

void RegisterKestrel4() { RegisterGenerationSearch(EngineGen2, &MakeKestrel4); }

TPV LineToPV(const TBoard& root, TDColor side, const TMove& first, const std::vector<TBitBoard64>& line,
             int gametype) {
  return FollowLine(root, side, first, gametype, [&](const TBitBoard64&, int played) -> std::optional<TBitBoard64> {
    if (played > static_cast<int>(line.size())) return std::nullopt;
    return line[played - 1];
  });
}

TKestrel4::TKestrel4() : table_(1) {}

std::shared_ptr<const TPatternWeights> TKestrel4::WeightsFor(const TEngineParams& params, int gametype) {
  if (params.PatternWeights.empty()) return nullptr;
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(params.PatternWeights, ec);
  if (ec) return nullptr;
  if (weights_ && weightsPath_ == params.PatternWeights && weightsTime_ == time && weights_->gametype == gametype)
    return weights_;
  // Every game of a match makes a new engine: the file is read once per
  // process, not on the clock of each game's first move.
  struct TCached {
    std::filesystem::path path;
    std::filesystem::file_time_type time;
    std::shared_ptr<const TPatternWeights> weights;
  };
  static std::mutex cacheMutex;
  static std::vector<TCached> cache;
  std::shared_ptr<const TPatternWeights> found;
  {
    std::lock_guard lock(cacheMutex);
    for (const TCached& c : cache)
      if (c.path == params.PatternWeights && c.time == time && c.weights->gametype == gametype) found = c.weights;
  }
  if (!found) {
    auto w = std::make_shared<TPatternWeights>();
    std::string error;
    if (!ReadWeights(params.PatternWeights, *w, error) || w->gametype != gametype) return nullptr;
    found = std::move(w);
    std::lock_guard lock(cacheMutex);
    // A changed file replaces its entry; a process that reads many files
    // (tuning rounds) starts the list again.
    std::erase_if(cache, [&](const TCached& c) { return c.path == params.PatternWeights; });
    if (cache.size() >= 16) cache.clear();
    cache.push_back({params.PatternWeights, time, found});
  }
  weights_ = std::move(found);
  weightsPath_ = params.PatternWeights;
  weightsTime_ = time;
  return weights_;
}

void TKestrel4::Prepare(int gametype, const TEngineParams& params, const TGenerationContext& context) {
  if (table_.Megabytes() != context.hashMegabytes) table_.Allocate(context.hashMegabytes);
  WeightsFor(params, gametype);
}

TSearchResult TKestrel4::SearchRoot(const TBoard& board, TDColor side, int gametype, const TSearchLimits& limits,
                                    const TEngineParams& params, TSearchListener& out,
                                    const TGenerationContext& context) {
  const Clock::time_point start = Clock::now();
  const auto elapsedMs = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  };
  TSearchResult result;
  std::atomic<bool>& stop = *context.stop;

  // A new table is empty already.
  const bool fresh = table_.Megabytes() != context.hashMegabytes && table_.Allocate(context.hashMegabytes);
  const bool timed = limits.hardLimit < NoTimeLimit || limits.softLimit < NoTimeLimit;
  // A fixed-depth search starts from an empty table, so that it gives the
  // same answer every time; a timed one keeps what earlier moves learnt.
  if (timed) table_.NextSearch();
  else if (!fresh) table_.Clear();

  TRootList root;
  if (!ListRootMoves(board, side, gametype, out, root, result)) return result;
  const int count = root.count;
  const TMoveList& list = root.list;
  std::vector<TRootMove>& moves = root.moves;
  std::vector<TRoot> roots(count);
  const TBitBoard64 rootPosition = EnginePosition(board, side, gametype);
  for (int i = 0; i < count; ++i) {
    roots[i].move = list[i];
    TBoard after = board;
    ApplyMove(list[i], after, gametype);
    roots[i].child = EnginePosition(after, Opponent(side), gametype);
    const TBitBoard64 moved = EnginePosition(after, side, gametype);
    roots[i].reversible = moved.b == rootPosition.b && (rootPosition.w & rootPosition.k & ~moved.w) != 0;
  }
  result.pv.HasRoot = true;
  result.pv.Root = board;

  TSharedSearch shared;
  shared.gametype = gametype;
  shared.table = &table_;
  const TEvaluator eval(params.EvalFunc, WeightsFor(params, gametype), gametype);
  shared.eval = &eval;
  shared.shape = shape_;
  if (!params.SearchSettings.empty()) {
    // Whoever set the text has checked it; a bad one changes nothing.
    std::string ignored;
    ParseSearchShape(params.SearchSettings, shared.shape, ignored);
  }
  shared.stop = &stop;
  if (context.prober && gametype != gtCanadian) {
    shared.prober = context.prober;
    shared.probePieces = context.prober->Pieces(gametype);
    shared.excluded = RootTables(*context.prober, board, gametype);
  }

  // Helper threads search the same tree with their own move ordering and
  // feed the shared table; only the main thread's results count.
  std::atomic<bool> helpersStop{false};
  TSharedSearch helperShared = shared;
  helperShared.stop = &helpersStop;
  const int threads = std::clamp(context.threads, 1, MaxSearchThreads);
  std::vector<std::unique_ptr<TThreadSearch>> helpers;
  std::vector<std::thread> helperThreads;
  const int maxDepth = std::clamp(limits.maxDepth, 1, MaxPly - 20);
  for (int t = 1; t < threads; ++t) {
    helpers.push_back(std::make_unique<TThreadSearch>(helperShared));
    helpers.back()->SetRoot(rootPosition);
  }
  struct TJoin {
    std::atomic<bool>& stop;
    std::vector<std::thread>& threads;
    ~TJoin() {
      stop.store(true);
      for (std::thread& t : threads) t.join();
    }
  } join{helpersStop, helperThreads};
  for (int t = 1; t < threads; ++t) {
    helperThreads.emplace_back([&, t, helper = helpers[t - 1].get(), mine = roots] () mutable {
      struct TQuiet {
        bool Searching(size_t) { return true; }
        void Searched(size_t, int, bool) {}
      } quiet;
      for (int d = 1 + (t & 1); d <= maxDepth && !helpersStop.load(std::memory_order_relaxed); ++d) {
        RootPass(*helper, mine, d, -Infinity, Infinity, false, helpersStop, quiet);
        SortRoots(mine);
      }
    });
  }

  TThreadSearch search(shared);
  search.SetRoot(rootPosition);
  // Counted on the main thread alone, so that one thread stops at the same
  // node every run.
  search.SetNodeLimit(limits.maxNodes);
  TClockCheck clock{start, limits.hardLimit * 10};
  if (timed) search.SetTimeCheck(&HardLimitPassed, &clock);
  const auto stats = [&] {
    TSearchStats s;
    s.counters.nodes = search.Nodes();
    s.counters.edbAnswers = search.EdbAnswers();
    for (const auto& h : helpers) s.counters.nodes += h->Nodes();
    s.counters.threadsStarted = helpers.size();
    s.elapsedMs = elapsedMs();
    s.elapsedCs = std::max<int64_t>(1, s.elapsedMs / 10);
    return s;
  };
  const auto publish = [&](std::vector<TRootMove>& shown) {
    for (size_t i = 0; i < roots.size(); ++i) {
      TRootMove& rm = shown[i];
      rm.move = roots[i].move;
      rm.text = PlainMoveText(rm.move, list, count, gametype);
      rm.score = static_cast<int16_t>(roots[i].score);
      rm.lower = roots[i].score;
      rm.upper = roots[i].score == UnsearchedScore ? static_cast<int16_t>(32000) : roots[i].score;
      rm.pv = LineToPV(board, side, rm.move, roots[i].line, gametype);
    }
  };

  const bool extended = context.extendedAnalysis;
  int previous = 0;
  for (int depth = 1; depth <= maxDepth; ++depth) {
    int delta = AspirationWindow;
    int alpha = -Infinity, beta = Infinity;
    if (!extended && depth >= 4 && std::abs(previous) < WonScore) {
      alpha = std::max(previous - delta, -Infinity);
      beta = std::min(previous + delta, Infinity);
    }
    int score = 0;
    for (;;) {
      struct TMain {
        TSearchListener& out;
        std::vector<TRoot>& roots;
        int depth;
        int count;
        bool extended;
        TSearchResult& result;
        const TBoard& board;
        TDColor side;
        int gametype;
        bool Searching(size_t k) {
          if (extended && out.Excluded(roots[k].move)) return false;
          out.Searching(depth, static_cast<int>(k) + 1, count);
          return true;
        }
        void Searched(size_t k, int v, bool beat) {
          // A move that beat the first one has proved better than the last
          // iteration's choice: it is the move to play should time run out.
          if (beat) {
            result.bestMove = roots[k].move;
            result.pv = LineToPV(board, side, roots[k].move, roots[k].line, gametype);
            result.score = static_cast<int16_t>(v);
          }
          if (k == 0 || beat) {
            TRootMove rm;
            rm.move = roots[k].move;
            rm.score = rm.lower = rm.upper = static_cast<int16_t>(v);
            rm.pv = LineToPV(board, side, rm.move, roots[k].line, gametype);
            out.BestLine(rm.score, rm);
          }
        }
      } onMove{out, roots, depth, count, extended, result, board, side, gametype};
      score = RootPass(search, roots, depth, alpha, beta, extended, stop, onMove);
      if (stop.load(std::memory_order_relaxed)) break;
      SortRoots(roots);
      std::vector<TRootMove> shown(count);
      publish(shown);
      out.RootMovesSorted(shown, stats());
      if (score <= alpha && alpha > -Infinity) {
        beta = (alpha + beta) / 2;
        alpha = std::max(score - delta, -Infinity);
      } else if (score >= beta && beta < Infinity) {
        beta = std::min(score + delta, Infinity);
      } else {
        break;
      }
      delta *= 3;
    }
    if (stop.load(std::memory_order_relaxed)) break;

    previous = score;
    publish(moves);
    result.depth = depth;
    result.bestMove = moves[0].move;
    result.score = moves[0].score;
    result.pv = moves[0].pv;
    result.stats = stats();
    out.IterationDone(depth, moves, result.stats);
    // No iteration starts after half of the soft limit.
    if (timed && 2 * result.stats.elapsedMs >= 10 * limits.softLimit) break;
    if (count == 1 && !limits.singleMove) break;
    // A forced win or loss found does not get faster to find.
    if (std::abs(score) > 1740 && depth >= 2 * (2001 - std::abs(score)) + 2 && !extended) break;
  }

  result.stopped = stop.load(std::memory_order_relaxed);
  result.stats = stats();
  return result;
}

}  // namespace kestrel::gen2
