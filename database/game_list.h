// The games the database window shows: all games of the database in order,
// or the result of a search. DBCurPos of the database indexes this list.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrel {

struct TDBListRec {
  int32_t num = 0;  // game number
  bool selected = false;
  int32_t gotomove = -1;  // slot to show when loaded from a search result; -1 none
};

class TGameList {
 public:
  // Entry i (1-based) of the entries in use.
  TDBListRec& operator[](int32_t i) { return items_[i]; }
  const TDBListRec& operator[](int32_t i) const { return items_[i]; }
  bool Contains(int32_t i) const { return i >= 1 && i <= GameListCount; }

  // Every game 1..dbSize, none selected.
  void Reset(int32_t dbSize);

  // Replaces the entries by `found` (a search result), in that order.
  void SetEntries(const std::vector<TDBListRec>& found);

  int32_t SelectedCount() const;

  int32_t GameListCount = 0;

 private:
  std::vector<TDBListRec> items_ = std::vector<TDBListRec>(1);  // entry 0 unused
};

}  // namespace kestrel
