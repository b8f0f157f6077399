// The two commands that search the open database, for the database window
// and the main window: "New search" through its dialog, and the quick search
// for the position on the main board. Both run the scan under a progress
// window with Cancel and put the games found into the window's game list.
#pragma once

#include "app/search/search_dialog_values.h"
#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "database/search/search_database.h"

class QWidget;

namespace kestrel {

class SearchDialog;

// The scan with the progress window: caption "Search", "Searching..." and,
// every 1000 games, "Searching, found " with the count so far. The caller's
// window is disabled while it runs; games whose moves could not be read are
// counted in a message afterwards.
TSearchResult SearchWithProgress(QWidget* parent, const TKestrelDB& db, const TSearchInfo& info,
                                 const TSearchSwitches& switches);

// The record and the dialog's values live as long as the program.
struct TDatabaseSearch {
  TSearchInfo info;
  TSearchDialogValues values;
};

// "New search": fills the dialog's name boxes from the database and shows
// it; on "OK" sets the record, runs the scan and replaces the list, the
// cursor back on its first entry. False, with everything as it was, on
// "Cancel" or when no database is open ("Database not opened.").
bool NewSearch(QWidget* parent, SearchDialog& dialog, TKestrelDB& db, TGameList& list, TDatabaseSearch& search);

// The quick search for `board` with `sideToMove` on a board of `squareCount`
// squares; then the list holds the games where the position occurs.
bool QuickSearch(QWidget* parent, TKestrelDB& db, TGameList& list, TDatabaseSearch& search, const TBrd& board,
                 TDColor sideToMove, int squareCount);

}  // namespace kestrel
