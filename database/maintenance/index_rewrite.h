// Commands that change which header records the index file holds, or their
// order, without touching the main file: quick clean-up, physical delete and
// the saved sort. Each writes the new index file beside the old one and
// renames it over, so a kill leaves the old index or the new one.
#pragma once

#include <cstdint>
#include <vector>

#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "game/game.h"

namespace kestrel {

// Old game number -> new one (0: removed); entry 0 unused.
struct TRenumbering {
  std::vector<int32_t> newNumber;
  int32_t removed = 0;
  int32_t NewNumber(int32_t old) const {
    return old >= 1 && old < static_cast<int32_t>(newNumber.size()) ? newNumber[old] : 0;
  }
  bool Changes(int32_t old) const { return NewNumber(old) != old; }
};

// Makes the records of the games `order` (old numbers, each at most once)
// the whole index file in that order, reopens it and sets DBSize; DBCurPos
// is lowered to DBSize when beyond it. A version-30 database only. Raises
// TDatabaseError with the database unchanged when the new file cannot be
// written or renamed.
TRenumbering RewriteIndex(TKestrelDB& db, const std::vector<int32_t>& order);

// "CleanUp database" -> "Quick": removes the records of games marked deleted.
TRenumbering QuickCleanUp(TKestrelDB& db);

// "Delete selected games (physically)": nothing when none is selected.
TRenumbering DeleteSelectedGames(TKestrelDB& db, const TGameList& list);

// An open game of this database whose number moved loses its number, so
// that saving it can never overwrite another game.
void ForgetMovedGame(TGame& game, const TKestrelDB& db, const TRenumbering& renumbering);

}  // namespace kestrel
