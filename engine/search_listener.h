// What a root search publishes while it runs. The calls come on the search
// thread, once per root move and per iteration, never per node; the
// application copies what it shows under its own lock.
#pragma once

#include <vector>

#include "engine/search_types.h"

namespace kestrel {

class TSearchListener {
 public:
  virtual ~TSearchListener() = default;

  // The root moves, in generation order, before the first iteration.
  virtual void RootMoves(const std::vector<TRootMove>& moves) {}
  // Root move `number` of `count` is being searched in the iteration of `depth`.
  virtual void Searching(int depth, int number, int count) {}
  // A new best line.
  virtual void BestLine(int16_t score, const TRootMove& move) {}
  // After each root move: the moves searched so far re-sorted, best first.
  virtual void RootMovesSorted(const std::vector<TRootMove>& moves, const TSearchStats& stats) {}
  // An iteration finished; moves[0] is the best move.
  virtual void IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats& stats) {}
  // With extended analysis: whether the user excluded this root move.
  virtual bool Excluded(const TMove& move) { return false; }
};

}  // namespace kestrel
