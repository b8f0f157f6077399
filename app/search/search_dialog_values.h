// The values of the "New search" dialog, kept between openings, and how they
// become the search record and the switches of the scan.
#pragma once

#include <array>
#include <string>

#include "app/search/pattern_board.h"
#include "database/search/search_info.h"

namespace kestrel {

// Material rows of the dialog, in its order.
enum TMaterialRow { mrWhiteMen, mrBlackMen, mrWhiteKings, mrBlackKings, mrTotal, MaterialRows };

struct TSearchDialogValues {
  TSearchDialogValues() { CleanPattern(pattern); }

  std::string white, black, tournament, site, annotator;
  bool ignoreColors = false;
  std::array<bool, 6> results{true, true, true, true, true, true};
  int yearFrom = 0, yearTo = 2100;
  int lengthFrom = 0, lengthTo = 255;
  bool deleted = false, comments = false, variations = false, uncommented = false;
  bool typeChecked = false;
  int type = 1;
  bool position = false;  // the position part is open
  TPatternBoardKind board = TPatternBoardKind::b64;
  TPatternState pattern;
  bool whiteMoves = true, blackMoves = true;
  bool reversed = false, onlyInitial = false;
  std::array<bool, MaterialRows> material{};
  std::array<int, MaterialRows> materialMin{}, materialMax{12, 12, 12, 12, 24};
  int combCount = 1;  // "draughts>="
};

// "Comments" and "Variations" each clear "Uncommented"; "Uncommented" clears both.
void SetComments(TSearchDialogValues& v, bool on);
void SetVariations(TSearchDialogValues& v, bool on);
void SetUncommented(TSearchDialogValues& v, bool on);

// What "OK" gives: the record (texts lower-cased, the reversed pattern built)
// and the switches that go to the scan directly.
void ToSearchRecord(const TSearchDialogValues& v, TSearchInfo& info, TSearchSwitches& switches);

// The quick search for the main board: "Comments", "Variations" and "Only
// initial position" are cleared in the dialog; "Deleted", "Uncommented" and
// the game type stay as the dialog has them.
void ToQuickSearch(TSearchDialogValues& v, const TBrd& board, TDColor sideToMove, int squareCount,
                   TSearchInfo& info, TSearchSwitches& switches);

}  // namespace kestrel
