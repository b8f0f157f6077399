// How an item of the game panel is drawn: font, colours and decorations,
// named by role so that the panel maps them to its settings and palette.
#pragma once

#include <cstdint>

#include "game/tree_layout.h"

namespace kestrel {

enum class TTreeColor : uint8_t {
  mainLine,       // the four colours of the panel's settings
  secondLine,
  thirdLine,
  comment,
  highlightText,  // the current move's text
  currentMove,    // medium grey behind the current move
  buttonFace,     // the panel's background
  windowText,     // header lines
  selectedGame,   // red: the game is selected in the database list
};

struct TItemLook {
  TTreeStyle font = TTreeStyle::mainLine;
  TTreeColor text = TTreeColor::mainLine;
  TTreeColor background = TTreeColor::buttonFace;
  bool underline = false;  // the viewing-start move
  bool strikeOut = false;  // hidden in extra short notation, in composer mode
};

// The colour setting that goes with one of the four tree styles.
TTreeColor StyleColor(TTreeStyle style);

// The look of `item` while `currentSlot` is the current move.
TItemLook ItemLook(const TTreeLayout& layout, const TTreeItem& item, int currentSlot);

}  // namespace kestrel
