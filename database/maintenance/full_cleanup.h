// "CleanUp database" -> "Full": the games not marked deleted are copied in
// order into a new database beside the old one ("<base>_tmp"), which then
// replaces the old three files. The old files stay whole until the new set
// is complete on disk, and a kill during the renames is finished by the
// next opening.
#pragma once

#include "database/kestrel_db.h"
#include "database/maintenance/index_rewrite.h"
#include "database/maintenance/progress.h"

namespace kestrel {

struct TFullCleanUpReport {
  TRenumbering renumbering;
  int32_t unreadable = 0;
};

// `db` is open at the start and at the end (the new files, or the old ones
// when the clean-up failed). Raises TDatabaseError when it fails; the old
// database is then untouched and no file of the new set is left behind.
TFullCleanUpReport FullCleanUp(TKestrelDB& db, TProgress& progress);

}  // namespace kestrel
