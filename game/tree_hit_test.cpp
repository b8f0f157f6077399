#include "game/tree_hit_test.h"

#include <algorithm>

namespace kestrel {

int VisibleLines(int panelHeight, int lineHeight) {
  if (lineHeight <= 0 || panelHeight <= TreeHeaderHeight) return 0;
  return (panelHeight - TreeHeaderHeight) / lineHeight;
}

TTreeScroll ScrollForLayout(const TTreeLayout& layout, int panelHeight, int lineHeight) {
  TTreeScroll s;
  s.visibleLines = VisibleLines(panelHeight, lineHeight);
  const int last = layout.lastLine;
  if (s.visibleLines > 0 && last >= s.visibleLines) {
    s.barShown = true;
    s.barMaximum = last;
    s.maxShowLine = last - s.visibleLines + 1;
  }
  return s;
}

int FirstShownLine(const TTreeScroll& scroll, int barPosition) {
  if (!scroll.barShown) return 0;
  return std::clamp(barPosition, 0, scroll.maxShowLine);
}

int LineKeepingSlotInView(const TTreeLayout& layout, const TTreeScroll& scroll, int firstLine, int slot) {
  if (!scroll.barShown) return firstLine;
  const auto it = std::find_if(layout.items.begin(), layout.items.end(),
                               [slot](const TTreeItem& item) { return item.moverel == slot; });
  if (it == layout.items.end()) return firstLine;
  if (it->line < firstLine) return it->line;
  if (it->line >= firstLine + scroll.visibleLines) return it->line - scroll.visibleLines + 1;
  return firstLine;
}

std::size_t FirstItemAtOrAfterLine(const TTreeLayout& layout, int line) {
  const auto it = std::lower_bound(layout.items.begin(), layout.items.end(), line,
                                   [](const TTreeItem& item, int l) { return item.line < l; });
  return static_cast<std::size_t>(it - layout.items.begin());
}

int GetMoveClick(const TTreeLayout& layout, int firstLine, int lineHeight, int x, int y) {
  if (y <= TreeHeaderHeight || lineHeight <= 0) return -1;
  const int line = (y - TreeHeaderHeight) / lineHeight + std::max(0, firstLine);
  for (std::size_t i = FirstItemAtOrAfterLine(layout, line); i < layout.items.size(); ++i) {
    const TTreeItem& item = layout.items[i];
    if (item.line != line) break;
    if (item.posstart <= x && x <= item.posend) return item.moverel;
  }
  return -1;
}

}  // namespace kestrel
