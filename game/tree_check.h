// Soundness of a move tree that came from outside (a file, a stored game).
#pragma once

#include <string>

#include "game/game.h"

namespace kestrel {

// The first fault of the tree, or an empty text when it is sound: the root
// in use, comment arrays as long as Moves, no move above LastMove, every move
// hanging below the root through used slots, at most MaxChildren children.
std::string CheckMoveTree(const TGame& game);

// Makes a damaged tree sound: frees every move that does not hang below the
// root, moves with too many captures and continuations beyond MaxChildren,
// and sets LastMove within the array and at or above the highest move.
// Returns the number of moves removed.
int RepairMoveTree(TGame& game);

}  // namespace kestrel
