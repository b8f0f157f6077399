#include "database/search/search_info.h"

namespace kestrel {

void BuildReversedPattern(TSearchInfo& info, int squareCount) {
  info.brdsearchrev = TBrd{};
  for (int k = 1; k <= squareCount && k <= MaxSquares; ++k) {
    const int8_t v = info.brdsearch[k];
    info.brdsearchrev[squareCount + 1 - k] = v == AnySquare ? AnySquare : static_cast<int8_t>(-v);
  }
}

void SetQuickSearch(TSearchInfo& info, TSearchSwitches& switches, const TBrd& board, TDColor sideToMove,
                    int squareCount) {
  info.name = {};
  info.tourn.clear();
  info.site.clear();
  info.annot.clear();
  info.yearstart = 0;
  info.yearend = 65535;
  info.movestart = 0;
  info.moveend = 255;
  info.rescheck.fill(true);
  info.ignorecol = false;
  info.ignorecolboard = true;
  info.onlyinitial = false;
  info.tot = info.wm = info.bm = info.wk = info.bk = false;
  info.Comb = false;
  info.whitemovechecked = sideToMove == TDColor::white;
  info.blackmovechecked = sideToMove == TDColor::black;
  info.brdsearch = board;
  BuildReversedPattern(info, squareCount);
  switches.comments = false;
  switches.variations = false;
  switches.position = true;
  switches.squareCount = squareCount;
}

}  // namespace kestrel
