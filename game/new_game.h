// Starting a game: from the start position of a type, or from a set-up position.
#pragma once

#include "game/game.h"

namespace kestrel {

// Clears the game and puts it at the start position of `type` (the current
// type for the first form), White to move.
void NewGame(TGame& game);
void NewGame(TGame& game, int type);

// The first move number of a set-up position must fit NumerationFrom.
constexpr int MaxFirstMoveNumber = 128;

// Position set-up confirmed: a cleared game of `type` that starts from
// `board` with `side` to move and the given first move number (1..128).
// Cells beyond the type's squares are emptied. False, with the game
// unchanged, for a bad type, move number or cell value.
bool SetUpPosition(TGame& game, const TBrd& board, TDColor side, int firstMoveNumber, int type);

}  // namespace kestrel
