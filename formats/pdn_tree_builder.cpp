#include "formats/pdn_tree_builder.h"

#include <algorithm>

#include "formats/pdn_move_match.h"
#include "game/move_tree.h"

namespace kestrel {

TPdnTreeBuilder::TPdnTreeBuilder(TGame& game) : game_(game) {
  EnsureCommentArrays(game_);
  children_.resize(game_.Moves.size());
  const int last = std::min<int>(game_.Header.LastMove, game_.SlotCount() - 1);
  for (int i = game_.SlotCount() - 1; i >= 1; --i) {
    const TMove& m = game_.Moves[i];
    if (m.free) {
      free_.push_back(i);
    } else if (i <= last && game_.IsSlot(m.parent)) {
      children_[m.parent].push_back(i);
    }
  }
  std::sort(free_.begin(), free_.end(), std::greater<>());
  for (auto& list : children_) std::reverse(list.begin(), list.end());
}

TAddResult TPdnTreeBuilder::Add(int parent, const TMove& move) {
  if (!game_.IsNode(parent)) return {0, TAddStatus::badParent};
  if (move.lt > MaxCaptured) return {0, TAddStatus::badMove};
  for (int32_t s : children_[parent])
    if (SameMoveExactly(game_.Moves[s], move)) return {s, TAddStatus::existing};
  if (children_[parent].size() >= static_cast<size_t>(MaxChildren)) return {0, TAddStatus::tooManyChildren};

  int slot;
  if (!free_.empty()) {
    slot = free_.back();
    free_.pop_back();
  } else {
    if (game_.SlotCount() > MaxMoveSlots) return {0, TAddStatus::noFreePlace};
    slot = game_.SlotCount();
    game_.Moves.emplace_back();
    children_.emplace_back();
    EnsureCommentArrays(game_);
  }
  TMove& m = game_.Moves[slot];
  m = move;
  m.parent = parent;
  m.comm = 0;
  m.free = false;
  m.main = children_[parent].empty();
  game_.CommentsBef[slot].clear();
  game_.CommentsAft[slot].clear();
  game_.Header.LastMove = std::max<int32_t>(game_.Header.LastMove, slot);
  children_[parent].push_back(slot);
  return {slot, TAddStatus::added};
}

}  // namespace kestrel
