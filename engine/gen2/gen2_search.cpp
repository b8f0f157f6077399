#include "engine/gen2/gen2_search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "engine/bitboard_generate.h"
#include "engine/search_types.h"
#include "engine/transposition_table.h"
#include "rules/game_types.h"

namespace kestrel::gen2 {
namespace {

// Quiet moves searched at depth 1, 2, 3 before the rest is pruned; four
// more for every further ply.
constexpr std::array<int, 4> LateMoveCount{0, 5, 8, 12};
int LateMoves(int depth, int scale) {
  const int n = depth <= 3 ? LateMoveCount[depth] : LateMoveCount[3] + 4 * (depth - 3);
  return scale == 100 ? n : std::max(1, n * scale / 100);
}
// Endgame tables are asked from this many pieces down.
constexpr int ProbePieces = 10;
constexpr int HistoryLimit = 1 << 20;
// History 1: scores stay within +-HistoryBound; a reduction changes by a
// ply per HistoryPerPly.
constexpr int HistoryBound = 16384;
constexpr int HistoryPerPly = 6000;
// The history score of the quiet move from `pos` to `child`, by its from
// and to squares.
template <class Table>
auto& HistoryOf(Table& history, const TBitBoard64& pos, const TBitBoard64& child) {
  return history[std::countr_zero(pos.w & ~child.w) & 63][std::countr_zero(child.w & ~pos.w) & 63];
}
// What a cutoff at `depth` moves a history 1 score by.
int HistoryStep(int depth) { return std::min(16 * depth * depth, 4096); }
// The table move is singular when every other move, searched to half the
// depth, stays this much per ply below its table score.
constexpr int SingularMargin = 3;

int ToNodeScore(int v, int ply) {
  if (v > 0) return v - ply + 1;
  if (v < 0) return v + ply - 1;
  return 0;
}

// The from and to squares of the mover in a quiet move.
uint64_t MoveBits(const TBitBoard64& pos, const TBitBoard64& child) { return pos.w ^ child.w; }

// Whether `w` has a move that takes nothing: a man one step forward, a king
// one step along any diagonal, onto an empty square of the board.
bool HasQuietMove(const TBitBoard64& pos, uint64_t mask) {
  const uint64_t empty = mask & ~(pos.w | pos.b);
  const uint64_t kings = pos.w & pos.k;
  return (((pos.w << 5) | (pos.w << 6) | (kings >> 5) | (kings >> 6)) & empty) != 0;
}

using bitgen::Captures;
using bitgen::TBitVariant;

// The rules for a game type the generator does not cover: no moves, no
// captures (what GenerateMoves and the capture masks answer for it).
constexpr TBitVariant VNoMoves{0, 0, 0, 2, bitgen::OrderForward, false, true, false, false, false, false, false, false};

// The search compiled for each set of rules, so that move generation and
// capture tests are inlined into it instead of dispatched at every call.
template <class F>
int WithSearchVariant(int gametype, F&& f) {
  if (!HasBitBoardGenerator(gametype)) return f.template operator()<VNoMoves>();
  return bitgen::WithVariant(gametype, 0, std::forward<F>(f));
}

// Whether `b`, were it to move, would have to capture (OpponentCaptureMask != 0).
template <TBitVariant V>
bool OpponentCanCapture(const TBitBoard64& pos, int flipShift) {
  TBitBoard64 turned = pos;
  FlipBitBoardBy(turned, flipShift);
  return Captures<V>(turned) != 0;
}

}  // namespace

TThreadSearch::TThreadSearch(const TSharedSearch& shared) : shared_(shared) {
  flipShift_ = IsValidGameType(shared.gametype) ? GameTypes[shared.gametype].FlipShift : 0;
  boardMask_ = BitBoardMask(shared.gametype);
  for (auto& line : lines_) line.reserve(32);
  const TSearchShape& shape = shared.shape;
  for (int d = 1; d < 64; ++d)
    for (int m = 1; m < 64; ++m) {
      const double r = shape.lmrBase / 100.0 + std::log(d) * std::log(m) / (shape.lmrDivisor / 100.0);
      reduction_[d][m] = static_cast<int8_t>(std::clamp(static_cast<int>(r), 0, 60));
    }
}

void TThreadSearch::Reset() {
  for (auto& k : killers_) k = {0, 0};
  for (auto& row : history_) row.fill(0);
  nodes_.store(0, std::memory_order_relaxed);
  edbAnswers_ = 0;
}

void TThreadSearch::SetRoot(const TBitBoard64& root) {
  pathKeys_[1] = PositionKey(root);
  reversible_[1] = false;
}

void TThreadSearch::CountNode() {
  const uint64_t n = nodes_.load(std::memory_order_relaxed) + 1;
  nodes_.store(n, std::memory_order_relaxed);
  if ((nodeLimit_ != 0 && n >= nodeLimit_) || ((n & 1023) == 0 && timeCheck_ && timeCheck_(timeArg_)))
    shared_.stop->store(true, std::memory_order_relaxed);
}

bool TThreadSearch::Repeats(uint64_t key, int ply) const {
  // Only king moves that take nothing can lead back to a position: the walk
  // back stops at the last other move. Same side to move: every second ply.
  for (int p = ply - 2; p >= 1 && reversible_[p + 1] && reversible_[p + 2]; p -= 2)
    if (pathKeys_[p] == key) return true;
  return false;
}

void TThreadSearch::SetLine(int ply, const TBitBoard64& child) {
  std::vector<TBitBoard64>& line = lines_[ply];
  line.clear();
  line.push_back(child);
  const std::vector<TBitBoard64>& rest = lines_[ply + 1];
  line.insert(line.end(), rest.begin(), rest.end());
}

template <TBitVariant V>
int TThreadSearch::QuiesceT(const TBitBoard64& pos, int alpha, int beta, int ply, int threats) {
  // A stopped search counts no more nodes: a node limit is met exactly.
  if (Stopped()) return 0;
  CountNode();
  lines_[ply].clear();
  if (Stopped()) return 0;
  // Most leaves have no capture: they need no move list.
  if (Captures<V>(pos) == 0) {
    if (!HasQuietMove(pos, boardMask_)) return ply + NoMovesScore;
    // A quiet position under a threat of capture is not what the static
    // score judges: the reply to the threat is searched first.
    if (threats >= shared_.shape.quietThreats || !OpponentCanCapture<V>(pos, flipShift_))
      return (*shared_.eval)(pos, ply);
    ++threats;
  }
  if (ply >= MaxPly) return (*shared_.eval)(pos, ply);
  TBitMoveList list;
  uint8_t count = 0;
  bitgen::Generate<V>(pos, list, count);
  int best = -Infinity - 1;
  for (int i = 0; i < count; ++i) {
    TBitBoard64 child = list[i];
    FlipBitBoardBy(child, flipShift_);
    const int v = -QuiesceT<V>(child, -beta, -std::max(alpha, best), ply + 1, threats);
    if (Stopped()) return 0;
    if (v > best) {
      best = v;
      SetLine(ply, child);
      if (best >= beta) break;
    }
  }
  return best;
}

void TThreadSearch::OrderMoves(const TBitBoard64& pos, const TBitMoveList& list, int count, int ttMove, int ply,
                               bool capture, TMovePicker& picker) const {
  for (int i = 0; i < count; ++i) {
    const TBitBoard64& child = list[i];
    int32_t k;
    if (i + 1 == ttMove) {
      k = 1 << 30;
    } else if (capture) {
      k = (1 << 24) + 64 * PopCount64(pos.b & ~child.b) + PopCount64(pos.b & pos.k & ~child.b);
    } else {
      const uint64_t bits = MoveBits(pos, child);
      if (bits == killers_[ply][0]) {
        k = 1 << 23;
      } else if (bits == killers_[ply][1]) {
        k = 1 << 22;
      } else {
        k = HistoryOf(history_, pos, child);
        if ((child.k & ~pos.k) != 0) k += 1 << 21;  // crowning
      }
    }
    picker.Add(i, k);
  }
}

void TThreadSearch::RewardQuiet(const TBitBoard64& pos, const TBitBoard64& child, int depth, int ply) {
  const uint64_t bits = MoveBits(pos, child);
  if (killers_[ply][0] != bits) {
    killers_[ply][1] = killers_[ply][0];
    killers_[ply][0] = bits;
  }
  int32_t& h = HistoryOf(history_, pos, child);
  if (shared_.shape.history == 1) {
    const int bonus = HistoryStep(depth);
    h += bonus - h * bonus / HistoryBound;
    return;
  }
  h += depth * depth;
  if (h > HistoryLimit)
    for (auto& row : history_)
      for (int32_t& v : row) v /= 2;
}

void TThreadSearch::PunishQuiet(const TBitBoard64& pos, const TBitBoard64& child, int depth) {
  int32_t& h = HistoryOf(history_, pos, child);
  const int malus = HistoryStep(depth);
  h -= malus + h * malus / HistoryBound;
}

template <TBitVariant V>
int TThreadSearch::NodeT(const TBitBoard64& pos, uint64_t key, int alpha, int beta, int depth, int ply, bool pvNode,
                         int skip) {
  // A leaf reached by a move that cannot repeat a position needs no key:
  // the capture search below it neither looks up the table nor repetitions.
  if (depth <= 0 && !reversible_[ply]) return QuiesceT<V>(pos, alpha, beta, ply);
  // 0: the parent did not compute the key (a true key of 0 is computed again, harmlessly).
  if (key == 0) key = PositionKey(pos);
  if (ply < MaxPly) pathKeys_[ply] = key;
  if (reversible_[ply] && Repeats(key, ply)) {
    lines_[ply].clear();
    return RepetitionScore;
  }
  if (depth <= 0) return QuiesceT<V>(pos, alpha, beta, ply);
  shared_.table->Prefetch(key);
  if (Stopped()) return 0;
  CountNode();
  lines_[ply].clear();
  if (Stopped()) return 0;
  if (ply >= MaxPly) return (*shared_.eval)(pos, ply);
  const int gametype = shared_.gametype;
  TBitMoveList list;
  uint8_t count = 0;
  bitgen::Generate<V>(pos, list, count);
  if (count == 0) return ply + NoMovesScore;
  const bool capture = list[0].b != pos.b;

  if (shared_.prober && !capture && pos.b != 0 && PopCount64(pos.w | pos.b) <= std::min(ProbePieces, shared_.probePieces)) {
    int16_t v = 0;
    if (shared_.prober->ProbeEDB(pos, gametype, ply, v, shared_.excluded)) {
      ++edbAnswers_;
      return ToNodeScore(v, ply);
    }
  }

  const TSearchShape& shape = shared_.shape;
  int ttMove = 0;
  TTableHit hit;
  const bool found = shared_.table->Probe(key, hit);
  if (found) {
    if (hit.move >= 1 && hit.move <= count) ttMove = hit.move;
    const bool deepEnough = shape.exactTable ? hit.depth == depth : hit.depth >= depth;
    // The table holds the node's value with every move; leaving one out it does not.
    if (deepEnough && (!pvNode || shape.exactTable) && skip == 0) {
      const int s = ScoreFromTable(hit.score, ply);
      if (hit.bound == BoundExact || (hit.bound == BoundLower && s >= beta) || (hit.bound == BoundUpper && s <= alpha))
        return s;
    }
  }

  // A forced move costs no depth: the line it leads into is what matters.
  // Nor does a move far better than every other (singular): the line is
  // as good as forced.
  const int extension = shape.extensions && count == 1 ? 1 : 0;
  int singularMove = 0;
  if (shape.extensions && shape.singular && count > 1 && skip == 0 && ttMove != 0 && depth >= shape.singularDepth &&
      found &&
      hit.bound != BoundUpper && hit.depth >= depth - 3) {
    const int ttScore = ScoreFromTable(hit.score, ply);
    if (std::abs(ttScore) < WonScore) {
      const int singularBeta = ttScore - SingularMargin * depth;
      const int v = NodeT<V>(pos, key, singularBeta - 1, singularBeta, (depth - 1) / 2, ply, false, ttMove);
      if (Stopped()) return 0;
      if (v < singularBeta) singularMove = ttMove;
      lines_[ply].clear();
    }
  }

  // Futility: far above beta near the horizon, with nothing of ours
  // hanging, the position fails high without a search.
  if (shape.pruning && !pvNode && !capture && depth <= shape.futilityDepth && std::abs(beta) < WonScore &&
      !OpponentCanCapture<V>(pos, flipShift_)) {
    const int stand = (*shared_.eval)(pos, ply);
    if (stand - shape.futilityMargin * depth >= beta) return stand;
  }
  // Razoring: far below alpha just above the horizon, without a capture
  // to resolve, the static score stands.
  if (shape.pruning && shape.razorMargin > 0 && !pvNode && !capture && depth <= 2 && skip == 0 &&
      std::abs(alpha) < WonScore) {
    const int stand = (*shared_.eval)(pos, ply);
    if (stand + shape.razorMargin * depth <= alpha) return stand;
  }
  // ProbCut: when a search some plies shallower clears beta by a margin, the
  // full search would almost surely clear beta too; its result stands. A
  // table entry already deep enough that says otherwise saves the try.
  if (shape.pruning && shape.probCutMargin > 0 && !pvNode && skip == 0 && depth >= shape.probCutDepth &&
      std::abs(beta) < WonScore) {
    const int pcBeta = beta + shape.probCutMargin;
    const int pcDepth = depth - shape.probCutReduction;
    if (!(found && hit.depth >= pcDepth && ScoreFromTable(hit.score, ply) < pcBeta)) {
      const int v = NodeT<V>(pos, key, pcBeta - 1, pcBeta, pcDepth, ply, false);
      if (Stopped()) return 0;
      if (v >= pcBeta) return v;
      lines_[ply].clear();
    }
  }
  // A node the table knows nothing useful of is searched a ply shallower:
  // a move to search first is found sooner that way.
  if (shape.reductions && shape.iirDepth > 0 && ttMove == 0 && skip == 0 && depth >= shape.iirDepth) --depth;

  // The keys are taken now, before the first move's search changes the
  // history; the moves are sorted only when a second one is asked for.
  TMovePicker picker;
  OrderMoves(pos, list, count, ttMove, ply, capture, picker);
  if (ttMove != 0) picker.SetFirst(ttMove - 1);
  const auto moveAt = [&](int k) { return picker.At(k); };

  const int originalAlpha = alpha;
  int best = -Infinity - 1;
  int bestMove = 0;
  // The quiet moves searched so far (history 1 punishes them on a cutoff).
  std::array<uint8_t, MaxMoves> quietTried;
  int quietCount = 0;
  // From depth 2 on every child looks the table up. Once the first move
  // has not cut the node off, the bucket of the next move's child is asked
  // for while this move is searched: when the search gets there, a table far
  // larger than the cache need not stall it.
  const bool prefetchChildren = depth >= 2;
  TBitBoard64 nextChild{};
  uint64_t nextKey = 0;
  int nextK = -1;
  for (int k = 0; k < count; ++k) {
    const int i = moveAt(k);
    if (i + 1 == skip) continue;
    TBitBoard64 child;
    uint64_t childKey = 0;
    if (k == nextK) {
      child = nextChild;
      childKey = nextKey;
    } else {
      child = list[i];
      FlipBitBoardBy(child, flipShift_);
    }
    if (prefetchChildren) {
      if (childKey == 0) {
        childKey = PositionKey(child);
        shared_.table->Prefetch(childKey);
      }
      int n = k + 1;
      if (n < count && k > 0 && moveAt(n) + 1 == skip) ++n;
      if (n < count && k > 0) {
        nextChild = list[moveAt(n)];
        FlipBitBoardBy(nextChild, flipShift_);
        nextKey = PositionKey(nextChild);
        shared_.table->Prefetch(nextKey);
        nextK = n;
      }
    }
    const bool forcing = capture || Captures<V>(child) != 0 || (list[i].k & ~pos.k) != 0;
    const uint64_t bits = MoveBits(pos, list[i]);
    const bool killer = bits == killers_[ply][0] || bits == killers_[ply][1];
    const int newDepth = depth - 1 + (i + 1 == singularMove ? 1 : extension);
    reversible_[ply + 1] = !capture && (pos.w & pos.k & ~list[i].w) != 0;

    if (shape.pruning && !pvNode && !forcing && depth <= shape.lmpDepth &&
        k >= LateMoves(depth, shape.lmpScale) && best > -WonScore)
      continue;

    int v;
    if (k == 0) {
      v = -NodeT<V>(child, childKey, -beta, -alpha, newDepth, ply + 1, pvNode);
    } else {
      int r = 0;
      if (shape.lmr == 0) {
        if (shape.reductions && !forcing && !killer && depth >= 3 && k >= (pvNode ? 3 : 2))
          r = 1 + (k >= 6 && depth >= 6 ? 1 : 0);
      } else if (shape.reductions && !forcing && !killer && depth >= 3) {
        r = reduction_[std::min(depth, 63)][std::min(k + 1, 63)] - (pvNode ? 1 : 0);
        if (shape.history == 1) r -= HistoryOf(history_, pos, list[i]) / HistoryPerPly;
        r = std::clamp(r, 0, newDepth - 1);
      }
      v = -NodeT<V>(child, childKey, -alpha - 1, -alpha, newDepth - r, ply + 1, false);
      if (v > alpha && r > 0) v = -NodeT<V>(child, childKey, -alpha - 1, -alpha, newDepth, ply + 1, false);
      if (v > alpha && v < beta && pvNode) v = -NodeT<V>(child, childKey, -beta, -alpha, newDepth, ply + 1, true);
    }
    if (Stopped()) return 0;
    if (v > best) {
      best = v;
      bestMove = i + 1;
      if (v > alpha) {
        alpha = v;
        SetLine(ply, child);
        if (v >= beta) {
          if (!forcing) {
            RewardQuiet(pos, list[i], depth, ply);
            if (shape.history == 1)
              for (int q = 0; q < quietCount; ++q) PunishQuiet(pos, list[quietTried[q]], depth);
          }
          break;
        }
      }
    }
    if (!forcing) quietTried[quietCount++] = static_cast<uint8_t>(i);
  }

  if (skip != 0) return best;
  const TBound bound = best >= beta ? BoundLower : best > originalAlpha ? BoundExact : BoundUpper;
  shared_.table->Store(key, ScoreToTable(best, ply), depth, bound, bestMove);
  return best;
}

int TThreadSearch::Search(const TBitBoard64& pos, int alpha, int beta, int depth, int ply, bool pvNode, int skip) {
  return WithSearchVariant(shared_.gametype,
                           [&]<TBitVariant V>() { return NodeT<V>(pos, 0, alpha, beta, depth, ply, pvNode, skip); });
}

int TThreadSearch::Quiesce(const TBitBoard64& pos, int alpha, int beta, int ply) {
  return WithSearchVariant(shared_.gametype, [&]<TBitVariant V>() { return QuiesceT<V>(pos, alpha, beta, ply); });
}

}  // namespace kestrel::gen2
