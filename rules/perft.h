// Perft: the number of leaf nodes of the legal-move tree to a fixed depth,
// with capture routes that lead to the same position counted once at every
// node (removedoublemoves).
#pragma once

#include <cstdint>
#include <vector>

#include "rules/board.h"
#include "rules/move.h"
#include "rules/rule_set.h"

namespace kestrel {

// Whether capture routes over the same pieces to the same square count once
// (drop, the program's count) or once per route (keep, as some published
// tables count).
enum class TDuplicateRoutes { drop, keep };

// Depth 0 counts the position itself.
uint64_t Perft(const TBoard& board, TDColor side, int type, int depth);
// The same under a rule set that may differ from its type's own switches.
uint64_t PerftWithRules(const TBoard& board, TDColor side, const TRuleSet& rules, int depth,
                        TDuplicateRoutes routes = TDuplicateRoutes::drop);

struct TPerftDivideLine {
  TMove move;  // square numbers, notation flags set
  uint64_t count = 0;
};
// One line per distinct legal move at the root, in list order: the leaf
// nodes below it at `depth` - 1. The counts add up to Perft(depth).
std::vector<TPerftDivideLine> PerftDivide(const TBoard& board, TDColor side, int type, int depth);

}  // namespace kestrel
