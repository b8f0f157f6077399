// The rules that end a game by themselves: no legal move, a position seen
// too often, and too many moves without progress.
#pragma once

#include <cstdint>

#include "game/game.h"

namespace kestrel {

// Result codes of the game header.
constexpr uint8_t ResultUnknown = 0;
constexpr uint8_t ResultWhiteWon = 1;
constexpr uint8_t ResultDraw = 2;
constexpr uint8_t ResultBlackWon = 3;
constexpr uint8_t ResultWhiteWonOnTime = 4;
constexpr uint8_t ResultBlackWonOnTime = 5;

enum class TRuleOutcome : uint8_t { none, noMoves, repetition, noProgress };

// How often the position of `slot`, with its side to move, occurred along
// the line from the start to `slot`, itself included.
int RepetitionCount(const TGame& game, int slot);
// Moves back from `slot` that neither capture nor move a man.
int NoProgressCount(const TGame& game, int slot);

// Occurrences beyond which a repetition is a draw: 2, in Italian 3.
int RepetitionLimit(int type);
// Moves without progress beyond which the game is drawn: 39, English 99,
// Italian 79; in Frisian 13 when two lone kings face one.
int NoProgressLimit(int type, const TBrd& board);

// The rule that holds at `slot` (no legal move first, then repetition,
// then no progress). A damaged slot gives none.
TRuleOutcome JudgePosition(const TGame& game, int slot);

// The result for the side to move having no legal move.
constexpr uint8_t LossFor(TDColor sideToMove) {
  return sideToMove == TDColor::black ? ResultWhiteWon : ResultBlackWon;
}

// Pieces of both sides on the board.
int PieceCount(const TBrd& board);

}  // namespace kestrel
