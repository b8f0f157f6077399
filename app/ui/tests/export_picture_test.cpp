// Exported pictures: the GIF file against the board image it was made from,
// and the diagram font as Qt loads and draws it.
#include <gtest/gtest.h>
#include <gif_lib.h>

#include <QFontDatabase>
#include <QPainter>
#include <QRawFont>

#include <cstdlib>
#include <map>

#include "app/export/diagram_text.h"
#include "app/ui/board_picture_gif.h"
#include "app/ui/board_renderer.h"
#include "app/ui/figures.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

// Pixels of a one-image GIF file as 0xFFRRGGBB.
std::vector<uint32_t> ReadGifPixels(const std::string& path, int& width, int& height) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  std::vector<uint32_t> pixels;
  if (!gif) return pixels;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    width = image.ImageDesc.Width;
    height = image.ImageDesc.Height;
    for (int i = 0; i < width * height; ++i) {
      const GifColorType c = map->Colors[image.RasterBits[i]];
      pixels.push_back(0xFF000000u | c.Red << 16 | c.Green << 8 | c.Blue);
    }
  }
  DGifCloseFile(gif, &error);
  return pixels;
}

TEST(ExportPicture, GifAt920IsTheBoardImage) {
  for (const int type : {gtRussian, gtInternational}) {
    BoardScene scene;
    scene.type = type;
    scene.board = InitialPosition(type).b;
    scene.board[1] = WhiteKing;
    scene.highlight = false;
    const QImage board = DrawBoardImage(scene, BoardColors{}, FigureSet{});
    const QImage scaled = ScaleBoardImage(board, 920);
    ASSERT_EQ(scaled.size(), board.size()) << "920 is the board image one to one";
    testing::TempDir dir;
    const std::string path = dir.File("board.gif");
    std::string error;
    ASSERT_TRUE(WriteBoardGif(scaled, path, &error)) << error;
    int width = 0, height = 0;
    const std::vector<uint32_t> gif = ReadGifPixels(path, width, height);
    ASSERT_EQ(width, 920);
    ASSERT_EQ(height, 920);
    const std::vector<uint32_t> expected = ImagePixels(board);
    // The figures' shading has more than 256 colours: the flat areas
    // (squares, frame, background) come back exactly, the rest a few
    // levels off at most.
    std::map<uint32_t, size_t> counts;
    for (uint32_t p : expected) ++counts[p];
    size_t flatWrong = 0;
    long total = 0;
    int worst = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
      if (counts[expected[i]] * 1024 >= expected.size() && gif[i] != (expected[i] | 0xFF000000u)) ++flatWrong;
      for (int shift : {0, 8, 16}) {
        const int d = std::abs(static_cast<int>((gif[i] >> shift) & 0xFF) - static_cast<int>((expected[i] >> shift) & 0xFF));
        worst = std::max(worst, d);
        total += d;
      }
    }
    EXPECT_EQ(flatWrong, 0u) << type;
    EXPECT_LE(worst, 32) << type;
    EXPECT_LT(static_cast<double>(total) / (3.0 * expected.size()), 1.0) << type;
    if (const char* shots = std::getenv("KESTREL_SHOT_DIR"))
      QImage(reinterpret_cast<const uchar*>(gif.data()), 920, 920, QImage::Format_RGB32)
          .save(QString(shots) + "/gif_" + QString::number(type) + ".png");
  }
}

TEST(ExportPicture, DiagramFontLoadsAndDrawsSquares) {
  const QString path = QString(KESTREL_PROGRAM_DIR) + "/Fonts/KestrelDraughts.ttf";
  QRawFont raw(path, 64);
  ASSERT_TRUE(raw.isValid()) << path.toStdString();
  EXPECT_EQ(raw.familyName(), "Kestrel Draughts");
  for (const char ch : std::string(" 12345678acefi")) EXPECT_TRUE(raw.supportsCharacter(QChar(ch))) << ch;
  const int id = QFontDatabase::addApplicationFont(path);
  ASSERT_GE(id, 0);
  ASSERT_TRUE(QFontDatabase::applicationFontFamilies(id).contains("Kestrel Draughts"));

  // A diagram drawn with the font: lines one square high, dark squares
  // filled, light squares empty, the white man's centre white.
  QFont font("Kestrel Draughts");
  font.setPixelSize(40);
  QImage image(440, 480, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setFont(font);
  p.setPen(Qt::black);
  TBrd board{};
  board[1] = WhiteMan;
  const auto lines = FramedDiagramLines(board, gtRussian, TextDiagramLayout(gtRussian));
  for (size_t row = 0; row < lines.size(); ++row)
    p.drawText(QPointF(0, 40.0 * (row + 1)), QString::fromStdString(lines[row]));
  p.end();
  if (const char* shots = std::getenv("KESTREL_SHOT_DIR")) image.save(QString(shots) + "/font_diagram.png");
  const int frame = 10;  // the edge pieces are a quarter of a square wide
  const auto grey = [&](int x, int y) { return qGray(image.pixel(x, y)); };
  EXPECT_LT(grey(frame + 40 + 20, 40 + 20), 50) << "dark square of the top row";
  EXPECT_GT(grey(frame + 20, 40 + 20), 200) << "light square of the top row";
  EXPECT_LT(grey(frame + 2, 8 * 40 + 2), 50) << "square 1's corner";
  EXPECT_GT(grey(frame + 20, 8 * 40 + 20), 200) << "the white man's centre";
}

}  // namespace
}  // namespace kestrel
