#include <algorithm>

#include "database/ballot_description.h"
#include "database/game_blob.h"
#include "database/game_io.h"
#include "database/load_options.h"
#include "database/name_tables.h"
#include "engine/packed_board.h"
#include "game/move_tree.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

bool Failed(TGame& game, std::string* message, int32_t n, const std::string& reason) {
  ClearGame(game);
  if (message) *message = "Game " + std::to_string(n) + " is damaged: " + reason;
  return false;
}

void LoadTimeAdjustments(TGame& game, bool keepRecord) {
  if (game.Header.TypeOfGame == gtRussian && LoadRusAsPool) game.Header.TypeOfGame = gtPool;
  if (!keepRecord && game.Header.TypeOfGame == gtRussian && !IsStandardStart(game.StartBoard, gtRussian)) {
    TBrd board;
    if (UnpackBoard(game.StartBoard, board)) game.CommentsBef[0] = BallotDescription(board);
  }
}

}  // namespace

bool ReadDBGame(TKestrelDB& db, int32_t n, bool keepRecord, TGame& game, std::string* message) {
  if (message) message->clear();
  if (!keepRecord) ClearGame(game);
  if (!db.DBOpened || n < 1 || n > db.DBSize) {
    ClearGame(game);
    if (message) *message = "There is no game " + std::to_string(n);
    return false;
  }
  game.DBGameNo = n;
  game.DBName = db.DBNameMain;
  if (!ReadHeaderRecord(db, n, game.Header)) return Failed(game, message, n, "its header cannot be read");

  const TGameHeader& h = game.Header;
  game.WhiteName = PlayerNameOf(db, h.White.NameIndex);
  game.BlackName = PlayerNameOf(db, h.Black.NameIndex);
  game.AnnotatorName = PlayerNameOf(db, h.AnnotatorIndex);
  game.Tournament = TournamentNameOf(db, h.TournamentIndex);
  game.Site = SiteNameOf(db, h.SiteIndex);

  if (h.TypeOfGame > GameTypeCount) {
    ClearGame(game);
    if (message) *message = UnsupportedGameTypeText;
    return true;
  }

  // Only whole blobs inside the main file, never over its version byte.
  const int64_t size = db.DBMain.Size();
  if (h.Offset < 1 || h.Length < 1 || h.Offset > size || h.Length > size - h.Offset)
    return Failed(game, message, n,
                  "its moves at " + std::to_string(h.Offset) + " (" + std::to_string(h.Length) +
                      " bytes) lie outside the main file");
  const std::size_t length = static_cast<std::size_t>(h.Length);
  if (db.GameBuffer.size() < length) db.GameBuffer.resize(length + 1000);
  const std::span<uint8_t> blob(db.GameBuffer.data(), length);
  if (!db.DBMain.ReadAt(h.Offset, blob)) return Failed(game, message, n, "its moves cannot be read");

  std::string error;
  if (!DecodeGameBlob(blob, db.DBType, game, error)) return Failed(game, message, n, error);
  LoadTimeAdjustments(game, keepRecord);
  return true;
}

bool ReadQuickHeader(const TKestrelDB& db, int32_t n, TQuickGameHeader& header) {
  if (!ReadHeaderRecord(db, n, header.Header)) return false;
  const TGameHeader& h = header.Header;
  header.WhiteName = PlayerNameOf(db, h.White.NameIndex);
  header.BlackName = PlayerNameOf(db, h.Black.NameIndex);
  header.AnnotatorName = PlayerNameOf(db, h.AnnotatorIndex);
  header.Tournament = TournamentNameOf(db, h.TournamentIndex);
  header.Site = SiteNameOf(db, h.SiteIndex);
  return true;
}

}  // namespace kestrel
