// "Sort games list": the list ordered by up to nine header keys in priority
// order, and optionally the index file rewritten in that order ("Save to
// database"). Each header is read once and its keys kept, so the sort never
// goes back to the file; equal entries keep their list order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "database/maintenance/index_rewrite.h"
#include "database/maintenance/progress.h"

namespace kestrel {

enum class TSortKey : uint8_t { tournament, round, date, white, black, site, annotator, result, length };

inline constexpr std::string_view SortOptionsErrorText = "Sort options error!";

// The nine item texts of the dialog, in the order of TSortKey.
std::string_view SortKeyText(TSortKey key);
// The key whose item text is `text` (English, letter case ignored), or none.
std::optional<TSortKey> ParseSortKey(std::string_view text);
// The dialog's default order: all nine keys.
std::vector<TSortKey> AllSortKeys();

// Sorts entries 1..GameListCount ascending by the keys.
void SortGameList(const TKestrelDB& db, TGameList& list, const std::vector<TSortKey>& keys,
                  TProgress& progress = NoProgress());

// "Save to database" is offered only while the list holds the whole database.
bool CanSaveSortOrder(const TKestrelDB& db, const TGameList& list);

// Rewrites the index file in list order and resets the list. Raises
// TDatabaseError when the list is not the whole database or the index cannot
// be replaced (the database is then unchanged).
TRenumbering SaveSortOrder(TKestrelDB& db, TGameList& list);

}  // namespace kestrel
