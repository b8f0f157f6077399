// "Backup database": the three files of a database in one zip archive, each
// under its own file name and compressed with Deflate.
#pragma once

#include <ctime>
#include <string>

#include "database/kestrel_db.h"
#include "database/maintenance/progress.h"

namespace kestrel {

// The proposed archive name: the database's base name without its folder, a
// blank, the local date and time as YYYYMMDD-HHMMSS, and ".zip".
std::string BackupFileName(const std::string& databasePath, const std::tm& when);

// Writes the names file, then the archive (a file of that name is replaced
// only once the new archive is complete). Raises TDatabaseError.
void BackupDatabase(TKestrelDB& db, const std::string& zipPath, TProgress& progress = NoProgress());

}  // namespace kestrel
