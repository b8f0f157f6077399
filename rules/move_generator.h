// Legal moves of the rules core, under the capture rules of every game type.
#pragma once

#include <cstdint>

#include "rules/board.h"
#include "rules/move.h"

namespace kestrel {

// Every legal move of `side`, notation flags set. At most MaxMoves moves and
// MaxCaptured pieces per capture are recorded, whatever the position.
void GenerateMoveList(const TBoard& board, TDColor side, TMoveList& list, int type, uint8_t& count);

// Plays `move` (square numbers): removals, crowning, the Frisian counters.
// A move that fails IsMoveInRange leaves the board as it was.
void ApplyMove(const TMove& move, TBoard& board, int type);

// ApplyMove on the mailbox form (cell numbers), without the range check.
void ApplyNewBoardMove(const TMove& move, TNewBoard& newboard, int type);

bool IsMoveInRange(const TMove& move, int type);

// Removes every move whose resulting position equals that of an earlier one.
void removedoublemoves(uint8_t& count, TMoveList& list, const TBoard& board, int type);
void removedoublemovesnew(uint8_t& count, TMoveList& list, const TNewBoard& newboard, int type);

}  // namespace kestrel
