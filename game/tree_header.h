// The header area of the game panel: players, event and game number above
// the move text.
#pragma once

#include <string>
#include <vector>

#include "game/game.h"
#include "game/tree_item_look.h"
#include "game/tree_layout.h"

namespace kestrel {

// Vertical places of the header lines, from the panel's top edge.
constexpr int HeaderNamesTop = 4;
constexpr int HeaderEventTop = HeaderNamesTop + 27;

struct TTreeHeader {
  std::string FNames;       // white name, " - ", black name
  std::string FTournament;  // the event line with the annotator
  std::string FDate;        // kept for the panel; not filled from the game
  std::string FGameNum;     // " n " for a game read from a database, else empty
  bool FDel = false;        // the game is marked deleted
  bool FSel = false;        // the game is selected in the database list
};

TTreeHeader ReadGameHeader(const TGame& game);

// One header line placed in the panel (client coordinates, top of the text).
struct THeaderLine {
  std::string Text;
  TTreeStyle font = TTreeStyle::headerNames;
  TTreeColor color = TTreeColor::windowText;
  int x = 0;
  int y = 0;
  bool strikeOut = false;
};

// The non-empty header lines: the game number at the top left, the names
// and the event centred in `panelWidth` (never left of the edge).
std::vector<THeaderLine> LayoutHeader(const TTreeHeader& header, const TTextWidth& width, int panelWidth);

}  // namespace kestrel
