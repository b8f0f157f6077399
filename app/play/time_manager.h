// How much of its clock the engine spends on one move: a share of the time
// left that grows in the middle game, and a hard limit that keeps a reserve
// for the moves still to come, so that the clock never falls.
#pragma once

#include <cstdint>

namespace kestrel {

struct TTimeBudget {
  int64_t softMs = 0;  // aim: no new iteration once half of this has passed
  int64_t hardMs = 0;  // a running search stops here
};

struct TClockSituation {
  int64_t clockMs = 0;      // time left (for a per-move control: the move's time)
  int64_t incrementMs = 0;  // added after each move
  int movesToGo = 0;        // until the next control; 0: the rest of the game
  int moveNumber = 1;       // the mover's, from 1
  int pieces = 24;          // on the board
  int startPieces = 24;     // at the start of the variant
};

// Time lost per move outside the search (move generation, bookkeeping,
// thread start), kept back from every budget.
inline constexpr int64_t MoveOverheadMs = 30;

TTimeBudget PlanMoveTime(const TClockSituation& clock);

}  // namespace kestrel
