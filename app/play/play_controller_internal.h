// Helpers of the play controller's own files: the game observer it hands to
// the game functions, and the listener of its searches.
#pragma once

#include <vector>

#include "app/play/play_controller.h"

namespace kestrel {

// Turns the game functions' refresh requests into the controller's, and
// answers the "New move" question with an answer obtained beforehand (the
// question itself is asked outside the game lock).
class TPlayController::Observer final : public TGameObserver {
 public:
  explicit Observer(TRefreshRequests& refresh) : refresh_(refresh) {}
  TNewMoveChoice AskNewMove(const std::vector<std::string>&, int) override { return answer; }
  void RequestRefresh(const TGame&, uint32_t what) override {
    uint32_t flags = 0;
    if (what & rfBoard) flags |= rqBoard | rqStatusBar;
    if (what & rfMoveList) flags |= rqBook;
    if (what & rfTree) flags |= rqBuildTree;
    if (what & rfSaveButton) flags |= rqSaveButton;
    refresh_.Request(flags);
  }

  TNewMoveChoice answer{TNewMoveAnswer::newVariation, -1};

 private:
  TRefreshRequests& refresh_;
};

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
