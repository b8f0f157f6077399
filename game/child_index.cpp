#include "game/child_index.h"

#include <algorithm>
#include <utility>

namespace kestrel {

void OrderMainFirst(const TGame& game, std::span<int32_t> children) {
  for (std::size_t j = 0; j < children.size(); ++j)
    if (game.Moves[children[j]].main) std::swap(children[j], children[0]);
}

TChildIndex::TChildIndex(const TGame& game, int lastSlot) {
  const int n = game.SlotCount();
  const int last = std::min(lastSlot, n - 1);
  start_.assign(n + 1, 0);
  for (int i = 1; i <= last; ++i) {
    const TMove& m = game.Moves[i];
    if (!m.free && game.IsSlot(m.parent)) ++start_[m.parent + 1];
  }
  for (int i = 0; i < n; ++i) start_[i + 1] += start_[i];
  slots_.resize(start_[n]);
  std::vector<int32_t> fill(start_.begin(), start_.end() - 1);
  for (int i = 1; i <= last; ++i) {
    const TMove& m = game.Moves[i];
    if (!m.free && game.IsSlot(m.parent)) slots_[fill[m.parent]++] = i;
  }
  for (int node = 0; node < n; ++node)
    OrderMainFirst(game, std::span<int32_t>(slots_.data() + start_[node], slots_.data() + start_[node + 1]));
}

std::span<const int32_t> TChildIndex::Children(int node) const {
  if (node < 0 || node + 1 >= static_cast<int>(start_.size())) return {};
  return {slots_.data() + start_[node], slots_.data() + start_[node + 1]};
}

int TChildIndex::First(int node) const {
  const auto c = Children(node);
  return c.empty() ? 0 : c[0];
}

std::vector<int32_t> CollectSubtrees(const TGame& game, std::span<const int32_t> roots) {
  // Slots above LastMove are searched too: a used slot left there by a damaged
  // record must not survive its parent and reappear under a reused slot.
  const TChildIndex index(game, game.SlotCount() - 1);
  std::vector<bool> seen(game.SlotCount(), false);
  std::vector<int32_t> result;
  std::vector<int32_t> stack;
  for (int32_t root : roots) {
    if (!game.IsSlot(root) || seen[root]) continue;
    seen[root] = true;
    stack.push_back(root);
    while (!stack.empty()) {
      const int32_t s = stack.back();
      stack.pop_back();
      result.push_back(s);
      for (int32_t c : index.Children(s))
        if (!seen[c]) {
          seen[c] = true;
          stack.push_back(c);
        }
    }
  }
  return result;
}

}  // namespace kestrel
