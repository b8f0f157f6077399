#include "formats/pdn_export.h"

#include <algorithm>
#include <fstream>

#include "database/game_io.h"
#include "formats/pdn_import.h"

namespace kestrel {

std::string PdnExportFileName(std::string_view chosen) {
  const size_t slash = chosen.find_last_of("/\\");
  const size_t dot = chosen.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  return std::string(hasExtension ? chosen.substr(0, dot) : chosen) + ".pdn";
}

int AppendPDNGame(const TGame& game, const std::string& path, const TPdnWriteOptions& options) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) throw TPdnFileError("Cannot write the file " + path);
  const int lost = WritePDNGame(game, out, options);
  out.flush();
  if (!out) throw TPdnFileError("Cannot write the file " + path);
  return lost;
}

TPdnExportSummary ExportPDN(TKestrelDB& db, const std::string& path, int32_t from, int32_t to,
                            const TPdnWriteOptions& options) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw TPdnFileError("Cannot write the file " + path);
  TPdnExportSummary summary;
  from = std::max<int32_t>(from, 1);
  to = std::min<int32_t>(to, db.DBSize);
  TGame game;
  for (int32_t n = from; n <= to; ++n) {
    std::string message;
    if (!ReadDBGame(db, n, false, game, &message) || !message.empty()) {
      summary.skipped.push_back("game " + std::to_string(n) + ": " + message);
      continue;
    }
    summary.lostCharacters += WritePDNGame(game, out, options);
    ++summary.written;
  }
  out.flush();
  if (!out) throw TPdnFileError("Cannot write the file " + path);
  return summary;
}

}  // namespace kestrel
