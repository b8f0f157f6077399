// Exporting games as PDN: the current game appended to a file, or a range
// of a database's games into a new file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/kestrel_db.h"
#include "formats/pdn_writer.h"
#include "game/game.h"

namespace kestrel {

// The chosen file name with its extension replaced by ".pdn" (added when
// it has none).
std::string PdnExportFileName(std::string_view chosen);

// The main window's export: appends the game to the file, creating it when
// it does not exist. Raises TPdnFileError when it cannot be written.
// Returns the number of characters the file's encoding could not hold.
int AppendPDNGame(const TGame& game, const std::string& path, const TPdnWriteOptions& options = {});

struct TPdnExportSummary {
  int written = 0;
  int lostCharacters = 0;  // characters the file's encoding could not hold
  std::vector<std::string> skipped;  // games that could not be read, with the reason
};

// Writes games from..to (1-based, clamped to the database) into a new file
// that replaces any file of that name. Raises TPdnFileError.
TPdnExportSummary ExportPDN(TKestrelDB& db, const std::string& path, int32_t from, int32_t to,
                            const TPdnWriteOptions& options = {});

}  // namespace kestrel
