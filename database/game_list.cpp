#include "database/game_list.h"

#include <algorithm>

namespace kestrel {

void TGameList::Reset(int32_t dbSize) {
  dbSize = std::max(dbSize, 0);
  // Grown with room to spare, so that appending games does not regrow it.
  if (static_cast<int64_t>(items_.size()) < static_cast<int64_t>(dbSize) + 1)
    items_.resize(static_cast<std::size_t>(dbSize) + 100);
  for (int32_t i = 1; i <= dbSize; ++i) items_[i] = {i, false, -1};
  GameListCount = dbSize;
}

void TGameList::SetEntries(const std::vector<TDBListRec>& found) {
  if (items_.size() < found.size() + 1) items_.resize(found.size() + 100);
  std::copy(found.begin(), found.end(), items_.begin() + 1);
  GameListCount = static_cast<int32_t>(found.size());
}

int32_t TGameList::SelectedCount() const {
  return static_cast<int32_t>(
      std::count_if(items_.begin() + 1, items_.begin() + 1 + GameListCount, [](const TDBListRec& r) { return r.selected; }));
}

}  // namespace kestrel
