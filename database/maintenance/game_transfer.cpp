#include "database/maintenance/game_transfer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "database/database_file.h"
#include "database/db_error.h"
#include "database/game_io.h"
#include "database/name_tables.h"
#include "database/names_file.h"
#include "formats/pdn_import.h"
#include "game/move_tree.h"
#include "rules/plain_text.h"
#include "database/maintenance/progress_texts.h"

namespace kestrel {
namespace {

constexpr std::size_t BatchSize = 500;

std::string Extension(const std::string& path) {
  const std::string base = DatabaseBaseName(path);
  return base.size() < path.size() ? Lowered(path.substr(base.size())) : std::string();
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// Writes one batch: names of all its games first, the names file once,
// then the games.
void WriteBatch(std::vector<TGame>& batch, TKestrelDB& target) {
  for (TGame& g : batch)
    SetNameIndexes(target, g.Header, g.WhiteName, g.BlackName, g.AnnotatorName, g.Tournament, g.Site);
  SaveDBNames(target);
  for (TGame& g : batch) WriteDBGame(g, 0, target, false);
  batch.clear();
}

}  // namespace

TTransferReport AppendGames(TKestrelDB& source, const std::vector<int32_t>& numbers, TKestrelDB& target,
                            TProgress& progress, bool asStored) {
  TTransferReport report;
  std::vector<TGame> batch;
  batch.reserve(BatchSize);
  int64_t done = 0;
  for (const int32_t n : numbers) {
    batch.emplace_back();
    std::string message;
    if (!ReadDBGame(source, n, asStored, batch.back(), &message)) {
      ++report.unreadable;
      report.notes.push_back(message);
      // The failed read leaves an empty game of no valid type when the
      // header was unreadable; it is stored as an empty game all the same.
      ClearGame(batch.back());
    }
    batch.back().DBGameNo = 0;
    if (batch.size() == BatchSize) WriteBatch(batch, target);
    ++report.copied;
    if (++done % 100 == 0) progress.Step(done);
  }
  WriteBatch(batch, target);
  progress.Step(done);
  return report;
}

std::vector<int32_t> GamesToCopy(const TKestrelDB& db, const TGameList& list) {
  std::vector<int32_t> out;
  for (int32_t i = 1; i <= list.GameListCount; ++i)
    if (list[i].selected) out.push_back(list[i].num);
  if (out.empty() && list.Contains(db.DBCurPos)) out.push_back(list[db.DBCurPos].num);
  return out;
}

TTransferReport CopyGames(TKestrelDB& db, const std::vector<int32_t>& numbers, const std::string& targetPath,
                          TProgress& progress) {
  const std::string targetIdx = DatabaseBaseName(targetPath) + ".abd";
  if (SameFile(targetIdx, db.DBNameIdx)) throw TDatabaseError("a database cannot be copied into itself");
  TKestrelDB target;
  const TOpenResult r = OpenOrCreateDatabase(targetPath, target, [](std::string_view) { return true; });
  if (!r.ok()) throw TDatabaseError(targetPath + ": " + (r.message.empty() ? std::string(CannotOpenText) : r.message));
  TTransferReport report;
  {
    TProgressStage stage(progress, CopyGamesCaption, CopyingText, static_cast<int64_t>(numbers.size()));
    report = AppendGames(db, numbers, target, progress);
  }
  CloseDatabase(target);
  return report;
}

TTransferReport MergeIntoDatabase(TKestrelDB& db, const std::vector<std::string>& files, TProgress& progress) {
  TTransferReport total;
  for (const std::string& file : files) {
    const std::string ext = Extension(file);
    if (ext == ".pdn") {
      try {
        const TPdnImportSummary s = ImportPDN(file, db);
        total.copied += s.games;
        total.unreadable += s.damaged;
        for (const TPdnGameNote& note : s.notes)
          total.notes.push_back(file + ": game " + std::to_string(note.game) + ": " + note.reason);
      } catch (const TPdnFileError& e) {
        total.notes.push_back(e.what());
      }
      continue;
    }
    if (ext != ".abd") {
      total.notes.push_back(file + ": neither a database nor a PDN file");
      continue;
    }
    if (SameFile(DatabaseBaseName(file) + ".abd", db.DBNameIdx)) {
      total.notes.push_back(file + ": a database cannot be merged into itself");
      continue;
    }
    TKestrelDB source;
    const TOpenResult r = OpenDatabase(file, source, true);
    if (!r.ok()) {
      total.notes.push_back(file + ": " + (r.message.empty() ? std::string(CannotOpenText) : r.message));
      continue;
    }
    std::vector<int32_t> all(static_cast<std::size_t>(source.DBSize));
    for (int32_t n = 1; n <= source.DBSize; ++n) all[n - 1] = n;
    TProgressStage stage(progress, CopyGamesCaption, std::string(CopyingFileText) + file, source.DBSize);
    const TTransferReport one = AppendGames(source, all, db, progress);
    total.copied += one.copied;
    total.unreadable += one.unreadable;
    total.notes.insert(total.notes.end(), one.notes.begin(), one.notes.end());
  }
  SaveDBNames(db);
  db.DBSize = db.RecordCount();
  return total;
}

}  // namespace kestrel
