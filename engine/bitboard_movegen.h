// The engine's move generator: the positions that the legal moves of the
// side to move (`w`, men towards higher bits) lead to.
#pragma once

#include <array>
#include <cstdint>

#include "engine/bitboard.h"
#include "rules/move.h"

namespace kestrel {

// One entry per legal move: the position after it, the mover still in `w`.
using TBitMoveList = std::array<TBitBoard64, MaxMoves>;

// Whether GenerateMoves and the capture masks cover the game type: every
// type with a bitboard form except Frisian, whose orthogonal captures it does
// not know. For the others (Frisian, Canadian) they answer nothing: an empty
// list and empty masks, never a partial move list.
bool HasBitBoardGenerator(int gametype);

// Whether the type's kings move one square at a time (otherwise they fly
// over any number of empty squares).
bool ShortKings(int gametype);

// All legal moves; captures are compulsory and chosen by the type's rules.
// Two capture routes to the same position may both be listed. Should a
// position have more than MaxMoves results, repeated positions are dropped
// first and then the list stops at MaxMoves.
void GenerateMoves(const TBitBoard64& pos, TBitMoveList& list, uint8_t& count, int gametype);

// Pieces of `w` that can capture: the men that can, or, when none can, the
// kings that can. Non-zero means a capture is compulsory.
uint64_t CaptureMask(const TBitBoard64& pos, int gametype);
uint64_t MenCaptureMask(const TBitBoard64& pos, int gametype);
uint64_t KingCaptureMask(const TBitBoard64& pos, int gametype);
// The same test for `b` in a position not yet turned over (its men move
// towards lower bits): whether the opponent, to move next, must capture.
uint64_t OpponentCaptureMask(const TBitBoard64& pos, int gametype);

}  // namespace kestrel
