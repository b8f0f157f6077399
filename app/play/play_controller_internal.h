// Helpers of the play controller's own files: the listener of its searches.
#pragma once

#include <vector>

#include "app/play/play_controller.h"

namespace kestrel {

// The listener of the controller's searches: publishes into the search
// information, passes a stop that a search start cleared on to the engine,
// and keeps what game analysis and engine games read after the search.
class TPlayController::RunListener final : public TSearchListener {
 public:
  RunListener(TSearchInfoBoard& info, TEngineWorker& worker) : info_(info), worker_(worker) {}

  // The depth of the last iteration begun.
  int DepthBegun() const { return depthBegun_; }
  // The root moves as last published, best first.
  const std::vector<TRootMove>& LastMoves() const { return moves_; }

  void RootMoves(const std::vector<TRootMove>& moves) override {
    moves_ = moves;
    info_.RootMoves(moves);
  }
  void Searching(int depth, int number, int count) override {
    worker_.PropagateStop();
    depthBegun_ = depth;
    info_.Searching(depth, number, count);
  }
  void BestLine(int16_t score, const TRootMove& move) override { info_.BestLine(score, move); }
  void RootMovesSorted(const std::vector<TRootMove>& moves, const TSearchStats& stats) override {
    moves_ = moves;
    info_.RootMovesSorted(moves, stats);
  }
  void IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats& stats) override {
    moves_ = moves;
    info_.IterationDone(depth, moves, stats);
  }
  bool Excluded(const TMove& move) override { return info_.Excluded(move); }

 private:
  TSearchInfoBoard& info_;
  TEngineWorker& worker_;
  int depthBegun_ = 0;
  std::vector<TRootMove> moves_;
};

}  // namespace kestrel
