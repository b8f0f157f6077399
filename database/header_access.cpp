#include "database/db_error.h"
#include "database/game_io.h"
#include "database/header_records.h"

namespace kestrel {

bool ReadHeaderRecord(const TKestrelDB& db, int32_t n, TGameHeader& header) {
  if (!db.DBOpened || n < 1 || n > db.DBSize) return false;
  const int64_t offset = static_cast<int64_t>(n - 1) * db.RecordSize();
  if (db.DBType == CurrentDBVersion) {
    THeaderBytes bytes;
    if (!db.DBIdx.ReadAt(offset, bytes)) return false;
    DecodeHeader(bytes, header);
  } else {
    TOldHeaderBytes bytes;
    if (!db.DBIdx.ReadAt(offset, bytes)) return false;
    DecodeOldHeader(bytes, header);
  }
  return true;
}

void WriteHeaderRecord(TKestrelDB& db, int32_t n, const TGameHeader& header) {
  if (!db.DBOpened || db.DBType != CurrentDBVersion)
    throw TDatabaseError("games are written only to an open database of version 30");
  if (n < 1 || n > db.RecordCount() + 1) throw TDatabaseError("no game number " + std::to_string(n));
  THeaderBytes bytes;
  EncodeHeader(header, bytes);
  db.DBIdx.WriteAt(static_cast<int64_t>(n - 1) * HeaderRecordSize, bytes);
}

}  // namespace kestrel
