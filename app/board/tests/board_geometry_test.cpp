#include <gtest/gtest.h>

#include <set>

#include "app/board/board_geometry.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

// One representative game type per board kind, plus the mirrored 8 by 8 ones.
struct Case {
  int type;
  bool jamaican;
};
const Case AllLayouts[] = {{gtRussian, false}, {gtItalian, false}, {gtSpanish, false}, {gtPool, true},
                           {gtSpantsiretti, false}, {gtInternational, false}, {gtCanadian, false}};

// Where a square should be, worked out from file and rank rather than from
// the pair-and-parity rule the view uses: square 1 is a1, files alternate by
// rank, the mirrored boards put the a-file on the right.
ImageRect ExpectedRect(int square, int type, BoardOrientation o) {
  const BoardGeometry g = BoardGeometryOfType(type);
  const int rank = (square - 1) / g.squaresPerRow;
  const int file = 2 * ((square - 1) % g.squaresPerRow) + rank % 2;
  int column = o.mirrored ? g.columns - 1 - file : file;
  int rowFromTop = g.rows - 1 - rank;
  if (o.reversed) {
    column = g.columns - 1 - column;
    rowFromTop = g.rows - 1 - rowFromTop;
  }
  return {g.areaLeft + column * g.squareSize, g.areaTop + rowFromTop * g.squareSize, g.squareSize};
}

TEST(BoardGeometry, KindsFillThePlayingArea) {
  for (int count : {32, 40, 50, 72}) {
    const BoardGeometry g = BoardGeometryFor(count);
    EXPECT_EQ(g.squaresPerRow * g.rows, count);
    EXPECT_EQ(g.columns, 2 * g.squaresPerRow);
    EXPECT_EQ(g.areaLeft + g.columns * g.squareSize, g.areaRight) << count;
    EXPECT_EQ(g.areaTop + g.rows * g.squareSize, g.areaBottom) << count;
    // A 70-pixel figure sits in the middle of its square.
    EXPECT_LE(std::abs(2 * g.figureOffset + 70 - g.squareSize), 1) << count;
  }
  EXPECT_EQ(BoardGeometryFor(40).areaTop, 124);
  EXPECT_EQ(BoardGeometryFor(40).areaBottom, 796);
}

TEST(BoardGeometry, SquaresSitOnTheirFileAndRankInEveryOrientation) {
  for (const Case& c : AllLayouts) {
    for (bool reversed : {false, true}) {
      const BoardOrientation o = OrientationFor(c.type, reversed, c.jamaican);
      const BoardGeometry g = BoardGeometryOfType(c.type);
      std::set<std::pair<int, int>> seen;
      for (int s = 1; s <= g.squareCount; ++s) {
        const SquarePlacement p = PlaceSquare(s, g, o);
        const ImageRect want = ExpectedRect(s, c.type, o);
        EXPECT_EQ(p.playable.x, want.x) << GameTypeNames[c.type] << " square " << s << " reversed " << reversed;
        EXPECT_EQ(p.playable.y, want.y) << GameTypeNames[c.type] << " square " << s << " reversed " << reversed;
        EXPECT_EQ(p.light.y, p.playable.y);
        EXPECT_EQ(std::abs(p.light.x - p.playable.x), g.squareSize);
        EXPECT_TRUE(seen.insert({p.playable.x, p.playable.y}).second) << "two squares on one cell";
      }
    }
  }
}

TEST(BoardGeometry, CornerSquares) {
  const BoardGeometry g8 = BoardGeometryFor(32);
  // a1 bottom left, h8 top right.
  EXPECT_EQ(PlaceSquare(1, g8, {}).playable.x, 40);
  EXPECT_EQ(PlaceSquare(1, g8, {}).playable.y, 880 - 105);
  EXPECT_EQ(PlaceSquare(32, g8, {}).playable.x, 880 - 105);
  EXPECT_EQ(PlaceSquare(32, g8, {}).playable.y, 40);
  // Reversed: square 1 in the top-right corner.
  EXPECT_EQ(PlaceSquare(1, g8, {true, false}).playable.x, 880 - 105);
  EXPECT_EQ(PlaceSquare(1, g8, {true, false}).playable.y, 40);
  // Italian and Spanish: the bottom-left corner is light, square 1 bottom right.
  for (int type : {gtItalian, gtSpanish}) {
    const BoardOrientation o = OrientationFor(type, false, false);
    EXPECT_EQ(PlaceSquare(1, g8, o).playable.x, 880 - 105);
    EXPECT_EQ(SquareAtImagePoint(90, 830, g8, o), std::nullopt);
    EXPECT_EQ(SquareAtImagePoint(830, 830, g8, o), 1);
  }
  // 10 by 8: square 5 is i1, square 40 is k8 in the top-right corner.
  const BoardGeometry g10 = BoardGeometryFor(40);
  EXPECT_EQ(PlaceSquare(5, g10, {}).playable.x, 40 + 8 * 84);
  EXPECT_EQ(PlaceSquare(5, g10, {}).playable.y, 796 - 84);
  EXPECT_EQ(PlaceSquare(40, g10, {}).playable.x, 880 - 84);
  EXPECT_EQ(PlaceSquare(40, g10, {}).playable.y, 124);
}

TEST(BoardClicks, EverySquareCentreMapsBackAndLightSquaresAreIgnored) {
  for (const Case& c : AllLayouts) {
    for (bool reversed : {false, true}) {
      const BoardOrientation o = OrientationFor(c.type, reversed, c.jamaican);
      const BoardGeometry g = BoardGeometryOfType(c.type);
      for (int s = 1; s <= g.squareCount; ++s) {
        const SquarePlacement p = PlaceSquare(s, g, o);
        EXPECT_EQ(SquareAtImagePoint(p.playable.CentreX(), p.playable.CentreY(), g, o), s)
            << GameTypeNames[c.type] << " reversed " << reversed;
        // Near the corners of the square as well, not only the centre.
        EXPECT_EQ(SquareAtImagePoint(p.playable.x + 3, p.playable.y + 3, g, o), s);
        EXPECT_EQ(SquareAtImagePoint(p.playable.x + g.squareSize - 4, p.playable.y + g.squareSize - 4, g, o), s);
        EXPECT_EQ(SquareAtImagePoint(p.light.CentreX(), p.light.CentreY(), g, o), std::nullopt);
        for (int edge : {300, 460, 613, 920, 1111}) {
          const int x = p.playable.CentreX() * edge / BoardImageSize;
          const int y = p.playable.CentreY() * edge / BoardImageSize;
          EXPECT_EQ(SquareAtShownPoint(x, y, edge, g, o), s) << "board of " << edge << " pixels";
          const int lx = p.light.CentreX() * edge / BoardImageSize;
          const int ly = p.light.CentreY() * edge / BoardImageSize;
          EXPECT_EQ(SquareAtShownPoint(lx, ly, edge, g, o), std::nullopt);
        }
      }
    }
  }
}

TEST(BoardClicks, FrameMarginsAndOutsideAreIgnored) {
  const BoardGeometry g = BoardGeometryFor(32);
  // Two pixels inside the frame's outer edge: ignored.
  EXPECT_EQ(SquareAtImagePoint(40, 850, g, {}), std::nullopt);
  EXPECT_EQ(SquareAtImagePoint(41, 850, g, {}), std::nullopt);
  // The first playable square of the bottom row, just inside the margin.
  EXPECT_EQ(SquareAtImagePoint(42, 877, g, {}), 1);
  EXPECT_EQ(SquareAtImagePoint(42, 877, g, {true, false}), 32);
  EXPECT_EQ(SquareAtImagePoint(42, 878, g, {}), std::nullopt);
  EXPECT_EQ(SquareAtImagePoint(878, 42, g, {}), std::nullopt);
  EXPECT_EQ(SquareAtImagePoint(877, 42, g, {}), 32);
  for (int v : {-5, 0, 20, 39, 885, 919, 920, 5000}) {
    EXPECT_EQ(SquareAtImagePoint(v, 460, g, {}), std::nullopt) << v;
    EXPECT_EQ(SquareAtImagePoint(460, v, g, {}), std::nullopt) << v;
  }
  // Outside the shown board.
  EXPECT_EQ(SquareAtShownPoint(-1, 10, 460, g, {}), std::nullopt);
  EXPECT_EQ(SquareAtShownPoint(10, 460, 460, g, {}), std::nullopt);
  EXPECT_EQ(SquareAtShownPoint(10, 10, 0, g, {}), std::nullopt);
}

TEST(BoardClicks, ColumnsChangeExactlyAtTheSquareEdges) {
  // Every pixel of the playing area belongs to the cell drawn under it.
  const BoardGeometry g = BoardGeometryFor(32);
  const int y = 880 - 50;  // bottom row: a1 (square 1) is at columns 40..144
  EXPECT_EQ(SquareAtImagePoint(144, y, g, {}), 1);
  EXPECT_EQ(SquareAtImagePoint(145, y, g, {}), std::nullopt);  // b1 is light
  EXPECT_EQ(SquareAtImagePoint(249, y, g, {}), std::nullopt);
  EXPECT_EQ(SquareAtImagePoint(250, y, g, {}), 2);
}

TEST(BoardClicks, BandsAboveAndBelowTheTenByEightBoardAreIgnored) {
  const BoardGeometry g = BoardGeometryFor(40);
  for (int y : {10, 60, 100, 123, 125, 794, 800, 830, 850, 877})
    for (int x = 45; x < 880; x += 84) EXPECT_EQ(SquareAtImagePoint(x, y, g, {}), std::nullopt) << x << "," << y;
  EXPECT_EQ(SquareAtImagePoint(42, 793, g, {}), 1);
  EXPECT_EQ(SquareAtImagePoint(877, 126, g, {}), 40);
}

TEST(BoardClicks, ShownCoordinatesScaleToTheImage) {
  EXPECT_EQ(ToImageCoordinate(230, 460), 460);  // 418 past the frame's inner edge
  EXPECT_EQ(ToImageCoordinate(0, 300), 0);
  EXPECT_EQ(ToImageCoordinate(299, 300), 917);
  EXPECT_EQ(ToImageCoordinate(1, 920), 1);
}

}  // namespace
}  // namespace kestrel
