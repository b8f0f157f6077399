#include "app/ui/board_renderer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "app/board/area_scale.h"
#include "app/board/board_geometry.h"
#include "app/board/board_labels.h"
#include "app/ui/board_fonts.h"
#include "app/ui/figures.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

constexpr int HighlightInset = 5;

void DrawText(QPainter& p, const QString& text, int x, int y) {
  p.drawText(QPoint(x, y + p.fontMetrics().ascent()), text);
}

void DrawFrame(QPainter& p, const BoardGeometry& g, const QColor& color) {
  // Two pixels wide, from (38, top - 2) to (883, bottom + 3) exclusive.
  const int left = 38, right = 883;
  const int top = g.areaTop - 2 - (g.squareCount == 40 ? 1 : 0);
  const int bottom = g.areaBottom + 3;
  p.fillRect(left, top, right - left, 2, color);
  p.fillRect(left, bottom - 2, right - left, 2, color);
  p.fillRect(left, top, 2, bottom - top, color);
  p.fillRect(right - 2, top, 2, bottom - top, color);
}

const QImage* FigureFor(int code, const FigureSet& figures) {
  switch (code) {
    case WhiteMan: return &figures.Picture(FigureKind::WhiteMan);
    case WhiteKing: return &figures.Picture(FigureKind::WhiteKing);
    case BlackMan: return &figures.Picture(FigureKind::BlackMan);
    case BlackKing: return &figures.Picture(FigureKind::BlackKing);
    default: return nullptr;
  }
}

void DrawFigure(QPainter& p, const QImage& figure, const ImageRect& square) {
  if (figure.isNull()) return;
  if (figure.width() <= square.size && figure.height() <= square.size) {
    // At its own size, in the middle: 70 pixels sit 18, 7 or 0 from the corner.
    p.drawImage(square.x + (square.size - figure.width() + 1) / 2,
                square.y + (square.size - figure.height() + 1) / 2, figure);
    return;
  }
  // A picture larger than the square would cover its neighbours: fit it in.
  const QSize fitted = figure.size().scaled(square.size, square.size, Qt::KeepAspectRatio);
  p.drawImage(QRect(square.x + (square.size - fitted.width()) / 2, square.y + (square.size - fitted.height()) / 2,
                    fitted.width(), fitted.height()),
              figure);
}

}  // namespace

QColor ColorFromSetting(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

uint32_t SettingFromColor(const QColor& color) {
  return static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
         static_cast<uint32_t>(color.blue()) << 16;
}

int DisplayedPieceCode(int code, const BoardScene& scene) {
  if (scene.type == gtEnglish || (scene.type == gtPool && !scene.poolWhiteBottom)) return -code;
  return code;
}

QImage DrawBoardImage(const BoardScene& scene, const BoardColors& colors, const FigureSet& figures) {
  const int type = IsValidGameType(scene.type) ? scene.type : gtRussian;
  const BoardGeometry g = BoardGeometryOfType(type);
  const BoardOrientation o = OrientationFor(type, scene.reversed, scene.showJamaican);

  QImage image(BoardImageSize, BoardImageSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(colors.dark);
  QPainter p(&image);
  if (g.squareCount == 40) {
    p.fillRect(0, 0, BoardImageSize, 84, colors.background);
    p.fillRect(0, 836, BoardImageSize, BoardImageSize - 836, colors.background);
  }
  DrawFrame(p, g, colors.light);

  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(colors.light);
  p.setFont(BoardFont(EdgeLabelPointSize(type)));
  for (const EdgeLabel& label : BoardEdgeLabels(type, {scene.reversed, scene.showJamaican, scene.poolChessNotation}))
    DrawText(p, QString::fromStdString(label.text), label.x, label.y);

  const QImage highlight = DrawMoveHighlight(g.squareSize - 2 * HighlightInset);
  const QFont captionFont = BoardFont(SquareCaptionPointSize);
  p.setFont(captionFont);
  for (int square = 1; square <= g.squareCount; ++square) {
    const SquarePlacement place = PlaceSquare(square, g, o);
    const ImageRect& cell = place.playable;
    p.fillRect(place.light.x, place.light.y, place.light.size, place.light.size, colors.light);
    p.fillRect(cell.x, cell.y, cell.size, cell.size, colors.dark);
    if (scene.highlight &&
        std::find(scene.highlighted.begin(), scene.highlighted.end(), square) != scene.highlighted.end())
      p.drawImage(cell.x + HighlightInset, cell.y + HighlightInset, highlight);
    if (scene.showCoords)
      DrawText(p, QString::fromStdString(SquareCaption(square, type, scene.poolChessNotation)), cell.x + 1, cell.y);
    if (!scene.blind)
      if (const QImage* figure = FigureFor(DisplayedPieceCode(scene.board[square], scene), figures))
        DrawFigure(p, *figure, cell);
  }
  p.end();
  return image;
}

QImage ScaleBoardImage(const QImage& image, int edge) {
  if (image.isNull() || edge <= 0) return {};
  if (edge == image.width() && edge == image.height()) return image;
  if (edge > image.width() || edge > image.height())
    return image.scaled(edge, edge, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage target(edge, edge, QImage::Format_ARGB32_Premultiplied);
  AreaScale({reinterpret_cast<const uint32_t*>(source.constBits()), source.width(), source.height(),
             static_cast<int>(source.bytesPerLine() / 4)},
            {reinterpret_cast<uint32_t*>(target.bits()), edge, edge, static_cast<int>(target.bytesPerLine() / 4)});
  return target;
}

}  // namespace kestrel
