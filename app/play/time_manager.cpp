#include "app/play/time_manager.h"

#include <algorithm>

namespace kestrel {
namespace {

// Moves of a side in a long game (the match runner's move limit is 150).
constexpr int LongGameMoves = 150;

// Moves a whole-game control still has to cover: many on a full board,
// fewer as it empties, but endgames may go on long, so never fewer than 25.
int ExpectedMovesLeft(const TClockSituation& c) {
  const int start = std::max(c.startPieces, 1);
  const int pieces = std::clamp(c.pieces, 0, start);
  return 25 + 35 * pieces / start;
}

// The middle game decides most games: spend more there, less in the opening
// (known patterns) and in the late endgame (simple positions).
int PhasePercent(const TClockSituation& c) {
  const int start = std::max(c.startPieces, 1);
  const int share = 100 * std::clamp(c.pieces, 0, start) / start;
  if (c.moveNumber <= 4) return 70;
  if (share > 85) return 100;
  if (share > 40) return 130;
  return 90;
}

}  // namespace

TTimeBudget PlanMoveTime(const TClockSituation& c) {
  const int64_t clock = std::max<int64_t>(c.clockMs, 0);
  const int movesLeft = c.movesToGo > 0 ? c.movesToGo : ExpectedMovesLeft(c);
  // Every move still to come loses some time outside the search; keep that
  // back for a game as long as a long one, so that a game longer than
  // expected still finds time on the clock.
  const int reserveMoves = c.movesToGo > 0 ? c.movesToGo : std::max(movesLeft, LongGameMoves - c.moveNumber);
  const int64_t usable = std::max<int64_t>(clock - MoveOverheadMs * reserveMoves, clock / 20 + 1);
  const int64_t increment = std::max<int64_t>(c.incrementMs, 0);

  int64_t target = usable / movesLeft + increment * 9 / 10;
  if (c.movesToGo != 1) target = target * PhasePercent(c) / 100;

  // The hard limit leaves each of the remaining moves of the control a fair
  // share: with one move to go, almost all of it; otherwise at most a fifth
  // of what is left, and never more than three aims.
  int64_t hard = c.movesToGo == 1 ? usable * 9 / 10 : std::min<int64_t>(usable / 5 + increment, 3 * target);
  hard = std::min(hard, usable * 9 / 10);
  TTimeBudget b;
  b.hardMs = std::max<int64_t>(hard, 1);
  b.softMs = std::clamp<int64_t>(target, 1, b.hardMs);
  return b;
}

}  // namespace kestrel
