#include "app/board/board_geometry.h"

#include <cmath>

#include "rules/game_types.h"

namespace kestrel {
namespace {

// Clicks this close to the frame are not taken as a square: the frame is thin
// and a hand that aims at it should not move a piece.
constexpr int NearFrameMargin = 2;

}  // namespace

BoardGeometry BoardGeometryFor(int squareCount) {
  switch (squareCount) {
    case 40: return {40, 10, 8, 5, 84, 40, 124, 880, 796, 7};
    case 50: return {50, 10, 10, 5, 84, 40, 40, 880, 880, 7};
    case 72: return {72, 12, 12, 6, 70, 40, 40, 880, 880, 0};
    default: return {32, 8, 8, 4, 105, 40, 40, 880, 880, 18};
  }
}

BoardGeometry BoardGeometryOfType(int type) {
  return BoardGeometryFor(IsValidGameType(type) ? GameTypes[type].SquareCount : 32);
}

bool HasMirroredColumns(int type, bool showJamaican) {
  return type == gtItalian || type == gtSpanish || (type == gtPool && showJamaican);
}

BoardOrientation OrientationFor(int type, bool reversed, bool showJamaican) {
  return {reversed, HasMirroredColumns(type, showJamaican)};
}

SquarePlacement PlaceSquare(int square, const BoardGeometry& g, BoardOrientation o) {
  const int w = g.squaresPerRow;
  const int s = g.squareSize;
  int pair = (square - 1) % w;
  int row = g.rows - 1 - (square - 1) / w;  // from the top of the image
  if (o.reversed) {
    row = g.rows - 1 - row;
    pair = w - 1 - pair;
  }
  if (o.mirrored) pair = w - 1 - pair;
  // Even rows from the top have their playable square on the right of the
  // pair; the mirrored boards the other way round.
  const bool rightPlayable = (row % 2 == 0) != o.mirrored;
  const int pairX = g.areaLeft + 2 * pair * s;
  const int y = g.areaTop + row * s;
  const ImageRect left{pairX, y, s};
  const ImageRect right{pairX + s, y, s};
  return rightPlayable ? SquarePlacement{right, left} : SquarePlacement{left, right};
}

std::optional<int> SquareAtImagePoint(int x, int y, const BoardGeometry& g, BoardOrientation o) {
  if (x < g.areaLeft + NearFrameMargin || x > g.areaRight - 1 - NearFrameMargin) return std::nullopt;
  if (y < g.areaTop + NearFrameMargin || y > g.areaBottom - 1 - NearFrameMargin) return std::nullopt;
  int column = (x - g.areaLeft) / g.squareSize;                // from the left
  int row = g.rows - 1 - (y - g.areaTop) / g.squareSize;        // from the bottom
  if (o.reversed) {
    column = g.columns - 1 - column;
    row = g.rows - 1 - row;
  }
  if (column < 0 || column >= g.columns || row < 0 || row >= g.rows) return std::nullopt;
  const bool playable = (column % 2 == row % 2) != o.mirrored;
  if (!playable) return std::nullopt;
  const int fromLeft = o.mirrored ? g.columns - 1 - column : column;
  return row * g.squaresPerRow + fromLeft / 2 + 1;
}

int ToImageCoordinate(int shown, int boardEdge) {
  if (boardEdge <= 0) return -1;
  return static_cast<int>(std::lround(static_cast<double>(BoardImageSize) / boardEdge * shown));
}

std::optional<int> SquareAtShownPoint(int x, int y, int boardEdge, const BoardGeometry& g, BoardOrientation o) {
  if (boardEdge <= 0 || x < 0 || y < 0 || x >= boardEdge || y >= boardEdge) return std::nullopt;
  return SquareAtImagePoint(ToImageCoordinate(x, boardEdge), ToImageCoordinate(y, boardEdge), g, o);
}

}  // namespace kestrel
