// The current generation's node search: bitboard moves, endgame databases,
// single-move extensions, reduced searches against alpha and beta, move
// ordering by capture-only searches and the transposition table.
#include <algorithm>
#include <array>

#include "engine/bitboard.h"
#include "engine/engine.h"
#include "engine/search_conditions.h"

namespace kestrel {
namespace {

// Moves the entry `move` to place `to` of the order, keeping the others in
// their order; only when it stands at `to` or later.
void MoveToPlace(uint8_t* order, int count, int move, int to) {
  for (int i = to; i < count; ++i) {
    if (order[i] != move) continue;
    for (int j = i; j > to; --j) order[j] = order[j - 1];
    order[to] = static_cast<uint8_t>(move);
    return;
  }
}

// Window bounds of the reduced searches: margins come from engine files,
// and must not wrap a 16-bit bound round.
int16_t Bound(int v) { return static_cast<int16_t>(std::clamp(v, -30000, 30000)); }

int ToNodeScore(int v, int ply) {
  if (v > 0) return v - ply + 1;
  if (v < 0) return v + ply - 1;
  return 0;
}

}  // namespace

void TEngine::AlphaBeta(SearchNode& node, TSearchCounters& counters) {
  ++counters.nodes;
  const int gametype = node.gametype;
  const int ply = node.ply;
  const TEvalFuncNew& func = *evalFunc_;

  TBitBoard64 pos = node.position;
  if (node.turn) FlipBitBoard(pos, gametype);
  const int stage = StageOf(pos, func);
  const auto P = [&](int i) { return static_cast<int>(func.P(stage, i)); };

  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, gametype);
  if (count == 0) {
    node.result = static_cast<int16_t>(ply + NoMovesScore);
    return;
  }

  const int probePieces = probePieces_.load(std::memory_order_relaxed);
  if (probePieces > 0 && pos.b != 0 && PopCount64(pos.w | pos.b) <= probePieces && CaptureMask(pos, gametype) == 0) {
    int16_t v = 0;
    if (prober_->ProbeEDB(pos, gametype, ply, v, node.excluded)) {
      ++counters.edbAnswers;
      node.result = static_cast<int16_t>(ToNodeScore(v, ply));
      return;
    }
  }

  int depth = node.depth;
  if (count == 1 && depth < 255 &&
      ((ply % 2 == 1 && ConditionHolds(P(prExtensionSelf), ply, depth)) ||
       (ply % 2 == 0 && ConditionHolds(P(prExtensionOpponent), ply, depth))))
    ++depth;

  const int alpha = node.alpha;
  const int beta = node.beta;
  int tableMove = 0, tableMove2 = 0;
  if (depth > ply) {
    const TTableProbe probe = table_.Probe(pos, alpha, beta, depth - ply + 1, ply);
    if (probe.found) {
      if (probe.bestmove <= count) tableMove = probe.bestmove;
      if (probe.bestmove2 <= count) tableMove2 = probe.bestmove2;
    }
    if (probe.cut) {
      node.result = probe.score;
      return;
    }
  }

  // Reduced searches: the same position, three plies shallower, tested
  // against a window just outside the node's.
  if (depth - ply > 1 && ConditionHolds(P(prReductionAlpha), ply, depth)) {
    const int r = P(ply % 2 == 1 ? prRangeAlphaSelf : prRangeAlphaOpponent);
    SearchNode reduced = node;
    reduced.position = pos;
    reduced.turn = 0;
    reduced.alpha = Bound(alpha - r - 1);
    reduced.beta = Bound(alpha - r);
    reduced.ply = static_cast<uint8_t>(ply + 1);
    reduced.depth = static_cast<uint8_t>(depth - 2);
    AlphaBeta(reduced, counters);
    if (StopRequested()) return;
    if (reduced.result < alpha - r) {
      node.result = reduced.result;
      return;
    }
  }
  if (depth - ply > 1 && ConditionHolds(P(prReductionBeta), ply, depth)) {
    const int r = P(ply % 2 == 1 ? prRangeBetaSelf : prRangeBetaOpponent);
    SearchNode reduced = node;
    reduced.position = pos;
    reduced.turn = 0;
    reduced.alpha = Bound(beta + r);
    reduced.beta = Bound(beta + r + 1);
    reduced.ply = static_cast<uint8_t>(ply + 1);
    reduced.depth = static_cast<uint8_t>(depth - 2);
    AlphaBeta(reduced, counters);
    if (StopRequested()) return;
    const int v = reduced.result >= 32000 ? 0 : reduced.result;
    if (v > beta + r) {
      node.result = static_cast<int16_t>(v);
      return;
    }
  }

  std::array<uint8_t, MaxMoves> order;
  for (int i = 0; i < count; ++i) order[i] = static_cast<uint8_t>(i + 1);
  if (count > 1 && depth > ply + 3) {
    CheckTime();
    if (StopRequested()) return;
    // Order by the outcome of the captures each move leads into.
    std::array<int16_t, MaxMoves> scores;
    SearchNode child;
    child.turn = 1;
    child.ply = static_cast<uint8_t>(ply + 1);
    child.depth = static_cast<uint8_t>(ply + 1);
    child.excluded = node.excluded;
    child.gametype = node.gametype;
    for (int i = 0; i < count; ++i) {
      child.position = list[i];
      child.alpha = -2000;
      child.beta = 2000;
      child.moveIndex = static_cast<uint8_t>(i + 1);
      AlphaBeta(child, counters);
      if (StopRequested()) return;
      scores[i] = static_cast<int16_t>(-child.result);
    }
    for (int i = 0; i < count; ++i) {
      int top = i;
      for (int j = i + 1; j < count; ++j)
        if (scores[order[j] - 1] > scores[order[top] - 1]) top = j;
      // Taken out and put in place i: equal scores keep their order.
      std::rotate(order.begin() + i, order.begin() + top, order.begin() + top + 1);
    }
  }
  if (tableMove != 0) {
    MoveToPlace(order.data(), count, tableMove, 0);
    if (tableMove2 != 0 && tableMove2 != tableMove) MoveToPlace(order.data(), count, tableMove2, 1);
  }

  int best = alpha;
  int bestMove = tableMove;
  const int threads = ThreadsCount();
  const bool parallelPly = (ply == 2 || ply == 3) && depth >= ParallelMinDepth && threads > 1;
  int next = 0;
  while (next < count && best < beta) {
    const int batch = parallelPly && next > 0 ? std::min(threads, count - next) : 1;
    if (batch == 1) {
      const int index = order[next];
      TBitBoard64 childPos = list[index - 1];
      FlipBitBoard(childPos, gametype);
      int v;
      if ((ply < depth || CaptureMask(childPos, gametype) != 0) && ply <= MaxSearchPly) {
        SearchNode child;
        child.position = childPos;
        child.alpha = static_cast<int16_t>(-beta);
        child.beta = static_cast<int16_t>(-best);
        child.ply = static_cast<uint8_t>(ply + 1);
        child.depth = static_cast<uint8_t>(depth);
        child.turn = 0;
        child.excluded = node.excluded;
        child.gametype = node.gametype;
        child.moveIndex = static_cast<uint8_t>(index);
        AlphaBeta(child, counters);
        v = -child.result;
      } else {
        // The child's own ply, so that a side left without pieces here
        // scores as it would when searched.
        v = -EvaluateLeaf(childPos, ply + 1, stage, gametype, counters);
      }
      if (StopRequested()) return;
      if (v > best) {
        best = v;
        bestMove = index;
      }
    } else {
      std::array<int16_t, MaxSearchThreads> values;
      SearchBatch(node, list, order.data() + next, batch, depth, best, stage, values.data(), counters);
      if (StopRequested()) return;
      for (int j = 0; j < batch; ++j) {
        if (values[j] > best) {
          best = values[j];
          bestMove = order[next + j];
        }
      }
    }
    next += batch;
  }

  node.result = static_cast<int16_t>(best);
  if (depth > ply) table_.Store(pos, best, alpha, beta, depth - ply + 1, bestMove, ply);
}

}  // namespace kestrel
