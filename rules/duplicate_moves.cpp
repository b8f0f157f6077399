// Removal of moves that lead to the same position as an earlier move: two
// capture routes over the same pieces to the same square are one move.
#include <algorithm>

#include "rules/game_types.h"
#include "rules/mailbox_moves.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

// Keeps the first of each group of equal moves; a removed move's place is
// taken by the last move of the list, which is compared next.
template <typename SameResult>
void RemoveDoubles(int& count, TMoveList& list, SameResult same) {
  for (int i = 0; i < count - 1; ++i) {
    for (int j = i + 1; j < count;) {
      if (same(list[i], list[j])) {
        list[j] = list[count - 1];
        --count;
      } else {
        ++j;
      }
    }
  }
}

int ClampCount(uint8_t count) { return std::min<int>(count, MaxMoves); }

}  // namespace

void removedoublemoves(uint8_t& count, TMoveList& list, const TBoard& board, int type) {
  if (!IsValidGameType(type)) return;
  int n = ClampCount(count);
  RemoveDoubles(n, list, [&](const TMove& a, const TMove& b) {
    TBoard pa = board;
    TBoard pb = board;
    ApplyMove(a, pa, type);
    ApplyMove(b, pb, type);
    return SameBoard(pa.b, pb.b);
  });
  count = static_cast<uint8_t>(n);
}

void removedoublemovesnew(uint8_t& count, TMoveList& list, const TNewBoard& newboard, int type) {
  if (!IsValidGameType(type)) return;
  int n = ClampCount(count);
  RemoveDoubles(n, list, [&](const TMove& a, const TMove& b) {
    TNewBoard pa = newboard;
    TNewBoard pb = newboard;
    ApplyNewBoardMove(a, pa, type);
    ApplyNewBoardMove(b, pb, type);
    return SameNewBoard(pa, pb);
  });
  count = static_cast<uint8_t>(n);
}

void RemoveDuplicateCellMoves(int& count, TMoveList& list, const TNewBoard& board, const TRuleSet& rules) {
  // The generator never mixes captures and plain moves, and plain moves
  // always lead to different positions.
  if (count < 2 || list[0].lt == 0) return;
  RemoveDoubles(count, list, [&](const TMove& a, const TMove& b) {
    if (a.mv[0] != b.mv[0] || a.lt != b.lt || a.To() != b.To()) return false;
    TNewBoard pa = board;
    TNewBoard pb = board;
    ApplyCellMove(a, pa, rules);
    ApplyCellMove(b, pb, rules);
    return SameNewBoard(pa, pb);
  });
}

}  // namespace kestrel
