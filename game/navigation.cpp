#include "game/navigation.h"

#include <algorithm>

#include "game/child_index.h"
#include "game/move_tree.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

constexpr uint32_t rfPosition = rfBoard | rfMoveList | rfTree;

TDColor FirstSide(const TGame& game) {
  return game.Header.FirstMove == TDColor::black ? TDColor::black : TDColor::white;
}

}  // namespace

bool PathToSlot(const TGame& game, int slot, std::vector<int32_t>& path) {
  path.clear();
  if (!game.IsNode(slot)) return false;
  for (int s = slot; s != 0; s = game.Moves[s].parent) {
    // A chain longer than the tree has slots is a cycle.
    if (!game.IsNode(s) || static_cast<int>(path.size()) >= game.SlotCount()) {
      path.clear();
      return false;
    }
    path.push_back(s);
  }
  std::reverse(path.begin(), path.end());
  return true;
}

bool PositionAt(const TGame& game, int slot, TBoard& board, TDColor& side) {
  std::vector<int32_t> path;
  if (!PathToSlot(game, slot, path)) return false;
  board = TBoard{};
  UnpackBoard(game.StartBoard, board.b);  // a damaged start board stays empty
  side = FirstSide(game);
  const int type = GameTypeOf(game);
  for (int32_t s : path) {
    side = Opponent(side);
    ApplyMove(game.Moves[s], board, type);
  }
  return true;
}

std::string SlotMoveText(const TGame& game, int slot, int mode, std::string_view sep) {
  const TMove& move = game.Moves[slot];
  const int type = GameTypeOf(game);
  // Only captures can share their start and end squares with another move.
  TBoard board;
  TDColor side;
  if (move.lt == 0 || !PositionAt(game, move.parent, board, side)) return MoveToText(move, type, mode, sep);
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  return UnambiguousMoveText(move, list, count, type, mode, sep);
}

bool GoToMove(TGame& game, int slot, TGameObserver* observer) {
  TBoard board;
  TDColor side;
  if (!PositionAt(game, slot, board, side)) return false;
  if (observer) observer->BeforeGoToMove(game, slot);
  game.CurMovPos = slot;
  game.CurBoard = board;
  game.SideToMove = side;
  if (observer) observer->RequestRefresh(game, rfPosition);
  return true;
}

bool StepForward(TGame& game, TGameObserver* observer) {
  const int child = FirstChild(game, game.CurMovPos);
  if (child == 0) return false;
  game.CurMovPos = child;
  ApplyMove(game.Moves[child], game.CurBoard, GameTypeOf(game));
  game.SideToMove = Opponent(game.SideToMove);
  if (observer) observer->RequestRefresh(game, rfPosition);
  return true;
}

bool StepBack(TGame& game, TGameObserver* observer) {
  if (!game.IsNode(game.CurMovPos)) return GoToMove(game, 0, observer);
  return GoToMove(game, game.Moves[game.CurMovPos].parent, observer);
}

bool GoToLineEnd(TGame& game, int slot, TGameObserver* observer) {
  if (!game.IsNode(slot)) return false;
  const TChildIndex index(game, game.Header.LastMove);
  int node = slot;
  for (int steps = 0; steps < game.SlotCount(); ++steps) {
    const int next = index.First(node);
    if (next == 0) break;
    node = next;
  }
  return GoToMove(game, node, observer);
}

}  // namespace kestrel
