// "Import PDN" and "Import TXT" of the database window: a new database made
// beside the file, filled under a progress report that may cancel, then
// opened as the current database; and the summary shown afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/database/current_database.h"

namespace kestrel {

struct TImportReport {
  bool ok = false;         // a database was made and is now the current one
  bool cancelled = false;  // stopped by the user; the games read so far are kept
  int games = 0;
  int damaged = 0;
  std::string firstDamaged;  // "game 7 (line 120): reason"
  std::string variant;       // "no GameType tag: read as Czech, all 40 games legal", or empty
  int lostTexts = 0;         // lines whose characters the code page could not all hold
  std::string message;       // why nothing was imported
  std::string dbPath;
  // "12 games imported, 1 damaged.\nFirst damaged: ..." with the variant
  // chosen for games without a GameType tag and the texts that lost
  // characters.
  std::string Summary() const;
};

// Games without a GameType tag are read as the type under which they are
// legal (`defaultType` wins ties).
// Called now and then with bytes read and the file size; false cancels.
using TImportProgress = std::function<bool(int64_t done, int64_t total)>;

TImportReport ImportPdnAsCurrent(TCurrentDatabase& current, const std::string& pdnPath, int defaultType,
                                 const TImportProgress& progress);

// The text file becomes FILE.pdn (free-text conversion), imported as above.
TImportReport ImportTextAsCurrent(TCurrentDatabase& current, const std::string& textPath, int defaultType,
                                  const TImportProgress& progress);

}  // namespace kestrel
