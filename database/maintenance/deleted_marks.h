// The deleted mark of a game (bit 7 of the header's Flags, so every list
// that shows the game sees it) and the selection marks of the game list.
#pragma once

#include <cstdint>

#include "database/game_list.h"
#include "database/kestrel_db.h"

namespace kestrel {

bool IsMarkedDeleted(const TKestrelDB& db, int32_t n);

// Rewrites only the mark in game n's record; false when there is no such
// record. Raises TDatabaseError when it cannot be written.
bool SetDeletedMark(TKestrelDB& db, int32_t n, bool deleted);

// "Delete": with entries selected, the first selected entry decides: a
// marked game clears the mark on all selected games, else all are marked.
// With none selected, the cursor's game (DBCurPos) is toggled.
void DeleteCommand(TKestrelDB& db, const TGameList& list);

void SelectAll(TGameList& list, bool selected);
// Keypad "+" and "-": entries whose game number lies in from..to.
void SelectGameRange(TGameList& list, int32_t from, int32_t to, bool selected);

}  // namespace kestrel
