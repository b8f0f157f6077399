// Importing every game of a PDN file into a game database.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "database/kestrel_db.h"
#include "formats/pdn_variant_detect.h"

namespace kestrel {

// A PDN file that cannot be opened or read.
class TPdnFileError : public std::runtime_error {
 public:
  explicit TPdnFileError(const std::string& what) : std::runtime_error(what) {}
};

struct TPdnImportProgress {
  int64_t bytesRead = 0;
  int64_t totalBytes = 0;
  int games = 0;
  int damaged = 0;
};

struct TPdnImportOptions {
  // Type of games without a GameType tag; 0: the current game type.
  int defaultType = 0;
  // Choose the type of games without a GameType tag by reading them under
  // each type their notation allows (defaultType wins ties).
  bool detectVariant = false;
  // Called after every game; returning false cancels the import.
  std::function<bool(const TPdnImportProgress&)> progress;
};

// A game whose move text could not be read to the end.
struct TPdnGameNote {
  int game = 0;       // number of the game in the file, from 1
  int64_t line = 0;   // its first line
  std::string reason;
};

struct TPdnImportSummary {
  int games = 0;
  int damaged = 0;
  TVariantChoice variant;  // what detectVariant chose, and why
  int lostTexts = 0;       // lines of the file whose characters the code page cannot all hold
  bool cancelled = false;
  std::vector<TPdnGameNote> notes;
};

// Appends every game of the file to the open database (a game marked
// damaged too) and writes the names file at the end. Raises TPdnFileError
// when the file cannot be read and TDatabaseError when the database cannot
// be written.
TPdnImportSummary ImportPDN(const std::string& path, TKestrelDB& db, const TPdnImportOptions& options = {});

// "Import PDN": a new database with the folder and base name of the PDN file
// and the extension ".abd" (an existing one of that name is replaced),
// filled from the file and closed again. Returns the path of its index file.
std::string ImportPDNAsDatabase(const std::string& pdnPath, TPdnImportSummary& summary,
                                const TPdnImportOptions& options = {});

// The same into a database named by `dbPath`.
void ImportPDNIntoNewDatabase(const std::string& pdnPath, const std::string& dbPath, TPdnImportSummary& summary,
                              const TPdnImportOptions& options = {});

}  // namespace kestrel
