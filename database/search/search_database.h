// The scan of a database search: the header tests first, then, for the
// games that pass them, the position criterion on the stored move tree.
// Headers are read in small blocks and blobs through a bounded window, so
// memory stays the same whatever the size of the database.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "database/search/search_info.h"

namespace kestrel {

inline constexpr std::string_view SearchCaptionText = "Search";
inline constexpr std::string_view SearchingText = "Searching...";
inline constexpr std::string_view SearchingFoundText = "Searching, found ";

struct TSearchProgress {
  int32_t gameNo = 0;  // the game about to be examined
  int32_t found = 0;   // games found so far
  int32_t total = 0;   // games in the database
};

// Called before games 1, 1001, 2001, ...; returning false cancels the scan,
// which keeps the games found so far.
using TSearchProgressFn = std::function<bool(const TSearchProgress&)>;

struct TSearchResult {
  std::vector<TDBListRec> found;  // gotomove = the slot of the found position, 0 without one
  int32_t unreadable = 0;         // games whose header or moves could not be read
  bool cancelled = false;
  bool opened = true;  // false: no database was open, nothing was searched
};

TSearchResult SearchDatabase(const TKestrelDB& db, const TSearchInfo& info, const TSearchSwitches& switches,
                             const TSearchProgressFn& progress = {});

}  // namespace kestrel
