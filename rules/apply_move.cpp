#include <algorithm>

#include "rules/game_types.h"
#include "rules/mailbox_moves.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

uint8_t NextCount(uint8_t count) { return count == 255 ? count : static_cast<uint8_t>(count + 1); }

// The Frisian counters after a plain move of the piece `code` (side `c`).
void CountPlainMove(int8_t code, int from, int to, uint8_t& nmpiece, uint8_t& nmcount) {
  if (code == WhiteKing || code == BlackKing) {
    nmcount = nmpiece == from ? NextCount(nmcount) : 1;
    nmpiece = static_cast<uint8_t>(to);
  } else {
    nmpiece = 0;
  }
}

}  // namespace

void ApplyMove(const TMove& move, TBoard& board, int type) {
  if (!IsMoveInRange(move, type)) return;
  const int from = move.mv[0];
  const int c = board.b[from] > 0 ? ColorIndex(TDColor::white) : ColorIndex(TDColor::black);
  auto crown = [&](int square) {
    const int8_t p = board.b[square];
    if (p > 0 && IsPromotionSquare(square, TDColor::white, type))
      board.b[square] = WhiteKing;
    else if (p < 0 && IsPromotionSquare(square, TDColor::black, type))
      board.b[square] = BlackKing;
  };
  if (move.lt == 0) {
    const int to = move.mv[1];
    const int8_t p = board.b[from];
    board.b[from] = Empty;
    board.b[to] = p;
    if (type == gtFrisian) CountPlainMove(p, from, to, board.nmpiece[c], board.nmcount[c]);
    crown(to);
    return;
  }
  board.nmpiece[c] = 0;
  const bool promoteInCapture = GameTypes[type].PromoteInCapture != 0;
  int at = from;
  for (int k = 1; k <= move.lt; ++k) {
    const int8_t p = board.b[at];
    const int landing = move.mv[2 * k];
    board.b[at] = Empty;
    board.b[move.mv[2 * k - 1]] = Empty;
    board.b[landing] = p;
    at = landing;
    if (k == move.lt || promoteInCapture) crown(landing);
  }
}

void ApplyCellMove(const TMove& move, TNewBoard& board, const TRuleSet& rules) {
  const TGameTypeRec& r = rules.rec;
  const int from = move.mv[0];
  const int c = board[from] > 0 ? 0 : 1;
  auto crown = [&](int cell) {
    const int8_t p = board[cell];
    if (p > 0 && cell > r.WhitePromoteAbove)
      board[cell] = WhiteKing;
    else if (p < 0 && cell < r.BlackPromoteBelow)
      board[cell] = BlackKing;
  };
  if (move.lt == 0) {
    const int to = move.mv[1];
    const int8_t p = board[from];
    board[from] = Empty;
    board[to] = p;
    if (rules.type == gtFrisian) {
      auto nmpiece = static_cast<uint8_t>(board[NmPieceWhiteCell + c]);
      auto nmcount = static_cast<uint8_t>(board[NmCountWhiteCell + c]);
      CountPlainMove(p, from, to, nmpiece, nmcount);
      board[NmPieceWhiteCell + c] = static_cast<int8_t>(nmpiece);
      board[NmCountWhiteCell + c] = static_cast<int8_t>(nmcount);
    }
    crown(to);
    return;
  }
  board[NmPieceWhiteCell + c] = 0;
  int at = from;
  for (int k = 1; k <= move.lt; ++k) {
    const int8_t p = board[at];
    const int landing = move.mv[2 * k];
    board[at] = Empty;
    board[move.mv[2 * k - 1]] = Empty;
    board[landing] = p;
    at = landing;
    if (k == move.lt || r.PromoteInCapture) crown(landing);
  }
}

bool IsCellMoveOnBoard(const TMove& move, const TRuleSet& rules) {
  if (move.lt > MaxCaptured) return false;
  const TMailboxCells& cells = *rules.rec.MailboxCells;
  const int used = move.UsedBytes();
  for (int i = 0; i < used; ++i)
    if (move.mv[i] >= MailboxSize || cells[move.mv[i]] == 0) return false;
  return true;
}

// Cells outside the board would overwrite the sentinels or leave the array,
// so such a move is ignored like an out-of-range move on squares.
void ApplyNewBoardMove(const TMove& move, TNewBoard& newboard, int type) {
  if (!IsValidGameType(type)) return;
  const TRuleSet rules = RulesOf(type);
  if (!IsCellMoveOnBoard(move, rules)) return;
  ApplyCellMove(move, newboard, rules);
}

}  // namespace kestrel
