#include "app/export/diagram_glyphs.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/export/diagram_text.h"

namespace kestrel {
namespace {

constexpr int U = GlyphUnits;
constexpr int FrameAdvance = U / 4;  // edges and corners are narrower than squares
constexpr int FrameThickness = 96;

TContour Rect(int x0, int y0, int x1, int y1, bool hole = false) {
  // Clockwise with y up: top left, top right, bottom right, bottom left.
  TContour c{{x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}};
  if (hole) std::reverse(c.begin(), c.end());
  return c;
}

// A circle of eight quadratic segments; off-curve points lie on the
// octagon whose edges touch the circle.
TContour Circle(int cx, int cy, int r, bool hole = false) {
  TContour c;
  const double control = r / std::cos(std::numbers::pi / 8);
  for (int k = 0; k < 8; ++k) {
    // Clockwise with y up: angles decrease.
    const double a = -k * std::numbers::pi / 4;
    const double m = a - std::numbers::pi / 8;
    c.push_back({cx + static_cast<int>(std::lround(r * std::cos(a))), cy + static_cast<int>(std::lround(r * std::sin(a))),
                 true});
    c.push_back({cx + static_cast<int>(std::lround(control * std::cos(m))),
                 cy + static_cast<int>(std::lround(control * std::sin(m))), false});
  }
  if (hole) std::reverse(c.begin(), c.end());
  return c;
}

// A five-pointed crown with its band, centred on (cx, cy).
TContour Crown(int cx, int cy, int w, bool hole) {
  const int h = w * 5 / 8;
  const int left = cx - w / 2, right = cx + w / 2, base = cy - h / 2, top = cy + h / 2;
  const int band = base + h / 4;
  // Counter-clockwise from the bottom left, then reversed for a filled crown.
  TContour c{{left, base},
             {right, base},
             {right, top - h / 8},
             {cx + w / 4, band + h / 4},
             {cx + w / 8, top},
             {cx, band + h / 3},
             {cx - w / 8, top},
             {cx - w / 4, band + h / 4},
             {left, top - h / 8}};
  if (!hole) std::reverse(c.begin(), c.end());
  return c;
}

constexpr int Mid = U / 2;
constexpr int Disc = U * 40 / 100;  // the man's outer edge, cut out of the square
constexpr int Body = U * 35 / 100;

// A dark square with a white disc cut out for the piece.
std::vector<TContour> SquareWithOpening() { return {Rect(0, 0, U, U), Circle(Mid, Mid, Disc, true)}; }

TGlyphDrawing WhitePiece(char ch, bool king) {
  TGlyphDrawing g{ch, U, SquareWithOpening()};
  // A thin black ring inside the white disc.
  g.contours.push_back(Circle(Mid, Mid, Body));
  g.contours.push_back(Circle(Mid, Mid, Body - 40, true));
  if (king) {
    g.contours.push_back(Crown(Mid, Mid, U * 38 / 100, false));
  } else {
    g.contours.push_back(Circle(Mid, Mid, U * 20 / 100));
    g.contours.push_back(Circle(Mid, Mid, U * 20 / 100 - 32, true));
  }
  return g;
}

TGlyphDrawing BlackPiece(char ch, bool king) {
  TGlyphDrawing g{ch, U, SquareWithOpening()};
  g.contours.push_back(Circle(Mid, Mid, Body));
  if (king) {
    g.contours.push_back(Crown(Mid, Mid, U * 38 / 100, true));
  } else {
    g.contours.push_back(Circle(Mid, Mid, U * 20 / 100, true));
    g.contours.push_back(Circle(Mid, Mid, U * 20 / 100 - 32));
  }
  return g;
}

std::vector<TGlyphDrawing> MakeGlyphs() {
  namespace dc = diagram_char;
  const int F = FrameAdvance, T = FrameThickness;
  std::vector<TGlyphDrawing> glyphs;
  // The missing-character glyph: an empty box, so that text in another font
  // shows as obviously wrong rather than as a board.
  glyphs.push_back({0, U / 2, {Rect(64, 0, U / 2 - 64, U * 3 / 4), Rect(128, 64, U / 2 - 128, U * 3 / 4 - 64, true)}});
  glyphs.push_back({dc::LightSquare, U, {}});
  // Frame pieces: the bar runs along the side that touches the board.
  glyphs.push_back({dc::TopEdge, U, {Rect(0, 0, U, T)}});
  glyphs.push_back({dc::BottomEdge, U, {Rect(0, U - T, U, U)}});
  glyphs.push_back({dc::RightEdge, F, {Rect(0, 0, T, U)}});
  glyphs.push_back({dc::LeftEdge, F, {Rect(F - T, 0, F, U)}});
  glyphs.push_back({dc::TopLeft, F, {Rect(F - T, 0, F, T)}});
  glyphs.push_back({dc::TopRight, F, {Rect(0, 0, T, T)}});
  glyphs.push_back({dc::BottomLeft, F, {Rect(F - T, U - T, F, U)}});
  glyphs.push_back({dc::BottomRight, F, {Rect(0, U - T, T, U)}});
  glyphs.push_back(BlackPiece(dc::BlackKing, true));
  glyphs.push_back(WhitePiece(dc::WhiteKing, true));
  glyphs.push_back(BlackPiece(dc::BlackMan, false));
  glyphs.push_back(WhitePiece(dc::WhiteMan, false));
  glyphs.push_back({dc::DarkSquare, U, {Rect(0, 0, U, U)}});
  std::sort(glyphs.begin() + 1, glyphs.end(),
            [](const TGlyphDrawing& a, const TGlyphDrawing& b) { return a.character < b.character; });
  return glyphs;
}

}  // namespace

const std::vector<TGlyphDrawing>& DiagramGlyphs() {
  static const std::vector<TGlyphDrawing> glyphs = MakeGlyphs();
  return glyphs;
}

const TGlyphDrawing& DiagramGlyph(char character) {
  const auto& glyphs = DiagramGlyphs();
  for (const TGlyphDrawing& g : glyphs)
    if (g.character == character && character != 0) return g;
  return glyphs.front();
}

std::vector<TOutlinePoint> FlattenContour(const TContour& contour, double tolerance) {
  std::vector<TOutlinePoint> out;
  const size_t n = contour.size();
  if (n == 0) return out;
  // Start at an on-curve point; two off-curve points in a row imply the
  // on-curve point midway between them.
  size_t start = 0;
  while (start < n && !contour[start].onCurve) ++start;
  if (start == n) return out;
  TOutlinePoint last = contour[start];
  out.push_back(last);
  for (size_t k = 1; k <= n; ++k) {
    const TOutlinePoint& p = contour[(start + k) % n];
    if (p.onCurve) {
      if (k < n) out.push_back(p);
      last = p;
      continue;
    }
    const TOutlinePoint& q = contour[(start + k + 1) % n];
    const TOutlinePoint end = q.onCurve ? q : TOutlinePoint{(p.x + q.x) / 2, (p.y + q.y) / 2, true};
    const double dev = std::hypot(p.x - (last.x + end.x) / 2.0, p.y - (last.y + end.y) / 2.0) / 2;
    const int steps = std::max(1, static_cast<int>(std::ceil(std::sqrt(dev / std::max(tolerance, 0.01)))));
    for (int s = 1; s <= steps; ++s) {
      const double t = static_cast<double>(s) / steps, u = 1 - t;
      const double x = u * u * last.x + 2 * u * t * p.x + t * t * end.x;
      const double y = u * u * last.y + 2 * u * t * p.y + t * t * end.y;
      out.push_back({static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)), true});
    }
    last = end;
    if (q.onCurve) ++k;  // consumed as the segment's end
  }
  // The walk ends back at the start point.
  if (out.size() > 1 && out.back().x == out.front().x && out.back().y == out.front().y) out.pop_back();
  return out;
}

}  // namespace kestrel
