// Diagrams as pictures drawn from the diagram font's own outlines, for
// documents that must show boards without the font installed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/export/diagram_text.h"
#include "rules/board.h"

namespace kestrel {

// Pixels per board square of the pictures put into RTF documents.
inline constexpr int DiagramCellPixels = 40;

// 8-bit grey levels (0 black ink, 255 paper), top row first.
struct TDiagramPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> grey;
};

// Draws the framed diagram as the font would show it, each square
// `cellPixels` wide, with anti-aliased edges.
TDiagramPicture DrawDiagramPicture(const TBrd& board, int type, const TDiagramLayout& layout, int cellPixels);

// The picture as a PNG file (greyscale, 8 bits).
std::string EncodePng(const TDiagramPicture& picture);

}  // namespace kestrel
