#include "game/tree_item_look.h"

#include "rules/move.h"

namespace kestrel {

TTreeColor StyleColor(TTreeStyle style) {
  switch (style) {
    case TTreeStyle::mainLine:
      return TTreeColor::mainLine;
    case TTreeStyle::secondLine:
      return TTreeColor::secondLine;
    case TTreeStyle::thirdLine:
      return TTreeColor::thirdLine;
    case TTreeStyle::comment:
      return TTreeColor::comment;
    default:
      return TTreeColor::windowText;
  }
}

TItemLook ItemLook(const TTreeLayout& layout, const TTreeItem& item, int currentSlot) {
  TItemLook look;
  look.font = item.attrib;
  look.text = StyleColor(item.attrib);
  look.underline = item.moverel != 0 && item.moverel == layout.ShowInit;
  look.strikeOut = layout.ComposerMode && (item.flags & mfHideExtraShort) != 0;
  if (item.moverel != 0 && item.moverel == currentSlot) {
    look.text = TTreeColor::highlightText;
    look.background = TTreeColor::currentMove;
  }
  return look;
}

}  // namespace kestrel
