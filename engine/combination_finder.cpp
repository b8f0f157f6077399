// The combination finder: a search of forcing moves only. The attacker (odd
// plies) captures, or plays a move after which the opponent must capture;
// the defender answers with every move it has.
#include <algorithm>

#include "engine/bitboard.h"
#include "engine/engine.h"

namespace kestrel {

int16_t TEngine::FindCombination(const TBitBoard64& position, int alpha, int beta, int gametype, int turn, int ply,
                                 TSearchCounters& counters) {
  ++counters.nodes;
  TBitBoard64 pos = position;
  if (turn) FlipBitBoard(pos, gametype);
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, gametype);
  if (count == 0) return static_cast<int16_t>(ply + NoMovesScore);

  int a = alpha;
  if (ply % 2 == 1 && CaptureMask(pos, gametype) == 0) {
    uint8_t kept = 0;
    for (int i = 0; i < count; ++i)
      if (OpponentCaptureMask(list[i], gametype) != 0) list[kept++] = list[i];
    count = kept;
    // The attacker need not go on: a forcing move that loses must not make
    // a won line look lost. Without forcing moves this is the score.
    ++counters.evaluations;
    a = std::max(a, static_cast<int>(Evaluate(pos, ply, 0, *evalFunc_, gametype)));
    if (count == 0) return static_cast<int16_t>(a);
  }
  // Forcing lines end by themselves, since every second ply takes a piece;
  // the ply bound only keeps the stack within limits.
  if (ply > MaxSearchPly) {
    ++counters.evaluations;
    return Evaluate(pos, ply, 0, *evalFunc_, gametype);
  }

  for (int i = 0; i < count && a < beta; ++i) {
    TBitBoard64 child = list[i];
    FlipBitBoard(child, gametype);
    const int v = -FindCombination(child, -beta, -a, gametype, 0, ply + 1, counters);
    if (StopRequested()) return static_cast<int16_t>(a);
    if (v > a) a = v;
  }
  return static_cast<int16_t>(a);
}

}  // namespace kestrel
