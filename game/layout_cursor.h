// The write position while the game panel is laid out: the current line and
// x, and the item list that grows behind them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/tree_layout.h"

namespace kestrel {

class TLayoutCursor {
 public:
  TLayoutCursor(const TTextWidth& width, int panelWidth, std::vector<TTreeItem>& items)
      : width_(width), limit_(static_cast<int64_t>(panelWidth) - TreeRightReserve), items_(items) {}

  // Never negative, whatever the width function answers.
  int64_t Measure(std::string_view text, TTreeStyle style) const;

  // Right end of the usable part of a line.
  int64_t Limit() const { return limit_; }
  int64_t X() const { return x_; }
  int32_t Line() const { return line_; }
  // Something has been placed on the current line.
  bool LineUsed() const { return lineUsed_; }

  void NewLine(int indent);
  void SetX(int x) { x_ = x; }

  // A move, bracket, mark or result: goes to a new line at `indent` when it
  // does not fit behind what the line already holds.
  void PlaceWord(std::string text, TTreeStyle style, int32_t slot, uint8_t flags, int indent);

  // A piece of comment at the current position, no wrapping.
  void PlacePiece(std::string text);

 private:
  void Push(std::string text, TTreeStyle style, int32_t slot, uint8_t flags, int64_t width, int64_t advance);

  const TTextWidth& width_;
  int64_t limit_;
  std::vector<TTreeItem>& items_;
  int64_t x_ = 0;
  int32_t line_ = 0;
  bool lineUsed_ = false;
};

// Comment text with every control character shown as a blank.
std::string ShowableText(std::string_view text);

// Adds a comment as word-wrapped pieces in the comment style, starting at
// the cursor; continuation lines begin at `indent`.
void AddTextItems(TLayoutCursor& cursor, std::string_view comment, int indent);

}  // namespace kestrel
