// The drawings of the "Kestrel Draughts" diagram font: frame pieces, light
// and dark squares, men and kings, as outlines of straight and quadratic
// segments. The TrueType font and the PNG diagrams are both made from them,
// so the two kinds of diagram look alike.
#pragma once

#include <vector>

namespace kestrel {

// Glyph coordinates: a square cell of GlyphUnits with y pointing up and the
// baseline at y = 0; every line of a diagram is one cell high.
inline constexpr int GlyphUnits = 1024;

struct TOutlinePoint {
  int x = 0, y = 0;
  bool onCurve = true;  // false: the control point of a quadratic segment
};

// A closed contour. Filled areas go clockwise, holes counter-clockwise; the
// fill rule is nonzero winding.
using TContour = std::vector<TOutlinePoint>;

struct TGlyphDrawing {
  char character = 0;  // 0 for the glyph of characters the font lacks
  int advance = GlyphUnits;
  std::vector<TContour> contours;
};

// Every glyph of the font: the missing-character glyph first, then the
// diagram characters in character order.
const std::vector<TGlyphDrawing>& DiagramGlyphs();

// The drawing of `character`; the missing-character glyph for others.
const TGlyphDrawing& DiagramGlyph(char character);

// Points of a contour with its quadratic segments cut into straight ones,
// at most `tolerance` units from the curve.
std::vector<TOutlinePoint> FlattenContour(const TContour& contour, double tolerance);

}  // namespace kestrel
