#include "game/game_tree_view.h"

#include <algorithm>

namespace kestrel {

void TGameTreeView::Build(const TGame& game, const TTextWidth& width, const TTreeLayoutOptions& options,
                          int panelHeight, int lineHeight) {
  ReadHeader(game, width, options.width);
  layout_ = BuildTreeLayout(game, width, options);
  lineHeight_ = lineHeight;
  Resize(panelHeight);
  ShowSlot(game.CurMovPos);
}

void TGameTreeView::ReadHeader(const TGame& game, const TTextWidth& width, int panelWidth) {
  header_ = ReadGameHeader(game);
  headerLines_ = LayoutHeader(header_, width, panelWidth);
}

void TGameTreeView::Resize(int panelHeight) {
  panelHeight_ = panelHeight;
  scroll_ = ScrollForLayout(layout_, panelHeight, lineHeight_);
  barPosition_ = FirstShownLine(scroll_, barPosition_);
}

void TGameTreeView::ShowSlot(int slot) {
  barPosition_ = LineKeepingSlotInView(layout_, scroll_, FirstLine(), slot);
}

std::span<const TTreeItem> TGameTreeView::VisibleItems() const {
  const int first = FirstLine();
  const std::size_t begin = FirstItemAtOrAfterLine(layout_, first);
  const std::size_t end = FirstItemAtOrAfterLine(layout_, first + scroll_.visibleLines);
  return std::span<const TTreeItem>(layout_.items).subspan(begin, end - begin);
}

int TGameTreeView::ItemTop(const TTreeItem& item) const {
  return TreeHeaderHeight + (item.line - FirstLine()) * lineHeight_;
}

TTreeClick TGameTreeView::Click(int x, int y, bool rightButton) const {
  TTreeClick click;
  // Lines below the last whole one are not drawn, so they cannot be hit.
  const bool shown = y <= TreeHeaderHeight || (y - TreeHeaderHeight) / std::max(1, lineHeight_) < scroll_.visibleLines;
  click.slot = shown ? GetMoveClick(layout_, FirstLine(), lineHeight_, x - TreeLeftMargin, y) : -1;
  if (click.slot >= 0) {
    click.action = rightButton ? TTreeClickAction::goToMoveAndMenu : TTreeClickAction::goToMove;
  } else if (rightButton && y < TreeHeaderHeight) {
    click.action = TTreeClickAction::headerDialog;
  }
  return click;
}

}  // namespace kestrel
