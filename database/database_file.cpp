#include "database/database_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "database/conversion.h"
#include "database/database_swap.h"
#include "database/db_error.h"
#include "database/header_records.h"
#include "database/names_file.h"

namespace kestrel {
namespace {

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The names file is replaced by a rename, so the folder must be writable too.
bool MayWrite(const TKestrelDB& db) {
  return ::access(FolderOf(db.DBNameIdx).c_str(), W_OK) == 0 && ::access(db.DBNameIdx.c_str(), W_OK) == 0 &&
         ::access(db.DBNameMain.c_str(), W_OK) == 0 && ::access(db.DBNameNames.c_str(), W_OK) == 0;
}

// Opening steps 1 and 2: the three paths, empty lists, no file open.
void AttachFiles(std::string_view path, TKestrelDB& db) {
  const std::string base = DatabaseBaseName(path);
  db.DBNameIdx = base + ".abd";
  db.DBNameNames = base + ".abn";
  db.DBNameMain = base + ".abm";
  db.DBNames.Clear();
  db.DBTourn.Clear();
  db.DBSites.Clear();
  db.DBCurPos = 1;
  db.DBSize = 0;
  db.DBChanged = false;
  db.DBReadOnly = false;
  db.NamesInFile = {};
}

void CloseFiles(TKestrelDB& db) {
  db.DBIdx.Close();
  db.DBMain.Close();
  db.DBNames.Clear();
  db.DBTourn.Clear();
  db.DBSites.Clear();
  db.DBOpened = false;
}

TOpenResult Unopened(TKestrelDB& db, TOpenStatus status, std::string_view message = {}) {
  CloseFiles(db);
  return {status, std::string(message), {}};
}

}  // namespace

TKestrelDB::~TKestrelDB() {
  try {
    CloseDatabase(*this);
  } catch (const TDatabaseError&) {
    // Nothing more can be done for the names at this point; every command
    // that added names has written them already.
  }
}

int TKestrelDB::RecordSize() const { return DBType == CurrentDBVersion ? HeaderRecordSize : OldHeaderRecordSize; }

int32_t TKestrelDB::RecordCount() const {
  const int64_t count = DBIdx.Size() / RecordSize();
  return count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
}

std::string DatabaseBaseName(std::string_view path) {
  for (std::size_t i = path.size(); i-- > 0;) {
    if (path[i] == '/' || path[i] == '\\') break;
    if (path[i] == '.') return std::string(path.substr(0, i));
  }
  return std::string(path);
}

bool DatabaseFilesExist(std::string_view path) {
  const std::string base = DatabaseBaseName(path);
  return FileExists(base + ".abd") && FileExists(base + ".abn") && FileExists(base + ".abm");
}

TOpenResult OpenDatabase(std::string_view path, TKestrelDB& db, bool convert, TDBAccess access) {
  CloseDatabase(db);
  AttachFiles(path, db);
  // A replacement of the three files that a kill interrupted is completed
  // before anything is read.
  try {
    FinishDatabaseSwap(DatabaseBaseName(path));
  } catch (const TDatabaseError& e) {
    return Unopened(db, TOpenStatus::cannotOpen, e.what());
  }
  if (FileExists(ConversionMarkerPath(DatabaseBaseName(path)))) FinishInterruptedConversion(DatabaseBaseName(path));
  if (!FileExists(db.DBNameIdx) || !FileExists(db.DBNameNames) || !FileExists(db.DBNameMain))
    return Unopened(db, TOpenStatus::filesMissing);
  db.DBReadOnly = access == TDBAccess::readOnly || !MayWrite(db);
  const auto mode = db.DBReadOnly ? TBinaryFile::TMode::readOnly : TBinaryFile::TMode::readWrite;
  if (!db.DBMain.Open(db.DBNameMain, mode)) {
    if (db.DBReadOnly || (errno != EACCES && errno != EROFS && errno != EPERM))
      return Unopened(db, TOpenStatus::cannotOpen);
    db.DBReadOnly = true;
    if (!db.DBMain.Open(db.DBNameMain, TBinaryFile::TMode::readOnly)) return Unopened(db, TOpenStatus::cannotOpen);
  }
  // The lock is taken on the main file before anything is read, so what is
  // read is what the one writer left.
  if (!db.DBReadOnly && !db.DBMain.TryLockExclusive()) return Unopened(db, TOpenStatus::inUse, InUseText);
  uint8_t version = 0;
  if (!db.DBMain.ReadAt(0, std::span<uint8_t>(&version, 1))) return Unopened(db, TOpenStatus::wrongType, WrongDatabaseTypeText);
  db.DBType = version;
  if (version < OldestDBVersion || version > CurrentDBVersion)
    return Unopened(db, TOpenStatus::wrongType, WrongDatabaseTypeText);
  if (!db.DBIdx.Open(db.DBNameIdx, db.DBReadOnly ? TBinaryFile::TMode::readOnly : TBinaryFile::TMode::readWrite))
    return Unopened(db, TOpenStatus::cannotOpen);
  db.DBCurPos = 1;
  db.DBSize = db.RecordCount();
  try {
    LoadDBNames(db);
  } catch (const TDatabaseError& e) {
    return Unopened(db, TOpenStatus::cannotOpen, e.what());
  }
  db.DBOpened = true;
  db.DBChanged = false;
  if (version == CurrentDBVersion) return {TOpenStatus::opened, {}, {}};

  if (!convert) return Unopened(db, TOpenStatus::notConverted);
  if (db.DBReadOnly) return Unopened(db, TOpenStatus::conversionFailed, ConversionErrorText);
  const std::string base = DatabaseBaseName(path);
  TOpenResult result;
  bool converted = false;
  try {
    TKestrelDB fresh;
    CreateDatabase(base + "_new", fresh);
    converted = ConvertDatabase(db, fresh, base, &result.notes);
  } catch (const TDatabaseError& e) {
    result.notes.emplace_back(e.what());
  }
  CloseDatabase(db);
  if (!converted) {
    result.status = TOpenStatus::conversionFailed;
    result.message = ConversionErrorText;
    return result;
  }
  TOpenResult reopened = OpenDatabase(base + ".abd", db, true);
  reopened.notes = std::move(result.notes);
  return reopened;
}

void CreateDatabase(std::string_view path, TKestrelDB& db) {
  CloseDatabase(db);
  AttachFiles(path, db);
  db.DBType = CurrentDBVersion;
  // Nothing is cut before the lock is held: a database another program has
  // open stays as it is.
  if (!db.DBMain.Open(db.DBNameMain, TBinaryFile::TMode::openOrCreate))
    throw TDatabaseError("cannot create " + db.DBNameMain);
  if (!db.DBMain.TryLockExclusive()) {
    CloseFiles(db);
    throw TDatabaseError(std::string(InUseText));
  }
  if (!db.DBIdx.Open(db.DBNameIdx, TBinaryFile::TMode::openOrCreate)) {
    CloseFiles(db);
    throw TDatabaseError("cannot create " + db.DBNameIdx);
  }
  const uint8_t version = CurrentDBVersion;
  try {
    db.DBIdx.Resize(0);
    db.DBMain.Resize(0);
    db.DBMain.WriteAt(0, std::span<const uint8_t>(&version, 1));
    db.DBChanged = true;
    SaveDBNames(db);
  } catch (const TDatabaseError&) {
    CloseFiles(db);
    throw;
  }
  db.DBCurPos = 1;
  db.DBSize = 0;
  db.DBOpened = true;
}

TOpenResult OpenOrCreateDatabase(std::string_view path, TKestrelDB& db,
                                 const std::function<bool(std::string_view question)>& confirmCreate) {
  TOpenResult result = OpenDatabase(path, db, true);
  if (result.ok()) return result;
  if (DatabaseFilesExist(path)) {
    if (!result.message.empty()) result.notes.insert(result.notes.begin(), result.message);
    result.message = CannotOpenText;
    return result;
  }
  if (!confirmCreate || !confirmCreate(CreateQuestionText)) return {TOpenStatus::cancelled, {}, {}};
  CreateDatabase(path, db);
  return {TOpenStatus::created, {}, {}};
}

void CloseDatabase(TKestrelDB& db) {
  if (!db.DBOpened || db.DBReadOnly) {
    CloseFiles(db);
    return;
  }
  try {
    SaveDBNames(db);
  } catch (const TDatabaseError&) {
    CloseFiles(db);
    throw;
  }
  CloseFiles(db);
}

}  // namespace kestrel
