#include "database/maintenance/index_rewrite.h"

#include <string>

#include "database/db_error.h"
#include "database/derived_header.h"
#include "database/file_replace.h"
#include "database/game_io.h"
#include "database/header_records.h"

namespace kestrel {

TRenumbering RewriteIndex(TKestrelDB& db, const std::vector<int32_t>& order) {
  if (!db.DBOpened || db.DBType != CurrentDBVersion)
    throw TDatabaseError("only an open database of version 30 can be rewritten");
  TRenumbering r;
  r.newNumber.assign(static_cast<std::size_t>(db.DBSize) + 1, 0);
  std::string data;
  data.reserve(order.size() * HeaderRecordSize);
  THeaderBytes bytes;
  for (const int32_t n : order) {
    if (n < 1 || n > db.DBSize || r.newNumber[n] != 0) throw TDatabaseError("bad game order");
    if (!db.DBIdx.ReadAt(static_cast<int64_t>(n - 1) * HeaderRecordSize, bytes))
      throw TDatabaseError("cannot read the header of game " + std::to_string(n));
    data.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    r.newNumber[n] = static_cast<int32_t>(data.size() / HeaderRecordSize);
  }
  r.removed = db.DBSize - static_cast<int32_t>(order.size());
  ReplaceFileContents(db.DBNameIdx, data);
  // The open handle still reads the old file; the new one takes its place.
  TBinaryFile fresh;
  if (!fresh.Open(db.DBNameIdx, TBinaryFile::TMode::readWrite))
    throw TDatabaseError("cannot reopen " + db.DBNameIdx);
  db.DBIdx = std::move(fresh);
  db.DBSize = db.RecordCount();
  if (db.DBCurPos > db.DBSize) db.DBCurPos = db.DBSize;
  if (db.DBCurPos < 1) db.DBCurPos = 1;
  return r;
}

TRenumbering QuickCleanUp(TKestrelDB& db) {
  std::vector<int32_t> keep;
  keep.reserve(static_cast<std::size_t>(db.DBSize));
  TGameHeader h;
  for (int32_t n = 1; n <= db.DBSize; ++n)
    // An unreadable record cannot be told deleted; it is kept.
    if (!ReadHeaderRecord(db, n, h) || !(h.Flags & hfDeleted)) keep.push_back(n);
  return RewriteIndex(db, keep);
}

TRenumbering DeleteSelectedGames(TKestrelDB& db, const TGameList& list) {
  std::vector<bool> gone(static_cast<std::size_t>(db.DBSize) + 1, false);
  bool any = false;
  for (int32_t i = 1; i <= list.GameListCount; ++i)
    if (list[i].selected && list[i].num >= 1 && list[i].num <= db.DBSize) any = gone[list[i].num] = true;
  TRenumbering r;
  if (!any) {
    r.newNumber.resize(static_cast<std::size_t>(db.DBSize) + 1);
    for (int32_t n = 1; n <= db.DBSize; ++n) r.newNumber[n] = n;
    return r;
  }
  std::vector<int32_t> keep;
  for (int32_t n = 1; n <= db.DBSize; ++n)
    if (!gone[n]) keep.push_back(n);
  return RewriteIndex(db, keep);
}

void ForgetMovedGame(TGame& game, const TKestrelDB& db, const TRenumbering& renumbering) {
  if (game.DBGameNo != 0 && game.DBName == db.DBNameMain && renumbering.Changes(game.DBGameNo)) game.DBGameNo = 0;
}

}  // namespace kestrel
