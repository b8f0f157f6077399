#include "rules/move.h"

#include "rules/game_types.h"

namespace kestrel {

void FlipMove(TMove& move, int type) {
  const int n = GameTypes[type].SquareCount;
  const int used = move.lt <= MaxCaptured ? move.UsedBytes() : static_cast<int>(move.mv.size());
  for (int i = 0; i < used; ++i) move.mv[i] = static_cast<uint8_t>(n + 1 - move.mv[i]);
}

}  // namespace kestrel
