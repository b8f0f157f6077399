// Perft on the bitboard generator: leaf nodes of the legal-move tree to a
// fixed depth, with capture routes that lead to the same position counted
// once at every node, so that it can be compared with the rules core's count.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/bitboard.h"
#include "rules/board.h"
#include "rules/perft.h"

namespace kestrel {

// `pos` has the side to move in `w`. Depth 0 counts the position itself.
// Types without a bitboard generator count 0 below depth 0.
uint64_t BitBoardPerft(const TBitBoard64& pos, int gametype, int depth);

// From a rules-core board: converted, and turned over when Black is to move.
uint64_t BitBoardPerft(const TBoard& board, TDColor side, int gametype, int depth);

// One entry per distinct position after a root move, in generation order,
// with the leaf nodes below it at `depth` - 1. Positions keep the mover in `w`.
std::vector<std::pair<TBitBoard64, uint64_t>> BitBoardPerftDivide(const TBitBoard64& pos, int gametype, int depth);

// The same per root move of the rules core (repeats removed, in its order),
// so that both counts can be set side by side: each line counts below the
// position its move leads to. Positions the bitboard reaches and no
// rules-core move does follow at the end with an empty move (mv[0] = 0);
// a rules-core move whose position the bitboard does not reach counts 0.
std::vector<TPerftDivideLine> BitBoardPerftDivide(const TBoard& board, TDColor side, int gametype, int depth);

// Removes later repeats of a position from the first `count` entries,
// keeping the order of first appearances; returns the new count.
int RemoveRepeatedPositions(TBitBoard64* list, int count);

}  // namespace kestrel
