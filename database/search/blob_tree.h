// A stored game's move tree read straight from its blob for searching: the
// start position and, per slot, the parent link and the squares of the move,
// with the comments skipped. A blob is refused exactly when loading the game
// would fail, so that a search never finds a position in a game that cannot
// be opened.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "rules/board.h"

namespace kestrel {

struct TBlobNode {
  int32_t parent = 0;
  uint8_t lt = 0;        // pieces captured
  bool main = false;
  bool used = false;     // not a free slot
  const uint8_t* mv = nullptr;  // the move's squares as stored (TMove::mv)
};

class TBlobTree {
 public:
  // Reads a blob of format `version` (20..30) of a game of `type` with
  // `lastMove` slots. False when the blob is damaged; the tree is then
  // meaningless. The nodes point into `blob`, which must outlive their use.
  bool Decode(std::span<const uint8_t> blob, int version, int type, int32_t lastMove);

  const TBrd& Start() const { return start_; }
  // Slot 0 is the start position: no move, parent 0.
  const TBlobNode& Node(int slot) const { return nodes_[slot]; }
  // Used children in display order: slot order, each main child exchanged
  // with the first.
  std::span<const int32_t> Children(int node) const {
    return {children_.data() + first_[node], children_.data() + first_[node + 1]};
  }

 private:
  bool IndexChildren(int last);
  bool AllHangBelowRoot(int last);

  TBrd start_{};
  std::vector<TBlobNode> nodes_;
  std::vector<int32_t> first_;
  std::vector<int32_t> children_;
  std::vector<uint8_t> state_;
  std::vector<int32_t> chain_;
};

}  // namespace kestrel
