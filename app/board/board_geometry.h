// Where squares sit on the 920-pixel board image, and which square a click
// on the shown board means. No drawing here: the painter and the mouse
// handler share these formulas so that they can never disagree.
#pragma once

#include <optional>

namespace kestrel {

inline constexpr int BoardImageSize = 920;

// A square or a square-sized area of the image; right and bottom exclusive.
struct ImageRect {
  int x = 0, y = 0, size = 0;
  bool Contains(int px, int py) const { return px >= x && px < x + size && py >= y && py < y + size; }
  int CentreX() const { return x + size / 2; }
  int CentreY() const { return y + size / 2; }
};

struct BoardGeometry {
  int squareCount;    // 32, 40, 50 or 72
  int columns;        // files
  int rows;           // ranks
  int squaresPerRow;  // W: 4, 5 or 6
  int squareSize;     // S
  int areaLeft, areaTop, areaRight, areaBottom;  // playing area, right/bottom exclusive
  int figureOffset;   // offset of a 70-pixel figure from the square's corner
};

// Geometry of the board kind with this many squares; anything unknown is
// treated as the 8 by 8 board.
BoardGeometry BoardGeometryFor(int squareCount);
BoardGeometry BoardGeometryOfType(int type);

// How the squares are laid over the board picture.
struct BoardOrientation {
  bool reversed = false;  // turned by 180 degrees
  bool mirrored = false;  // column order mirrored: a1 in the bottom-right corner
};

// Italian, Spanish, and Pool shown in the Jamaican style put square 1 in the
// bottom-right corner.
bool HasMirroredColumns(int type, bool showJamaican);
BoardOrientation OrientationFor(int type, bool reversed, bool showJamaican);

// A square's own (dark) cell and the light cell that completes its pair.
struct SquarePlacement {
  ImageRect playable;
  ImageRect light;
};
SquarePlacement PlaceSquare(int square, const BoardGeometry& g, BoardOrientation o);

// The square under a point of the 920-pixel image, or nothing for a light
// square, the frame, the margins or a point outside the image.
std::optional<int> SquareAtImagePoint(int x, int y, const BoardGeometry& g, BoardOrientation o);

// A coordinate of the shown board (edge `boardEdge` pixels) on the image.
int ToImageCoordinate(int shown, int boardEdge);

// The square under a point of the shown board.
std::optional<int> SquareAtShownPoint(int x, int y, int boardEdge, const BoardGeometry& g, BoardOrientation o);

}  // namespace kestrel
