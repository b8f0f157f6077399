// Opening, creating and closing a database of three files that share one
// base name: X.abd (header records), X.abm (version byte and games) and
// X.abn (names).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "database/kestrel_db.h"

namespace kestrel {

inline constexpr std::string_view WrongDatabaseTypeText = "Wrong database type";
inline constexpr std::string_view ConversionErrorText = "Error converting Database!";
inline constexpr std::string_view CannotOpenText = "Cannot open the database.";  // language text 307
inline constexpr std::string_view CreateQuestionText = "Create new database?";     // language text 306
inline constexpr std::string_view InUseText = "Database is in use by another program";

enum class TOpenStatus : uint8_t {
  opened,
  filesMissing,      // not all three files exist
  cannotOpen,        // the main file or the names file cannot be read
  wrongType,         // version byte outside 20..30
  notConverted,      // an older version, opened without conversion
  conversionFailed,  // "Error converting Database!"
  created,           // OpenOrCreateDatabase made a new database
  cancelled,         // OpenOrCreateDatabase: the user declined to create one
  inUse,             // another writer holds the database; it may be opened read-only
};

// How a database is opened. A writer holds an advisory lock on it for as long
// as it is open, so two writers never meet; readers take no lock. Files or
// folders that cannot be written open read-only whatever is asked.
enum class TDBAccess : uint8_t { readWrite, readOnly };

struct TOpenResult {
  TOpenStatus status = TOpenStatus::filesMissing;
  std::string message;             // for the user; empty when there is nothing to say
  std::vector<std::string> notes;  // games a conversion could not read
  bool ok() const { return status == TOpenStatus::opened || status == TOpenStatus::created; }
};

// The path without its extension: the text before the last "." that comes
// after the last folder separator; the whole path when there is none.
std::string DatabaseBaseName(std::string_view path);

bool DatabaseFilesExist(std::string_view path);

// Opens the database named by `path` (any of its three file names, or the
// base) into `db`, closing what `db` held. An older version is converted to
// version 30 first when `convert` is set, else left unopened.
// A conversion cut short is finished first. Read-only databases are
// never converted.
TOpenResult OpenDatabase(std::string_view path, TKestrelDB& db, bool convert,
                         TDBAccess access = TDBAccess::readWrite);

// Creates an empty version-30 database, replacing files of the same base
// name, and leaves it open. The names file is written at once, so that the
// new database can be opened again whatever happens to this process.
// Raises TDatabaseError, with InUseText when another writer holds a
// database of that name (which is then left untouched).
void CreateDatabase(std::string_view path, TKestrelDB& db);

// OpenDatabase with conversion; when that fails and the files exist, "Cannot
// open the database."; when they do not, asks `confirmCreate` with "Create
// new database?" and creates the database on yes.
TOpenResult OpenOrCreateDatabase(std::string_view path, TKestrelDB& db,
                                 const std::function<bool(std::string_view question)>& confirmCreate);

// Writes the names file when names were added, closes both files, empties
// the lists. Nothing for a database that is not open. Raises TDatabaseError
// when the names file cannot be written; the database is closed all the same.
void CloseDatabase(TKestrelDB& db);

}  // namespace kestrel
