#include "game/layout_cursor.h"

#include <algorithm>
#include <limits>

namespace kestrel {
namespace {

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int64_t TLayoutCursor::Measure(std::string_view text, TTreeStyle style) const {
  return width_ ? std::max(0, width_(text, style)) : 0;
}

void TLayoutCursor::NewLine(int indent) {
  if (line_ < std::numeric_limits<int32_t>::max()) ++line_;
  x_ = indent;
  lineUsed_ = false;
}

void TLayoutCursor::PlaceWord(std::string text, TTreeStyle style, int32_t slot, uint8_t flags, int indent) {
  const int64_t w = Measure(text, style);
  const int64_t advance = Measure(text + " ", style);
  // An item wider than a whole line stays where a line starts: moving it on
  // would only leave an empty line behind.
  if (lineUsed_ && x_ + advance > limit_) NewLine(indent);
  Push(std::move(text), style, slot, flags, w, advance);
}

void TLayoutCursor::PlacePiece(std::string text) {
  const int64_t w = Measure(text, TTreeStyle::comment);
  const int64_t advance = Measure(text + " ", TTreeStyle::comment);
  Push(std::move(text), TTreeStyle::comment, 0, 0, w, advance);
}

void TLayoutCursor::Push(std::string text, TTreeStyle style, int32_t slot, uint8_t flags, int64_t width,
                         int64_t advance) {
  TTreeItem item;
  item.Text = std::move(text);
  item.posstart = Clamp32(x_);
  item.posend = Clamp32(x_ + width);
  item.line = line_;
  item.moverel = slot;
  item.attrib = style;
  item.flags = flags;
  items_.push_back(std::move(item));
  x_ = std::min<int64_t>(x_ + advance, std::numeric_limits<int32_t>::max());
  lineUsed_ = true;
}

}  // namespace kestrel
