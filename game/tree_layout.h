// The game panel's running text: the move tree laid out as positioned text
// items, computed without any window from a text-width function.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/game.h"

namespace kestrel {

// Font and colour of a piece of text. The first four are the items of the
// tree; the last three are the header lines.
enum class TTreeStyle : uint8_t {
  mainLine = 0,    // bold, main-line colour
  secondLine = 1,  // normal, second-line colour
  thirdLine = 2,   // italic, third-line colour
  comment = 3,     // normal, comment colour
  headerGameNum = 4,  // one point smaller than the panel font
  headerNames = 5,    // two points larger, bold
  headerEvent = 6,    // italic
};

// Width in pixels of a text drawn in a style.
using TTextWidth = std::function<int(std::string_view, TTreeStyle)>;

// Geometry of the panel, in pixels.
constexpr int TreeHeaderHeight = 60;  // the text area starts below the header
constexpr int TreeLeftMargin = 10;    // from the panel's edge to x = 0 of the items
constexpr int TreeRightReserve = 27;  // scroll bar and margins: lines end at width - 27
constexpr int TreeBlockIndent = 15;   // extra indent of each level of block variations

struct TTreeItem {
  std::string Text;
  int32_t posstart = 0;  // left edge, relative to the text area
  int32_t posend = 0;    // right edge
  int32_t line = 0;      // 0 = first
  int32_t moverel = 0;   // move slot; 0 for comments, brackets, the start mark and the result
  TTreeStyle attrib = TTreeStyle::mainLine;
  uint8_t flags = 0;  // the move's notation flags; 0 for other items
};

struct TTreeLayoutOptions {
  int width = 0;  // client width of the panel
  bool Line3InLine = true;   // simple third-level lines in parentheses inside the line
  bool ComposerMode = false;  // moves hidden in extra short notation are struck through
  int notationMode = 0;       // 0 full, 1 short, 2 extra short
  std::string takeChar = ":";
  std::string resultText = "*";  // the header's result in the current result style
};

struct TTreeLayout {
  // In line order: the lines of the items never decrease along the list.
  std::vector<TTreeItem> items;
  int32_t lastLine = 0;  // line of the last item, 0 when there is none
  int32_t ShowInit = 0;  // the viewing-start slot, drawn underlined
  bool ComposerMode = false;
};

// "n." for White's moves; "n..." for Black's when `dots`, else empty.
std::string MoveNumberText(const TGameHeader& header, int ply, bool dots);

// Lays out the game: the ballot description, the start mark "[#]", the game
// comment, the main line with its variations and comments, and the result.
TTreeLayout BuildTreeLayout(const TGame& game, const TTextWidth& width, const TTreeLayoutOptions& options);

}  // namespace kestrel
