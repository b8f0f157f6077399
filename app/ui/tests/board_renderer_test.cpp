#include <gtest/gtest.h>

#include <QImage>

#include "app/board/board_geometry.h"
#include "app/ui/board_renderer.h"
#include "app/ui/figures.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

const QColor Red(220, 0, 0), Green(0, 200, 0), Blue(0, 0, 230), Magenta(200, 0, 200);

QImage Solid(int size, const QColor& color) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(color);
  return image;
}

// Figures of one flat colour each, so that a pixel tells which one is drawn.
FigureSet SolidFigures(int size = 70) {
  FigureSet f;
  f.SetPicture(FigureKind::WhiteMan, Solid(size, Red));
  f.SetPicture(FigureKind::BlackMan, Solid(size, Green));
  f.SetPicture(FigureKind::WhiteKing, Solid(size, Blue));
  f.SetPicture(FigureKind::BlackKing, Solid(size, Magenta));
  return f;
}

BoardColors TestColors() {
  BoardColors c;
  c.dark = QColor(64, 128, 128);
  c.light = QColor(227, 240, 240);
  c.background = QColor(200, 100, 50);
  return c;
}

ImageRect Cell(const BoardScene& s, int square) {
  return PlaceSquare(square, BoardGeometryOfType(s.type), OrientationFor(s.type, s.reversed, s.showJamaican)).playable;
}

QColor CentreOf(const QImage& image, const BoardScene& s, int square) {
  const ImageRect r = Cell(s, square);
  return image.pixelColor(r.CentreX(), r.CentreY());
}

// Pixels of `color` in a part of the image.
int CountColor(const QImage& image, QRect area, const QColor& color) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == color;
  return n;
}

BoardScene KnownPosition() {
  BoardScene s;
  s.type = gtRussian;
  s.board[1] = WhiteMan;
  s.board[32] = BlackMan;
  s.board[14] = WhiteKing;
  s.board[19] = BlackKing;
  s.highlighted = {10, 14};
  return s;
}

TEST(BoardPicture, PiecesEmptySquaresAndHighlightsAtSquareCentres) {
  const BoardColors colors = TestColors();
  const BoardScene s = KnownPosition();
  const QImage image = DrawBoardImage(s, colors, SolidFigures());
  ASSERT_EQ(image.size(), QSize(920, 920));
  EXPECT_EQ(CentreOf(image, s, 1), Red);
  EXPECT_EQ(CentreOf(image, s, 32), Green);
  EXPECT_EQ(CentreOf(image, s, 14), Blue);  // the figure lies over the highlight
  EXPECT_EQ(CentreOf(image, s, 19), Magenta);
  EXPECT_EQ(CentreOf(image, s, 5), colors.dark);
  const ImageRect lightCell = PlaceSquare(5, BoardGeometryFor(32), {}).light;
  EXPECT_EQ(image.pixelColor(lightCell.CentreX(), lightCell.CentreY()), colors.light);

  // The highlighted empty square: marked inside, dark within 5 pixels of its edge.
  const ImageRect h = Cell(s, 10);
  const QColor marked = image.pixelColor(h.CentreX(), h.CentreY());
  EXPECT_NE(marked, colors.dark);
  EXPECT_GT(marked.red(), colors.dark.red() + 40);  // a warm mark on the cool square
  EXPECT_EQ(image.pixelColor(h.x + 2, h.y + 2), colors.dark);
  EXPECT_EQ(image.pixelColor(h.x + h.size - 3, h.CentreY()), colors.dark);
  EXPECT_NE(image.pixelColor(h.x + 7, h.CentreY()), colors.dark);

  BoardScene off = s;
  off.highlight = false;
  const QImage plain = DrawBoardImage(off, colors, SolidFigures());
  EXPECT_EQ(CentreOf(plain, off, 10), colors.dark);
}

TEST(BoardPicture, FiguresSitAtTheirOffsetOnEveryBoardKind) {
  struct Kind {
    int type, offset;
  };
  for (const Kind k : {Kind{gtRussian, 18}, Kind{gtInternational, 7}, Kind{gtSpantsiretti, 7}, Kind{gtCanadian, 0}}) {
    BoardScene s;
    s.type = k.type;
    s.board[1] = WhiteMan;
    const QImage image = DrawBoardImage(s, TestColors(), SolidFigures());
    const ImageRect r = Cell(s, 1);
    const int y = r.CentreY();
    EXPECT_EQ(image.pixelColor(r.x + k.offset, y), Red) << GameTypeNames[k.type];
    EXPECT_EQ(image.pixelColor(r.x + k.offset + 69, y), Red) << GameTypeNames[k.type];
    if (k.offset > 0) {
      EXPECT_EQ(image.pixelColor(r.x + k.offset - 1, y), TestColors().dark) << GameTypeNames[k.type];
      EXPECT_EQ(image.pixelColor(r.x + k.offset + 70, y), TestColors().dark) << GameTypeNames[k.type];
    }
  }
}

TEST(BoardPicture, OversizedFigureStaysInsideItsSquare) {
  BoardScene s;
  s.board[1] = WhiteMan;
  const QImage image = DrawBoardImage(s, TestColors(), SolidFigures(300));
  const ImageRect cell = Cell(s, 1);
  const ImageRect light = PlaceSquare(1, BoardGeometryFor(32), {}).light;
  EXPECT_EQ(CentreOf(image, s, 1), Red);
  EXPECT_EQ(image.pixelColor(light.CentreX(), light.CentreY()), TestColors().light);
  EXPECT_EQ(image.pixelColor(cell.CentreX(), cell.y - 10), TestColors().light);
}

TEST(BoardPicture, SideZeroWearsBlackInEnglishAndPool) {
  struct Case {
    int type;
    bool whiteBottom;
    QColor man, king;
  };
  for (const Case& c : {Case{gtRussian, false, Red, Blue}, Case{gtEnglish, false, Green, Magenta},
                        Case{gtEnglish, true, Green, Magenta}, Case{gtPool, false, Green, Magenta},
                        Case{gtPool, true, Red, Blue}, Case{gtInternational, false, Red, Blue}}) {
    BoardScene s;
    s.type = c.type;
    s.poolWhiteBottom = c.whiteBottom;
    s.board[1] = WhiteMan;
    s.board[2] = WhiteKing;
    s.board[3] = BlackMan;
    const QImage image = DrawBoardImage(s, TestColors(), SolidFigures());
    EXPECT_EQ(CentreOf(image, s, 1), c.man) << GameTypeNames[c.type] << " white bottom " << c.whiteBottom;
    EXPECT_EQ(CentreOf(image, s, 2), c.king) << GameTypeNames[c.type];
    EXPECT_NE(CentreOf(image, s, 3), c.man) << GameTypeNames[c.type];
  }
}

TEST(BoardPicture, ReversedAndMirroredBoardsMoveSquareOne) {
  BoardScene s;
  s.board[1] = WhiteMan;
  s.reversed = true;
  QImage image = DrawBoardImage(s, TestColors(), SolidFigures());
  EXPECT_EQ(image.pixelColor(880 - 52, 40 + 52), Red);  // top right
  EXPECT_EQ(image.pixelColor(40 + 52, 40 + 52), TestColors().light);
  EXPECT_EQ(image.pixelColor(40 + 52, 880 - 52), TestColors().dark);  // h8, empty

  s.reversed = false;
  s.type = gtItalian;
  image = DrawBoardImage(s, TestColors(), SolidFigures());
  EXPECT_EQ(image.pixelColor(880 - 52, 880 - 52), Red);  // bottom right
  EXPECT_EQ(image.pixelColor(40 + 52, 880 - 52), TestColors().light);

  s.type = gtPool;
  s.showJamaican = true;
  s.poolWhiteBottom = true;
  image = DrawBoardImage(s, TestColors(), SolidFigures());
  EXPECT_EQ(image.pixelColor(880 - 52, 880 - 52), Red);
}

TEST(BoardPicture, CoordinatesAndBlindPlay) {
  const BoardColors colors = TestColors();
  BoardScene s = KnownPosition();
  const ImageRect empty = Cell(s, 5);
  const QRect captionArea(empty.x + 1, empty.y, 40, 22);
  EXPECT_EQ(CountColor(DrawBoardImage(s, colors, SolidFigures()), captionArea, colors.light), 0);
  s.showCoords = true;
  const QImage withCoords = DrawBoardImage(s, colors, SolidFigures());
  EXPECT_GT(CountColor(withCoords, captionArea, colors.light), 20);

  // Blind play: no figures, but coordinates and highlights stay.
  s.blind = true;
  const QImage blind = DrawBoardImage(s, colors, SolidFigures());
  for (int square : {1, 19, 32}) EXPECT_EQ(CentreOf(blind, s, square), colors.dark) << square;
  EXPECT_NE(CentreOf(blind, s, 14), colors.dark);  // highlighted
  EXPECT_NE(CentreOf(blind, s, 14), Blue);
  EXPECT_GT(CountColor(blind, captionArea, colors.light), 20);
}

TEST(BoardPicture, FrameMarginsAndLabels) {
  const BoardColors colors = TestColors();
  BoardScene s;
  QImage image = DrawBoardImage(s, colors, SolidFigures());
  EXPECT_EQ(image.pixelColor(37, 300), colors.dark);
  EXPECT_EQ(image.pixelColor(38, 300), colors.light);
  EXPECT_EQ(image.pixelColor(39, 300), colors.light);
  EXPECT_EQ(image.pixelColor(300, 882), colors.light);
  EXPECT_EQ(image.pixelColor(300, 883), colors.dark);
  // Russian: "A" under the a-file, the row numbers on the left.
  EXPECT_GT(CountColor(image, QRect(85, 885, 25, 30), colors.light), 20);
  EXPECT_GT(CountColor(image, QRect(10, 75, 25, 30), colors.light), 20);
  EXPECT_EQ(CountColor(image, QRect(10, 890, 60, 25), colors.light), 0);

  s.type = gtInternational;
  image = DrawBoardImage(s, colors, SolidFigures());
  EXPECT_GT(CountColor(image, QRect(158, 5, 20, 28), colors.light), 10);  // "1"
  EXPECT_EQ(CountColor(image, QRect(60, 5, 40, 28), colors.light), 0);

  // The 10 by 8 board: window-coloured bands above and below.
  s.type = gtSpantsiretti;
  image = DrawBoardImage(s, colors, SolidFigures());
  EXPECT_EQ(image.pixelColor(460, 20), colors.background);
  EXPECT_EQ(image.pixelColor(460, 83), colors.background);
  EXPECT_EQ(image.pixelColor(460, 84), colors.dark);
  EXPECT_EQ(image.pixelColor(460, 121), colors.light);
  EXPECT_EQ(image.pixelColor(460, 798), colors.light);
  EXPECT_EQ(image.pixelColor(20, 820), colors.dark);
  EXPECT_EQ(image.pixelColor(460, 836), colors.background);
  EXPECT_EQ(image.pixelColor(460, 919), colors.background);
}

TEST(BoardPicture, ScalingKeepsUniformAreasAndSize) {
  const BoardColors colors = TestColors();
  BoardScene s = KnownPosition();
  const QImage image = DrawBoardImage(s, colors, SolidFigures());
  for (int edge : {300, 460, 920, 1200}) {
    const QImage shown = ScaleBoardImage(image, edge);
    ASSERT_EQ(shown.size(), QSize(edge, edge));
    const ImageRect r = Cell(s, 5);
    EXPECT_EQ(shown.pixelColor(r.CentreX() * edge / 920, r.CentreY() * edge / 920), colors.dark) << edge;
    const ImageRect m = Cell(s, 1);
    EXPECT_EQ(shown.pixelColor(m.CentreX() * edge / 920, m.CentreY() * edge / 920), Red) << edge;
  }
  EXPECT_TRUE(ScaleBoardImage(image, 0).isNull());
  EXPECT_TRUE(ScaleBoardImage(QImage(), 100).isNull());
}

TEST(BoardPicture, SettingColoursAreBlueGreenRed) {
  EXPECT_EQ(ColorFromSetting(0x00808040), QColor(64, 128, 128));
  EXPECT_EQ(ColorFromSetting(0x00F0F0E3), QColor(227, 240, 240));
  EXPECT_EQ(SettingFromColor(QColor(10, 20, 30)), 0x001E140Au);
  EXPECT_EQ(SettingFromColor(ColorFromSetting(0x00123456)), 0x00123456u);
}

}  // namespace
}  // namespace kestrel
