#include "database/maintenance/full_cleanup.h"

#include <unistd.h>

#include "database/database_file.h"
#include "database/database_swap.h"
#include "database/db_error.h"
#include "database/derived_header.h"
#include "database/game_io.h"
#include "database/maintenance/game_transfer.h"
#include "database/maintenance/progress_texts.h"

namespace kestrel {
namespace {

void RemoveSet(const std::string& base) {
  for (const char* ext : {".abd", ".abm", ".abn"}) ::unlink((base + ext).c_str());
}

void Reopen(TKestrelDB& db, const std::string& path) {
  const TOpenResult r = OpenDatabase(path, db, false);
  if (!r.ok()) throw TDatabaseError(path + ": " + (r.message.empty() ? std::string(CannotOpenText) : r.message));
}

}  // namespace

TFullCleanUpReport FullCleanUp(TKestrelDB& db, TProgress& progress) {
  if (!db.DBOpened || db.DBType != CurrentDBVersion)
    throw TDatabaseError("only an open database of version 30 can be cleaned up");
  const std::string path = db.DBNameIdx;
  const std::string base = DatabaseBaseName(path);
  const std::string tmpBase = base + "_tmp";

  TFullCleanUpReport report;
  report.renumbering.newNumber.assign(static_cast<std::size_t>(db.DBSize) + 1, 0);
  std::vector<int32_t> keep;
  TGameHeader h;
  for (int32_t n = 1; n <= db.DBSize; ++n)
    if (!ReadHeaderRecord(db, n, h) || !(h.Flags & hfDeleted)) {
      keep.push_back(n);
      report.renumbering.newNumber[n] = static_cast<int32_t>(keep.size());
    }
  report.renumbering.removed = db.DBSize - static_cast<int32_t>(keep.size());

  try {
    TKestrelDB fresh;
    CreateDatabase(tmpBase + ".abd", fresh);
    {
      TProgressStage stage(progress, CopyGamesCaption, CopyingText, static_cast<int64_t>(keep.size()));
      // The games as stored: a clean-up changes no game.
      report.unreadable = AppendGames(db, keep, fresh, progress, true).unreadable;
    }
    CloseDatabase(fresh);
    // Names added since the last write go to the old names file first, so
    // that the old set stays whole should anything below fail.
    CloseDatabase(db);
  } catch (const TDatabaseError&) {
    RemoveSet(tmpBase);
    if (!db.DBOpened) Reopen(db, path);
    throw;
  }
  try {
    SwapDatabaseFiles(tmpBase, base);
  } catch (const TDatabaseError&) {
    // Before the marker was written the old set is untouched and the new
    // one is dropped; after it, the next opening completes the swap.
    if (::access(SwapMarkerPath(base).c_str(), F_OK) != 0) RemoveSet(tmpBase);
    Reopen(db, path);
    throw;
  }
  Reopen(db, path);
  return report;
}

}  // namespace kestrel
