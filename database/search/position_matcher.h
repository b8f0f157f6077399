// The position criterion of a search over one game's move tree: the pattern
// (or the combination) with the material ranges, made directly and, when
// asked, on the colour-reversed position, at every node visited depth first.
#pragma once

#include <cstdint>
#include <memory>

#include "database/search/blob_tree.h"
#include "database/search/search_info.h"

namespace kestrel {

// Lower bounds on piece counts that a position must meet to pass a test.
// Along a line no count of a side's pieces or men ever grows (men only turn
// into kings), so a position below them ends the search of its line.
struct TPieceNeeds {
  int whiteMen = 0, whitePieces = 0, blackMen = 0, blackPieces = 0, total = 0;
};

class TPositionMatcher {
 public:
  // `squareCount` is the size of the pattern board.
  TPositionMatcher(const TSearchInfo& info, int squareCount);
  ~TPositionMatcher();
  TPositionMatcher(const TPositionMatcher&) = delete;
  TPositionMatcher& operator=(const TPositionMatcher&) = delete;

  // The slot of the last success in visit order, or -1 when the position
  // does not occur in the game. `type` is the game type the moves are
  // played under.
  int32_t Match(const TBlobTree& tree, int type, TDColor firstMover);

  // Whether a game of `type` could pass at all; false when the pattern is
  // compared and the game's board has another size, or no test is ever made.
  bool CanMatchType(int type) const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};

}  // namespace kestrel
