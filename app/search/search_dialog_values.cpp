#include "app/search/search_dialog_values.h"

#include <algorithm>

#include "database/ansi_case.h"

namespace kestrel {

void SetComments(TSearchDialogValues& v, bool on) {
  v.comments = on;
  if (on) v.uncommented = false;
}

void SetVariations(TSearchDialogValues& v, bool on) {
  v.variations = on;
  if (on) v.uncommented = false;
}

void SetUncommented(TSearchDialogValues& v, bool on) {
  v.uncommented = on;
  if (on) v.comments = v.variations = false;
}

namespace {

uint16_t Clamp16(int x, int lo, int hi) { return static_cast<uint16_t>(std::clamp(x, lo, hi)); }
uint8_t Clamp8(int x) { return static_cast<uint8_t>(std::clamp(x, 0, 255)); }

void SetSwitches(const TSearchDialogValues& v, TSearchSwitches& s) {
  s.deleted = v.deleted;
  s.comments = v.comments;
  s.variations = v.variations;
  s.uncommented = v.uncommented;
  s.gameType = v.typeChecked ? v.type : 0;
}

}  // namespace

void ToSearchRecord(const TSearchDialogValues& v, TSearchInfo& info, TSearchSwitches& switches) {
  info.name = {AnsiLowerCase(v.white), AnsiLowerCase(v.black)};
  info.tourn = AnsiLowerCase(v.tournament);
  info.site = AnsiLowerCase(v.site);
  info.annot = AnsiLowerCase(v.annotator);
  info.rescheck = v.results;
  info.ignorecol = v.ignoreColors;
  info.ignorecolboard = v.reversed;
  info.onlyinitial = v.onlyInitial;
  info.yearstart = Clamp16(v.yearFrom, 0, 2100);
  info.yearend = Clamp16(v.yearTo, 0, 2100);
  info.movestart = Clamp16(v.lengthFrom, 0, 255);
  info.moveend = Clamp16(v.lengthTo, 0, 255);
  info.SearchForPos = v.position;
  info.wm = v.material[mrWhiteMen], info.wmmin = Clamp8(v.materialMin[mrWhiteMen]), info.wmmax = Clamp8(v.materialMax[mrWhiteMen]);
  info.bm = v.material[mrBlackMen], info.bmmin = Clamp8(v.materialMin[mrBlackMen]), info.bmmax = Clamp8(v.materialMax[mrBlackMen]);
  info.wk = v.material[mrWhiteKings], info.wkmin = Clamp8(v.materialMin[mrWhiteKings]),
  info.wkmax = Clamp8(v.materialMax[mrWhiteKings]);
  info.bk = v.material[mrBlackKings], info.bkmin = Clamp8(v.materialMin[mrBlackKings]),
  info.bkmax = Clamp8(v.materialMax[mrBlackKings]);
  info.tot = v.material[mrTotal], info.totmin = Clamp8(v.materialMin[mrTotal]), info.totmax = Clamp8(v.materialMax[mrTotal]);
  const int squares = PatternSquareCount(v.board);
  info.brdsearch = v.pattern.board;
  BuildReversedPattern(info, squares);
  info.whitemovechecked = v.whiteMoves;
  info.blackmovechecked = v.blackMoves;
  info.Comb = v.position && v.pattern.comb;
  info.CombFr = v.pattern.combFr;
  info.CombTo = v.pattern.combTo;
  info.CombCnt = static_cast<uint8_t>(std::clamp(v.combCount, 1, 99));
  SetSwitches(v, switches);
  switches.position = v.position;
  switches.squareCount = squares;
}

void ToQuickSearch(TSearchDialogValues& v, const TBrd& board, TDColor sideToMove, int squareCount,
                   TSearchInfo& info, TSearchSwitches& switches) {
  v.comments = v.variations = v.onlyInitial = false;
  SetSwitches(v, switches);
  SetQuickSearch(info, switches, board, sideToMove, squareCount);
}

}  // namespace kestrel
