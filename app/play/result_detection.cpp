#include "app/play/result_detection.h"

#include <vector>

#include "game/navigation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

TDColor FirstSide(const TGame& game) {
  return game.Header.FirstMove == TDColor::black ? TDColor::black : TDColor::white;
}

TBoard StartPosition(const TGame& game) {
  TBoard board;
  UnpackBoard(game.StartBoard, board.b);
  return board;
}

}  // namespace

int RepetitionCount(const TGame& game, int slot) {
  std::vector<int32_t> path;
  if (!PathToSlot(game, slot, path)) return 0;
  const int type = GameTypeOf(game);
  TBoard board = StartPosition(game);
  TDColor side = FirstSide(game);
  // Positions after each ply, the start position first.
  std::vector<TBrd> seen{board.b};
  std::vector<TDColor> sides{side};
  for (int32_t s : path) {
    ApplyMove(game.Moves[s], board, type);
    side = Opponent(side);
    seen.push_back(board.b);
    sides.push_back(side);
  }
  int count = 0;
  for (std::size_t i = 0; i < seen.size(); ++i)
    if (sides[i] == side && seen[i] == board.b) ++count;
  return count;
}

int NoProgressCount(const TGame& game, int slot) {
  std::vector<int32_t> path;
  if (!PathToSlot(game, slot, path)) return 0;
  const int type = GameTypeOf(game);
  const int squares = GameTypes[type].SquareCount;
  TBoard board = StartPosition(game);
  int count = 0;
  for (int32_t s : path) {
    const TMove& m = game.Moves[s];
    const int from = m.From();
    const int piece = from >= 1 && from <= squares ? board.b[from] : 0;
    const bool progress = m.lt > 0 || piece == WhiteMan || piece == BlackMan;
    count = progress ? 0 : count + 1;
    ApplyMove(m, board, type);
  }
  return count;
}

int RepetitionLimit(int type) { return type == gtItalian ? 3 : 2; }

int NoProgressLimit(int type, const TBrd& board) {
  if (type == gtEnglish) return 99;
  if (type == gtItalian) return 79;
  if (type == gtFrisian) {
    int wk = 0, bk = 0, men = 0;
    for (int s = 1; s <= GameTypes[type].SquareCount; ++s) {
      if (board[s] == WhiteKing) ++wk;
      if (board[s] == BlackKing) ++bk;
      if (board[s] == WhiteMan || board[s] == BlackMan) ++men;
    }
    if (men == 0 && ((wk == 2 && bk == 1) || (wk == 1 && bk == 2))) return 13;
  }
  return 39;
}

TRuleOutcome JudgePosition(const TGame& game, int slot) {
  TBoard board;
  TDColor side;
  if (!PositionAt(game, slot, board, side)) return TRuleOutcome::none;
  const int type = GameTypeOf(game);
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  if (count == 0) return TRuleOutcome::noMoves;
  if (RepetitionCount(game, slot) > RepetitionLimit(type)) return TRuleOutcome::repetition;
  if (NoProgressCount(game, slot) > NoProgressLimit(type, board.b)) return TRuleOutcome::noProgress;
  return TRuleOutcome::none;
}

int PieceCount(const TBrd& board) {
  int n = 0;
  for (int8_t c : board.cells)
    if (c >= BlackKing && c <= WhiteKing && c != Empty) ++n;
  return n;
}

}  // namespace kestrel
