// The older generation: plain alpha-beta on the rules core's mailbox board
// with the fixed material-and-advance evaluation.
#include <algorithm>
#include <array>

#include "engine/engine.h"
#include "rules/mailbox_generator.h"
#include "rules/mailbox_moves.h"
#include "rules/rule_set.h"

namespace kestrel {

int16_t TEngine::AlphaBetaOld(const TNewBoard& board, int alpha, int beta, int gametype, TDColor side, int depth,
                              int ply, TSearchCounters& counters) {
  ++counters.nodes;
  const TRuleSet rules = RulesOf(gametype);
  TMoveList list;
  int count = 0;
  {
    MailboxGenerator generator(rules);
    count = generator.Generate(board, side, list);
  }
  if (count == 0) return static_cast<int16_t>(ply + NoMovesScore);
  const TDColor other = Opponent(side);

  std::array<uint8_t, MaxMoves> order;
  for (int i = 0; i < count; ++i) order[i] = static_cast<uint8_t>(i);
  if (ply + 3 < depth) {
    // The hard limit is watched here as in the current generation, so a
    // timed search of either generation ends on time.
    CheckTime();
    if (StopRequested()) return 0;
    std::array<int16_t, MaxMoves> scores;
    for (int i = 0; i < count; ++i) {
      TNewBoard next = board;
      ApplyCellMove(list[i], next, rules);
      scores[i] = static_cast<int16_t>(-AlphaBetaOld(next, -2000, 2000, gametype, other, ply + 1, ply + 1, counters));
      if (StopRequested()) return 0;
    }
    std::stable_sort(order.begin(), order.begin() + count, [&](uint8_t a, uint8_t b) { return scores[a] > scores[b]; });
  }

  int best = alpha;
  for (int k = 0; k < count; ++k) {
    const TMove& move = list[order[k]];
    TNewBoard next = board;
    ApplyCellMove(move, next, rules);
    int v;
    if ((ply < depth || move.lt > 0) && ply <= MaxSearchPly) {
      v = -AlphaBetaOld(next, -beta, -best, gametype, other, depth, ply + 1, counters);
    } else {
      ++counters.nodes;
      ++counters.evaluations;
      v = -EvaluateOld(next, other, gametype);
    }
    if (StopRequested()) return 0;
    if (v > best) best = v;
    if (best >= beta) break;
  }
  return static_cast<int16_t>(best);
}

}  // namespace kestrel
