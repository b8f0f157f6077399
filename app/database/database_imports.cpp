#include "app/database/database_imports.h"

#include "database/database_file.h"
#include "database/db_error.h"
#include "database/code_page.h"
#include "formats/pdn_import.h"
#include "formats/text_import.h"

namespace kestrel {

std::string TImportReport::Summary() const {
  if (!ok && games == 0 && !message.empty()) return message;
  std::string text = std::to_string(games) + " games imported, " + std::to_string(damaged) + " damaged.";
  if (cancelled) text += "\nThe import was cancelled; the games read so far are kept.";
  if (!variant.empty()) text += "\n" + variant;
  if (lostTexts > 0)
    text += "\n" + std::to_string(lostTexts) + " texts lost characters that " + CodePageName(CurrentCodePage()) +
            " cannot hold.";
  if (!firstDamaged.empty()) text += "\nFirst damaged: " + firstDamaged;
  if (!message.empty()) text += "\n" + message;
  return text;
}

TImportReport ImportPdnAsCurrent(TCurrentDatabase& current, const std::string& pdnPath, int defaultType,
                                 const TImportProgress& progress) {
  TImportReport report;
  const std::string target = DatabaseBaseName(pdnPath) + ".abd";
  // The new database replaces one of the same name: when that is the open
  // one, it is closed first (else the lock refuses the import).
  if (current.IsOpen() && DatabaseBaseName(current.DB().DBNameIdx) == DatabaseBaseName(target)) current.Close();
  TPdnImportOptions options;
  options.defaultType = defaultType;
  options.detectVariant = true;
  if (progress)
    options.progress = [&progress](const TPdnImportProgress& p) { return progress(p.bytesRead, p.totalBytes); };
  TPdnImportSummary summary;
  try {
    report.dbPath = ImportPDNAsDatabase(pdnPath, summary, options);
  } catch (const TPdnFileError& e) {
    report.message = e.what();
    return report;
  } catch (const TDatabaseError& e) {
    report.message = e.what();
    return report;
  }
  report.games = summary.games;
  report.damaged = summary.damaged;
  report.cancelled = summary.cancelled;
  report.lostTexts = summary.lostTexts;
  if (summary.variant.detected) report.variant = summary.variant.Explanation();
  if (!summary.notes.empty()) {
    const TPdnGameNote& n = summary.notes.front();
    report.firstDamaged = "game " + std::to_string(n.game) + " (line " + std::to_string(n.line) + "): " + n.reason;
  }
  const TOpenResult opened = current.Open(report.dbPath, nullptr);
  report.ok = opened.ok();
  if (!report.ok) report.message = opened.message.empty() ? std::string(CannotOpenText) : opened.message;
  return report;
}

TImportReport ImportTextAsCurrent(TCurrentDatabase& current, const std::string& textPath, int defaultType,
                                  const TImportProgress& progress) {
  try {
    ConvertTextFile(textPath);
  } catch (const std::exception& e) {
    TImportReport report;
    report.message = e.what();
    return report;
  }
  return ImportPdnAsCurrent(current, textPath + ".pdn", defaultType, progress);
}

}  // namespace kestrel
