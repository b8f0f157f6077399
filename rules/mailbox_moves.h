// Moves on the mailbox board under a rule set: the fast forms used by perft
// and by the public operations, for moves the generator produced.
#pragma once

#include "rules/board.h"
#include "rules/move.h"
#include "rules/rule_set.h"

namespace kestrel {

// Plays a generated move (cell numbers): removals, crowning, Frisian counters.
void ApplyCellMove(const TMove& move, TNewBoard& board, const TRuleSet& rules);

// Whether every used byte of `move` is a square of the rule set's board.
bool IsCellMoveOnBoard(const TMove& move, const TRuleSet& rules);

// removedoublemovesnew for generated moves: only moves with the same start,
// destination and number of pieces taken can lead to the same position, so
// only those are played out and compared. Keeps the same moves in the same
// order as the full comparison.
void RemoveDuplicateCellMoves(int& count, TMoveList& list, const TNewBoard& board, const TRuleSet& rules);

}  // namespace kestrel
