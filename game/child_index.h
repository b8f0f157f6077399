// Children of every node at once, built in one pass over the slots, so that
// walks over a whole tree stay linear however deep its lines are.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "game/game.h"

namespace kestrel {

// Puts the main child first the way the game panel expects: each child
// marked main, taken in order, exchanges places with the first.
void OrderMainFirst(const TGame& game, std::span<int32_t> children);

class TChildIndex {
 public:
  // Indexes the used slots 1..lastSlot (clamped to the array) under their
  // parents, each list in display order. A parent that is itself free keeps
  // its list too, so that whole damaged branches can be found.
  TChildIndex(const TGame& game, int lastSlot);

  std::span<const int32_t> Children(int node) const;
  int First(int node) const;

 private:
  std::vector<int32_t> start_;
  std::vector<int32_t> slots_;
};

// Every slot below `roots` (themselves included): iteratively, safe on any
// depth and on damaged parent links that form cycles.
std::vector<int32_t> CollectSubtrees(const TGame& game, std::span<const int32_t> roots);

}  // namespace kestrel
