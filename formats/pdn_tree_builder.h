// Adds moves to a game's tree the way a reader does, in time linear in the
// moves added: the child lists of the nodes and the free slots are kept
// here instead of being searched for on every addition.
#pragma once

#include <cstdint>
#include <vector>

#include "game/game.h"

namespace kestrel {

class TPdnTreeBuilder {
 public:
  // Takes the game's existing tree as it is.
  explicit TPdnTreeBuilder(TGame& game);

  // The child of `parent` that is this very move, else a new child (the
  // first child of a node is its main continuation).
  TAddResult Add(int parent, const TMove& move);

 private:
  TGame& game_;
  std::vector<std::vector<int32_t>> children_;  // by slot
  std::vector<int32_t> free_;                   // free slots, highest first
};

}  // namespace kestrel
