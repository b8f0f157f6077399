#include "game/tree_check.h"

#include <algorithm>
#include <span>
#include <vector>

#include "game/child_index.h"
#include "game/move_tree.h"

namespace kestrel {
namespace {

enum : uint8_t { unknown, reachable, broken, visiting };

// Whether each slot hangs below the root; one pass, each slot walked once.
std::vector<uint8_t> Reachability(const TGame& game) {
  const int n = game.SlotCount();
  std::vector<uint8_t> state(n, unknown);
  if (n == 0) return state;
  for (int i = 1; i < n; ++i)
    if (game.Moves[i].free) state[i] = broken;
  state[0] = game.Moves[0].free ? broken : reachable;
  std::vector<int32_t> chain;
  for (int i = 1; i < n; ++i) {
    if (state[i] != unknown) continue;
    chain.clear();
    int s = i;
    uint8_t result = broken;
    while (true) {
      if (!game.IsSlot(s)) break;
      if (state[s] == reachable || state[s] == broken) {
        result = state[s];
        break;
      }
      if (state[s] == visiting) break;  // a cycle
      if (game.Moves[s].lt > MaxCaptured) break;
      state[s] = visiting;
      chain.push_back(s);
      s = game.Moves[s].parent;
    }
    for (int32_t c : chain) state[c] = result;
  }
  return state;
}

}  // namespace

std::string CheckMoveTree(const TGame& game) {
  const int n = game.SlotCount();
  if (n == 0) return "no root slot";
  if (game.Moves[0].free) return "the root slot is free";
  if (game.CommentsBef.size() < game.Moves.size() || game.CommentsAft.size() < game.Moves.size())
    return "comment arrays shorter than the move array";
  const int last = game.Header.LastMove;
  if (last < 0 || last >= n) return "LastMove " + std::to_string(last) + " outside the move array";
  for (int i = last + 1; i < n; ++i)
    if (!game.Moves[i].free) return "slot " + std::to_string(i) + " above LastMove is in use";
  const std::vector<uint8_t> state = Reachability(game);
  for (int i = 1; i < n; ++i)
    if (!game.Moves[i].free && state[i] != reachable)
      return "slot " + std::to_string(i) + " does not hang below the start position";
  const TChildIndex index(game, last);
  for (int i = 0; i < n; ++i)
    if (index.Children(i).size() > static_cast<std::size_t>(MaxChildren))
      return "slot " + std::to_string(i) + " has more than " + std::to_string(MaxChildren) + " continuations";
  return {};
}

int RepairMoveTree(TGame& game) {
  if (game.Moves.empty()) game.Moves.resize(1);
  game.Moves[0].free = false;
  game.Moves[0].parent = 0;
  EnsureCommentArrays(game);
  const int n = game.SlotCount();
  int removed = 0;
  const std::vector<uint8_t> state = Reachability(game);
  for (int i = 1; i < n; ++i)
    if (!game.Moves[i].free && state[i] != reachable) {
      ClearMove(game, i);
      ++removed;
    }
  game.Header.LastMove = std::max(std::clamp<int32_t>(game.Header.LastMove, 0, n - 1), HighestUsedSlot(game));
  const TChildIndex index(game, game.Header.LastMove);
  std::vector<int32_t> extra;
  for (int i = 0; i < n; ++i) {
    const auto children = index.Children(i);
    if (children.size() > static_cast<std::size_t>(MaxChildren))
      extra.insert(extra.end(), children.begin() + MaxChildren, children.end());
  }
  for (int32_t s : CollectSubtrees(game, extra)) {
    ClearMove(game, s);
    ++removed;
  }
  return removed;
}

}  // namespace kestrel
