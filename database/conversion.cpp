#include "database/conversion.h"

#include <cstdio>
#include <filesystem>

#include "database/database_file.h"
#include "database/derived_header.h"
#include "database/file_replace.h"
#include "database/game_io.h"
#include "game/move_tree.h"
#include "game/quick_header.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

// What is left of a game whose moves are lost: its header and names, an
// empty move tree, the deleted mark so that maintenance can find it.
void KeepHeaderOnly(TKestrelDB& old, int32_t n, TGame& game) {
  ClearGame(game);
  TQuickGameHeader quick;
  if (!ReadQuickHeader(old, n, quick)) return;
  const int type = IsValidGameType(quick.Header.TypeOfGame) ? quick.Header.TypeOfGame : game.Header.TypeOfGame;
  game.Header = quick.Header;
  game.Header.TypeOfGame = static_cast<uint8_t>(type);
  game.Header.LastMove = 0;
  game.Header.ShowFrom = 0;
  game.Header.Flags |= hfDeleted;
  SetGameNames(game, quick);
  PackBoard(InitialPosition(GameTypeOf(game)).b, game.StartBoard);
}

}  // namespace

bool ConvertDatabase(TKestrelDB& old, TKestrelDB& fresh, const std::string& base, std::vector<std::string>* problems) {
  TGame game;
  const std::string freshBase = DatabaseBaseName(fresh.DBNameIdx);
  for (int32_t n = 1; n <= old.DBSize; ++n) {
    std::string message;
    // A damaged game, or one of a type this version does not know, keeps
    // its place and header rather than becoming an empty game.
    const bool read = ReadDBGame(old, n, false, game, &message);
    if (!read || !message.empty()) {
      if (problems) problems->push_back(read ? "Game " + std::to_string(n) + ": " + message : message);
      KeepHeaderOnly(old, n, game);
    }
    WriteDBGame(game, 0, fresh, false);
  }
  CloseDatabase(old);
  CloseDatabase(fresh);
  // From here on a crash leaves a mixture of old and new names; the marker
  // lets the next opening finish what was begun.
  const std::string marker = ConversionMarkerPath(base);
  ReplaceFileContents(marker, freshBase + "\n");
  bool first = true;
  for (const char* ext : {".abd", ".abn", ".abm"}) {
    const std::string from = base + ext;
    if (std::rename(from.c_str(), (from + ".old").c_str()) != 0) {
      // Nothing renamed yet: the old database is whole where it was.
      if (first) std::remove(marker.c_str());
      return false;
    }
    first = false;
  }
  for (const char* ext : {".abd", ".abn", ".abm"})
    if (std::rename((freshBase + ext).c_str(), (base + ext).c_str()) != 0) return false;
  std::remove(marker.c_str());
  return true;
}

std::string ConversionMarkerPath(const std::string& base) { return base + ".converting"; }

void FinishInterruptedConversion(const std::string& base) {
  namespace fs = std::filesystem;
  const std::string freshBase = base + "_new";
  std::error_code ec;
  for (const char* ext : {".abd", ".abn", ".abm"}) {
    // An old file still in place while its new one waits: the first half of
    // the renames stopped before it.
    if (fs::exists(freshBase + ext, ec) && fs::exists(base + ext, ec)) {
      fs::rename(base + ext, base + ext + ".old", ec);
      if (ec) return;
    }
  }
  for (const char* ext : {".abd", ".abn", ".abm"}) {
    if (!fs::exists(freshBase + ext, ec)) continue;
    fs::rename(freshBase + ext, base + ext, ec);
    if (ec) return;
  }
  fs::remove(ConversionMarkerPath(base), ec);
}

}  // namespace kestrel
