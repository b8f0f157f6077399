#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {

// Moves from stored games may hold anything; a capture count that does not fit
// the record is out of range as well.
bool IsMoveInRange(const TMove& move, int type) {
  if (!IsValidGameType(type) || move.lt > MaxCaptured) return false;
  const int squares = GameTypes[type].SquareCount;
  const int used = move.UsedBytes();
  for (int i = 0; i < used; ++i)
    if (move.mv[i] < 1 || move.mv[i] > squares) return false;
  return true;
}

}  // namespace kestrel
