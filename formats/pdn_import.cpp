#include "formats/pdn_import.h"

#include <filesystem>
#include <fstream>

#include "database/database_file.h"
#include "database/game_io.h"
#include "database/names_file.h"
#include "formats/pdn_game_reader.h"
#include "formats/pdn_source.h"
#include "rules/current_game_type.h"

namespace kestrel {

TPdnImportSummary ImportPDN(const std::string& path, TKestrelDB& db, const TPdnImportOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TPdnFileError("Cannot open the file " + path);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  TPdnImportSummary summary;

  TPdnImportProgress progress;
  progress.totalBytes = ec ? 0 : static_cast<int64_t>(size);
  int type = options.defaultType != 0 ? options.defaultType : CurrentGameType;
  if (options.detectVariant) {
    summary.variant = DetectPdnVariant(path, type);
    if (summary.variant.detected) type = summary.variant.type;
  }

  TPdnSource source(in);
  TPdnRawGame raw;
  TGame game;
  while (source.Next(raw)) {
    const TPdnGameReport report = ReadPdnGame(raw, type, game);
    ++summary.games;
    if (!report.complete) {
      ++summary.damaged;
      summary.notes.push_back({summary.games, raw.firstLine, report.reason});
    }
    WriteDBGame(game, 0, db, false);
    progress.bytesRead = source.BytesRead();
    progress.games = summary.games;
    progress.damaged = summary.damaged;
    if (options.progress && !options.progress(progress)) {
      summary.cancelled = true;
      break;
    }
  }
  summary.lostTexts = source.LostLines();
  if (in.bad()) {
    SaveDBNames(db);
    throw TPdnFileError("Cannot read the file " + path);
  }
  SaveDBNames(db);
  return summary;
}

void ImportPDNIntoNewDatabase(const std::string& pdnPath, const std::string& dbPath, TPdnImportSummary& summary,
                              const TPdnImportOptions& options) {
  // The file must be readable before an existing database is replaced.
  {
    std::ifstream probe(pdnPath, std::ios::binary);
    if (!probe) throw TPdnFileError("Cannot open the file " + pdnPath);
  }
  TKestrelDB db;
  CreateDatabase(dbPath, db);
  summary = ImportPDN(pdnPath, db, options);
  CloseDatabase(db);
}

std::string ImportPDNAsDatabase(const std::string& pdnPath, TPdnImportSummary& summary,
                                const TPdnImportOptions& options) {
  const std::string dbPath = DatabaseBaseName(pdnPath) + ".abd";
  ImportPDNIntoNewDatabase(pdnPath, dbPath, summary, options);
  return dbPath;
}

}  // namespace kestrel
