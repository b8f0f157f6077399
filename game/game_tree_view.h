// Everything the game panel shows, kept apart from the widget that draws it:
// the laid-out tree, the header lines and the scroll position.
#pragma once

#include <span>
#include <vector>

#include "game/game.h"
#include "game/tree_header.h"
#include "game/tree_hit_test.h"
#include "game/tree_layout.h"

namespace kestrel {

enum class TTreeClickAction : uint8_t {
  none,
  goToMove,          // make `slot` current
  goToMoveAndMenu,   // make `slot` current, then open the annotation menu
  headerDialog,      // edit the header
};

struct TTreeClick {
  TTreeClickAction action = TTreeClickAction::none;
  int slot = -1;
};

class TGameTreeView {
 public:
  // Lays the game out for a panel of the given client size; `lineHeight` is
  // the height of a blank in the panel's font plus 2. The current move is
  // scrolled into view.
  void Build(const TGame& game, const TTextWidth& width, const TTreeLayoutOptions& options, int panelHeight,
             int lineHeight);

  // The header only, after a change of the header.
  void ReadHeader(const TGame& game, const TTextWidth& width, int panelWidth);

  // A new height keeps the layout; the scroll bar is fitted again.
  void Resize(int panelHeight);

  // The user moved the scroll bar.
  void SetBarPosition(int position) { barPosition_ = FirstShownLine(scroll_, position); }

  // After a change of the current move.
  void ShowSlot(int slot);

  int FirstLine() const { return FirstShownLine(scroll_, barPosition_); }
  // The items drawn: from the first on the first visible line, while their
  // line lies within the visible lines.
  std::span<const TTreeItem> VisibleItems() const;
  // Top of an item's text in the panel's client area.
  int ItemTop(const TTreeItem& item) const;
  // Left of an item's text in the panel's client area.
  static int ItemLeft(const TTreeItem& item) { return TreeLeftMargin + item.posstart; }

  // A click at (x, y) of the panel's client area.
  TTreeClick Click(int x, int y, bool rightButton) const;

  const TTreeLayout& Layout() const { return layout_; }
  const TTreeScroll& Scroll() const { return scroll_; }
  const TTreeHeader& Header() const { return header_; }
  const std::vector<THeaderLine>& HeaderLines() const { return headerLines_; }

 private:
  TTreeLayout layout_;
  TTreeScroll scroll_;
  TTreeHeader header_;
  std::vector<THeaderLine> headerLines_;
  int lineHeight_ = 1;
  int panelHeight_ = 0;
  int barPosition_ = 0;
};

}  // namespace kestrel
