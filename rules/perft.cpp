#include "rules/perft.h"

#include "rules/game_types.h"
#include "rules/mailbox_generator.h"
#include "rules/mailbox_moves.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

class PerftCounter {
 public:
  PerftCounter(const TRuleSet& rules, TDuplicateRoutes routes) : generator_(rules), routes_(routes) {}

  uint64_t Count(const TNewBoard& board, TDColor side, int depth) {
    if (depth <= 0) return 1;
    TMoveList list;
    int count = generator_.Generate(board, side, list);
    if (routes_ == TDuplicateRoutes::drop) RemoveDuplicateCellMoves(count, list, board, generator_.Rules());
    if (depth == 1) return static_cast<uint64_t>(count);
    uint64_t total = 0;
    for (int i = 0; i < count; ++i) {
      TNewBoard next = board;
      ApplyCellMove(list[i], next, generator_.Rules());
      total += Count(next, Opponent(side), depth - 1);
    }
    return total;
  }

 private:
  MailboxGenerator generator_;
  TDuplicateRoutes routes_;
};

}  // namespace

uint64_t PerftWithRules(const TBoard& board, TDColor side, const TRuleSet& rules, int depth,
                        TDuplicateRoutes routes) {
  if (!IsValidGameType(rules.type)) return 0;
  TNewBoard newboard;
  BoardToNewBoard(board, newboard, rules.type);
  PerftCounter counter(rules, routes);
  return counter.Count(newboard, side, depth);
}

uint64_t Perft(const TBoard& board, TDColor side, int type, int depth) {
  if (!IsValidGameType(type)) return 0;
  return PerftWithRules(board, side, RulesOf(type), depth);
}

std::vector<TPerftDivideLine> PerftDivide(const TBoard& board, TDColor side, int type, int depth) {
  std::vector<TPerftDivideLine> lines;
  if (!IsValidGameType(type) || depth < 1) return lines;
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  removedoublemoves(count, list, board, type);
  for (int i = 0; i < count; ++i) {
    TBoard next = board;
    ApplyMove(list[i], next, type);
    lines.push_back({list[i], Perft(next, Opponent(side), type, depth - 1)});
  }
  return lines;
}

}  // namespace kestrel
