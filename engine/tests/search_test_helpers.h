// Shared by the search tests: a plain material evaluation, searches with
// few lines of set-up, and plain alpha-beta searches to compare with.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string_view>
#include <vector>

#include "engine/bitboard.h"
#include "engine/bitboard_movegen.h"
#include "engine/engine.h"
#include "engine/tests/bitboard_positions.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel::searchtest {

using testing::Board;
using testing::SquareNumber;

// Men 100, kings 300, nothing else: no extensions, no reduced searches.
inline TEngineParams MaterialParams(uint8_t generation = EngineNew) {
  TEngineParams params;
  params.Engine = generation;
  params.EvalFunc.SetParam(prManValue, 100);
  params.EvalFunc.SetParam(prKingValue, 300);
  CompileEvalFunc(params.EvalFunc);
  return params;
}

// Collects what the root search publishes.
class TRecordingListener : public TSearchListener {
 public:
  void RootMoves(const std::vector<TRootMove>& moves) override { rootMoves = moves; }
  void RootMovesSorted(const std::vector<TRootMove>& moves, const TSearchStats&) override {
    ++sortedCalls;
    for (size_t i = 1; i < moves.size(); ++i)
      if (moves[i].score > moves[i - 1].score) unsortedSeen = true;
  }
  void IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats&) override {
    depths.push_back(depth);
    last = moves;
  }

  std::vector<TRootMove> rootMoves;
  std::vector<TRootMove> last;
  std::vector<int> depths;
  int sortedCalls = 0;
  bool unsortedSeen = false;
};

inline TSearchResult Search(TEngine& engine, const TBoard& board, TDColor side, int gametype, int depth,
                            const TEngineParams& params, TSearchListener* listener = nullptr) {
  TSearchLimits limits;
  limits.maxDepth = depth;
  return engine.SearchRoot(board, side, gametype, limits, params, listener);
}

// The rules-core move of `side` from square `from` to square `to`.
inline TMove FindMove(const TBoard& board, TDColor side, int gametype, std::string_view from, std::string_view to) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, gametype, count);
  const int f = SquareNumber(gametype, from), t = SquareNumber(gametype, to);
  for (int i = 0; i < count; ++i)
    if (list[i].From() == f && list[i].To() == t) return list[i];
  ADD_FAILURE() << "no move " << from << "-" << to;
  return TMove{};
}

inline bool SameMove(const TMove& a, const TMove& b) {
  return a.lt == b.lt && std::equal(a.mv.begin(), a.mv.begin() + a.UsedBytes(), b.mv.begin());
}

// Plain alpha-beta with the node rule of the current generation: full
// width up to `depth`, then captures only, leaves scored at their own ply
// with the stage of their parent. No table, no ordering, no selectivity.
inline int ReferenceSearch(const TBitBoard64& pos, int alpha, int beta, int ply, int depth, int gametype,
                           const TEvalFuncNew& func) {
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, gametype);
  if (count == 0) return ply - 2001;
  const int stage = StageOf(pos, func);
  int best = alpha;
  for (int i = 0; i < count && best < beta; ++i) {
    TBitBoard64 child = list[i];
    FlipBitBoard(child, gametype);
    const bool searched = (ply < depth || CaptureMask(child, gametype) != 0) && ply <= MaxSearchPly;
    const int v = searched ? -ReferenceSearch(child, -beta, -best, ply + 1, depth, gametype, func)
                           : -Evaluate(child, ply + 1, stage, func, gametype);
    best = std::max(best, v);
  }
  return best;
}

// The same for the older generation, on the square board with the rules
// core's public operations.
inline int ReferenceSearchOld(const TBoard& board, TDColor side, int alpha, int beta, int ply, int depth,
                              int gametype) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, gametype, count);
  if (count == 0) return ply - 2001;
  int best = alpha;
  for (int i = 0; i < count && best < beta; ++i) {
    TBoard next = board;
    ApplyMove(list[i], next, gametype);
    int v;
    if ((ply < depth || list[i].lt > 0) && ply <= MaxSearchPly) {
      v = -ReferenceSearchOld(next, Opponent(side), -beta, -best, ply + 1, depth, gametype);
    } else {
      TNewBoard newboard;
      BoardToNewBoard(next, newboard, gametype);
      v = -EvaluateOld(newboard, Opponent(side), gametype);
    }
    best = std::max(best, v);
  }
  return best;
}

// A position reached by `plies` random moves from the start.
inline TBoard RandomGamePosition(int gametype, int plies, unsigned seed, TDColor& side) {
  TBoard board = InitialPosition(gametype);
  side = TDColor::white;
  std::mt19937 rng(seed);
  for (int p = 0; p < plies; ++p) {
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(board, side, list, gametype, count);
    if (count == 0) break;
    ApplyMove(list[rng() % count], board, gametype);
    side = Opponent(side);
  }
  return board;
}

}  // namespace kestrel::searchtest
