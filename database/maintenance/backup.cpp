#include "database/maintenance/backup.h"

#include <zip.h>

#include <memory>

#include "database/database_file.h"
#include "database/db_error.h"
#include "database/names_file.h"
#include "database/maintenance/progress_texts.h"

namespace kestrel {
namespace {

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void Fail(const std::string& zipPath, zip_t* archive) {
  const std::string reason = archive ? zip_strerror(archive) : "cannot create the archive";
  if (archive) zip_discard(archive);
  throw TDatabaseError(zipPath + ": " + reason);
}

}  // namespace

std::string BackupFileName(const std::string& databasePath, const std::tm& when) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
  return FileNameOf(DatabaseBaseName(databasePath)) + " " + stamp + ".zip";
}

void BackupDatabase(TKestrelDB& db, const std::string& zipPath, TProgress& progress) {
  if (!db.DBOpened) throw TDatabaseError("Database not opened.");
  SaveDBNames(db);
  int error = 0;
  // libzip writes a temporary file and renames it over the archive at the end.
  zip_t* archive = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) Fail(zipPath, nullptr);
  TProgressStage stage(progress, CopyDatabaseCaption, CopyingText, 3);
  int step = 0;
  for (const std::string& file : {db.DBNameIdx, db.DBNameNames, db.DBNameMain}) {
    zip_source_t* source = zip_source_file(archive, file.c_str(), 0, -1);
    if (!source) Fail(zipPath, archive);
    const zip_int64_t index = zip_file_add(archive, FileNameOf(file).c_str(), source, ZIP_FL_OVERWRITE);
    if (index < 0) {
      zip_source_free(source);
      Fail(zipPath, archive);
    }
    if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) != 0)
      Fail(zipPath, archive);
    stage.Step(++step);
  }
  if (zip_close(archive) != 0) Fail(zipPath, archive);
}

}  // namespace kestrel
