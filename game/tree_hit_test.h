// Scrolling of the game panel and the mapping of clicks to moves.
#pragma once

#include <cstddef>

#include "game/tree_layout.h"

namespace kestrel {

// The vertical scroll bar of the text area.
struct TTreeScroll {
  int visibleLines = 0;  // whole lines that fit below the header
  bool barShown = false;
  int barMaximum = 0;    // the last line of the layout
  int maxShowLine = 0;   // highest line that may be the first visible one
};

// Lines of `lineHeight` pixels below the header of a panel `panelHeight` high.
int VisibleLines(int panelHeight, int lineHeight);

// The bar is shown when the layout has more lines than fit.
TTreeScroll ScrollForLayout(const TTreeLayout& layout, int panelHeight, int lineHeight);

// First visible line for a bar position, which may lie anywhere.
int FirstShownLine(const TTreeScroll& scroll, int barPosition);

// The first visible line that keeps the first item of `slot` in view,
// changing `firstLine` only as far as needed; unchanged when the bar is
// hidden or no item stands for the slot.
int LineKeepingSlotInView(const TTreeLayout& layout, const TTreeScroll& scroll, int firstLine, int slot);

// Index of the first item on `line` or, when that line is empty, on a later
// one; the item count when there is none.
std::size_t FirstItemAtOrAfterLine(const TTreeLayout& layout, int line);

// The slot of the item under (x, y): x relative to the text area, y to the
// panel's top. 0 for a comment, bracket, start mark or result; -1 when no
// item is there or the point lies in the header.
int GetMoveClick(const TTreeLayout& layout, int firstLine, int lineHeight, int x, int y);

}  // namespace kestrel
