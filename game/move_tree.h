// Building and pruning the move tree of a game.
#pragma once

#include <cstdint>
#include <vector>

#include "game/game.h"

namespace kestrel {

// Empties the game but keeps the length of its arrays (every slot freed),
// its start position and the position shown; the type becomes the current one.
void ClearGame(TGame& game);

// Frees a slot and empties its glyphs, flags and comments. The root is
// emptied the same way but stays in use.
void ClearMove(TGame& game, int slot);

// Children of `node` in display order: slot order, then each main child
// exchanged with the first. False when the node has more than MaxChildren
// children (only a damaged record can); the list then holds the first ones.
bool GetChildren(const TGame& game, int node, TChildList& list);

// The same without the size limit.
std::vector<int32_t> Children(const TGame& game, int node);
// First child in display order; 0 when there is none.
int FirstChild(const TGame& game, int node);

// Moves along first children from the root.
int MainLineLength(const TGame& game);

// Highest slot holding a move; 0 when none.
int HighestUsedSlot(const TGame& game);

// Adds `move` after node `parent` for importers, without any question: the
// first continuation of a node is its main one, later ones are side lines.
TAddResult AddMove(TGame& game, int parent, const TMove& move);

// Puts a move record whose tree fields are set into the lowest free slot,
// growing the arrays by one entry when none is free.
TAddResult PlaceMove(TGame& game, const TMove& move);

// Deletes the move in `slot` and everything played after it. On the root it
// deletes every move but keeps the root and the game comment. LastMove is
// left as it was.
void DeleteSubtree(TGame& game, int slot);

// Along the main line, deletes every continuation but the first.
void ClearVariations(TGame& game);

// Empties the comments of every move (not the game comment nor the
// description). Unless `commentsOnly`, also clears the variations and
// recomputes LastMove.
void ClearComments(TGame& game, bool commentsOnly);

// Same start square and same landing squares.
bool SameMovePath(const TMove& a, const TMove& b);

// Makes both comment arrays at least as long as Moves.
void EnsureCommentArrays(TGame& game);

}  // namespace kestrel
