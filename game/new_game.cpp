#include "game/new_game.h"

#include "game/move_tree.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

void StartFrom(TGame& game, const TBrd& board, TDColor side, int type) {
  ClearGame(game);
  game.Header.TypeOfGame = static_cast<uint8_t>(type);
  game.Header.FirstMove = side;
  game.CurMovPos = 0;
  game.CurBoard = TBoard{};
  game.CurBoard.b = board;
  game.SideToMove = side;
  PackBoard(board, game.StartBoard);
}

}  // namespace

void NewGame(TGame& game) { NewGame(game, CurrentGameType); }

void NewGame(TGame& game, int type) {
  if (!IsValidGameType(type)) type = CurrentGameType;
  StartFrom(game, InitialPosition(type).b, TDColor::white, type);
}

bool SetUpPosition(TGame& game, const TBrd& board, TDColor side, int firstMoveNumber, int type) {
  if (!IsValidGameType(type) || firstMoveNumber < 1 || firstMoveNumber > MaxFirstMoveNumber) return false;
  if (side != TDColor::white && side != TDColor::black) return false;
  TBrd cells{};
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s) {
    if (board[s] < BlackKing || board[s] > WhiteKing) return false;
    cells[s] = board[s];
  }
  StartFrom(game, cells, side, type);
  game.Header.NumerationFrom = static_cast<uint8_t>(2 * firstMoveNumber - 2);
  game.Modified = true;
  return true;
}

}  // namespace kestrel
