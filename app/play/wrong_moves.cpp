#include "app/play/wrong_moves.h"

#include "game/child_index.h"
#include "game/move_tree.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

bool IsLegal(const TMove& move, const TBoard& board, TDColor side, int type) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  for (int i = 0; i < count; ++i)
    if (list[i].lt == move.lt && SameMovePath(list[i], move)) return true;
  return false;
}

}  // namespace

std::vector<int32_t> FindWrongMoves(const TGame& game, int type) {
  std::vector<int32_t> wrong;
  if (!game.IsNode(0)) return wrong;
  const TChildIndex index(game, game.Header.LastMove);
  struct Item {
    int32_t slot;
    TBoard board;  // the position the move is played from
    TDColor side;
  };
  TBoard start;
  UnpackBoard(game.StartBoard, start.b);
  const TDColor first = game.Header.FirstMove == TDColor::black ? TDColor::black : TDColor::white;
  std::vector<Item> stack;
  const auto rootChildren = index.Children(0);
  for (auto it = rootChildren.rbegin(); it != rootChildren.rend(); ++it) stack.push_back({*it, start, first});
  // Each slot is visited once; a damaged parent chain cannot loop because
  // the index lists every slot under one parent only.
  std::size_t visits = 0;
  while (!stack.empty() && visits++ < static_cast<std::size_t>(game.SlotCount())) {
    Item item = stack.back();
    stack.pop_back();
    const TMove& m = game.Moves[item.slot];
    if (!IsMoveInRange(m, type) || !IsLegal(m, item.board, item.side, type)) {
      wrong.push_back(item.slot);
      continue;
    }
    TBoard next = item.board;
    ApplyMove(m, next, type);
    const auto children = index.Children(item.slot);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      stack.push_back({*it, next, Opponent(item.side)});
  }
  return wrong;
}

int RemoveWrongMoves(TGame& game, int type) {
  const std::vector<int32_t> wrong = FindWrongMoves(game, type);
  for (int32_t slot : wrong) DeleteSubtree(game, slot);
  if (!wrong.empty()) game.Header.LastMove = HighestUsedSlot(game);
  return static_cast<int>(wrong.size());
}

}  // namespace kestrel
