// What a database search looks for: header criteria, a position pattern
// with material ranges, and a combination; filled by the "New search" dialog,
// by the quick search and by kestrel-cli.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "rules/board.h"

namespace kestrel {

// Pattern cell that accepts any contents.
constexpr int8_t AnySquare = 3;

struct TSearchInfo {
  std::array<std::string, 2> name;  // white and black player text, lower case; empty = any
  std::string tourn;                // lower case; empty = any
  std::string site;
  std::string annot;
  uint16_t yearstart = 0;
  uint16_t yearend = 2100;
  uint16_t movestart = 0;  // range of GameLength
  uint16_t moveend = 255;
  std::array<bool, 6> rescheck{true, true, true, true, true, true};  // accepted result codes
  bool SearchForPos = false;  // kept for the dialog; the scan does not read it
  bool ignorecol = false;       // also the games with the players' colours swapped
  bool ignorecolboard = false;  // also the colour-reversed position
  bool onlyinitial = false;     // the start position of each game only
  bool whitemovechecked = true;
  bool blackmovechecked = true;
  bool tot = false, wm = false, bm = false, wk = false, bk = false;  // material ranges switched on
  uint8_t totmin = 0, totmax = 0;
  uint8_t wmmin = 0, bmmin = 0, wkmin = 0, bkmin = 0;
  uint8_t wmmax = 0, bmmax = 0, wkmax = 0, bkmax = 0;
  // Not read by the scan; kept so that the record stays whole.
  uint16_t wsst = 0, wsen = 0, bsst = 0, bsen = 0, wkst = 0, wken = 0, bkst = 0, bken = 0, totst = 0, toten = 0;
  TBrd brdsearch{};     // per square a cell code or AnySquare
  TBrd brdsearchrev{};  // brdsearch turned through 180 degrees, colours swapped
  int32_t CombFr = -1;  // combination start square; -1 any
  int32_t CombTo = -1;  // combination end square; -1 any
  bool Comb = false;
  uint8_t CombCnt = 1;  // least number of pieces the combination takes
};

// What the dialog passes to the scan beside the record.
struct TSearchSwitches {
  bool deleted = false;      // only games marked deleted
  bool comments = false;     // only commented games
  bool variations = false;   // only games with variations
  bool uncommented = false;  // only games without comments and variations
  int gameType = 0;          // 1..12: only games of that type; 0 any
  bool position = false;     // apply the position criterion
  int squareCount = 32;      // squares of the pattern board (32, 40, 50 or 72)
};

// brdsearchrev from brdsearch on a board of `squareCount` squares: square
// N + 1 - k holds AnySquare where square k does, else the negated cell.
void BuildReversedPattern(TSearchInfo& info, int squareCount);

// The quick search for a position: no header criteria, every result, the
// exact position with the given side to move or its colour-reversed mirror,
// no material ranges, no combination. The switches keep "Deleted",
// "Uncommented" and the game type; "Comments" and "Variations" are cleared.
void SetQuickSearch(TSearchInfo& info, TSearchSwitches& switches, const TBrd& board, TDColor sideToMove,
                    int squareCount);

}  // namespace kestrel
