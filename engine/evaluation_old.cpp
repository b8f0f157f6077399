#include "engine/evaluation.h"
#include "rules/game_types.h"

namespace kestrel {

// Material with a small bonus for advancement: a piece gains up to ten
// hundredths as it travels from its own back rank to the far one.
int16_t EvaluateOld(const TNewBoard& board, TDColor side, int gametype) {
  if (!IsValidGameType(gametype)) return 0;
  const TGameTypeRec& type = GameTypes[gametype];
  const TMailboxCells& cells = *type.MailboxCells;
  const int first = type.FirstCell, last = type.LastCell, n = type.SquareCount;
  int white = 0, black = 0;
  for (int e = first; e <= last && e < MailboxSize; ++e) {
    if (cells[e] == 0) continue;
    switch (board[e]) {
      case WhiteMan: white += 100 + e * 10 / n; break;
      case WhiteKing: white += 300 + e * 10 / n; break;
      case BlackMan: black += 100 + (first + last - e) * 10 / n; break;
      case BlackKing: black += 300 + (first + last - e) * 10 / n; break;
      default: break;
    }
  }
  return static_cast<int16_t>(side == TDColor::black ? black - white : white - black);
}

}  // namespace kestrel
