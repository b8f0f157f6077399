// Appending games of one database to another: "Copy", "Merge databases"
// and the copying step of the full clean-up. Names are added in batches and
// the names file is written before the headers that use them, so a kill
// never leaves a game whose names are missing from the names file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "database/maintenance/progress.h"

namespace kestrel {

struct TTransferReport {
  int32_t copied = 0;
  int32_t unreadable = 0;  // written as the empty game the failed read leaves
  std::vector<std::string> notes;
};

// Appends games `numbers` of `source` to `target` in that order, the bar
// every 100 games. Copies get the load-time adjustments (as a loaded game
// would); `asStored` copies the records unchanged instead. Raises
// TDatabaseError when the target cannot be written.
TTransferReport AppendGames(TKestrelDB& source, const std::vector<int32_t>& numbers, TKestrelDB& target,
                            TProgress& progress, bool asStored = false);

// The games "Copy" takes: the selected entries in list order, else the
// cursor's game.
std::vector<int32_t> GamesToCopy(const TKestrelDB& db, const TGameList& list);

// "Copy": opens (or creates) the database `targetPath` and appends the games.
// Copying into the database itself is refused.
TTransferReport CopyGames(TKestrelDB& db, const std::vector<int32_t>& numbers, const std::string& targetPath,
                          TProgress& progress);

// "Merge databases": each file in order, a ".pdn" imported, an ".abd"
// opened (converted when older) and appended whole. A file that cannot be
// read is noted and skipped. Raises TDatabaseError when `db` cannot be
// written.
TTransferReport MergeIntoDatabase(TKestrelDB& db, const std::vector<std::string>& files, TProgress& progress);

}  // namespace kestrel
