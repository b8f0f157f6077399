#include "database/db_error.h"
#include "database/derived_header.h"
#include "database/game_blob.h"
#include "database/game_io.h"
#include "database/name_tables.h"
#include "database/names_file.h"
#include "game/tree_check.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

void RequireWritable(const TKestrelDB& db) {
  if (!db.DBOpened || db.DBType != CurrentDBVersion)
    throw TDatabaseError("games are written only to an open database of version 30");
  if (db.DBReadOnly) throw TDatabaseError(db.DBNameIdx + " is open for reading only");
}

}  // namespace

int32_t WriteDBGame(TGame& game, int32_t n, TKestrelDB& db, bool saveNames) {
  RequireWritable(db);
  const int32_t records = db.RecordCount();
  if (n < 0 || n > records) throw TDatabaseError("there is no game " + std::to_string(n) + " to replace");
  // The reader refuses what it cannot take back, so such a game is refused
  // here, before anything is written or any name is added.
  if (!IsValidGameType(game.Header.TypeOfGame))
    throw TDatabaseError("cannot store a game of type " + std::to_string(game.Header.TypeOfGame));
  const std::string fault = CheckMoveTree(game);
  if (!fault.empty()) throw TDatabaseError("the game cannot be stored: " + fault);

  // The names reach their file before any header record refers to them, so
  // that a game saved before a crash never reads "ERROR!!!" afterwards.
  const std::array<int32_t, 3> namesBefore = NameCounts(db);
  SetNameIndexes(db, game.Header, game.WhiteName, game.BlackName, game.AnnotatorName, game.Tournament, game.Site);
  if (saveNames)
    SaveDBNames(db);
  else
    WriteAddedNames(db, namesBefore);

  NormalizeShowFrom(game);
  EncodeGameBlob(game, db.GameBuffer);
  const std::span<const uint8_t> blob(db.GameBuffer);
  DeriveHeaderFields(game);

  // Always at the end, also for a replaced game: its old moves stay intact
  // until the header record points at the new ones, so a crash at any moment
  // leaves one of the two games whole. The full clean-up reclaims the space.
  const int64_t offset = db.DBMain.Size();
  if (offset + static_cast<int64_t>(blob.size()) > MaxMainFileSize)
    throw TDatabaseError("the main file " + db.DBNameMain + " has reached its largest size");
  if (n == 0) n = records + 1;
  game.Header.Offset = static_cast<int32_t>(offset);
  game.Header.Length = static_cast<int32_t>(blob.size());

  // The blob first: a header record never points at moves not yet written.
  db.DBMain.WriteAt(offset, blob);
  WriteHeaderRecord(db, n, game.Header);
  db.DBSize = db.RecordCount();
  return n;
}

void WriteQuickHeader(TKestrelDB& db, int32_t n, TQuickGameHeader& header) {
  RequireWritable(db);
  TGameHeader stored;
  if (!ReadHeaderRecord(db, n, stored)) throw TDatabaseError("there is no game " + std::to_string(n));
  SetNameIndexes(db, header.Header, header.WhiteName, header.BlackName, header.AnnotatorName, header.Tournament,
                 header.Site);
  SaveDBNames(db);
  header.Header.Offset = stored.Offset;
  header.Header.Length = stored.Length;
  header.Header.LastMove = stored.LastMove;
  WriteHeaderRecord(db, n, header.Header);
}

}  // namespace kestrel
