#include "app/ui/pattern_board_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/ui/figure_drawing.h"
#include "app/ui/figures.h"
#include "database/search/search_info.h"

namespace kestrel {

PatternBoardWidget::PatternBoardWidget(QWidget* parent) : QWidget(parent) {
  setFixedSize(PatternImageSize, PatternImageSize);
  CleanPattern(state_);
}

void PatternBoardWidget::SetKind(TPatternBoardKind kind) {
  kind_ = kind;
  update();
}

void PatternBoardWidget::SetState(const TPatternState& state) {
  state_ = state;
  update();
}

void PatternBoardWidget::SetColors(const BoardColors& colors) {
  colors_ = colors;
  update();
}

QImage PatternBoardWidget::Picture() const {
  QImage image(PatternImageSize, PatternImageSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(colors_.background);
  QPainter p(&image);
  const BoardGeometry g = PatternBoardGeometry(kind_);
  const BoardOrientation o = PatternBoardOrientation(kind_);
  const int s = g.squareSize;
  if (figureSize_ != s - 2) {  // figures a little smaller than the cell
    figureSize_ = s - 2;
    for (int k = 0; k < FigureKindCount; ++k)
      figures_[k] =
          DrawBuiltinFigure(static_cast<FigureKind>(k), QString::fromLatin1(DefaultFigureStyle), figureSize_);
  }
  QFont font = p.font();
  font.setPixelSize(s * 2 / 3);
  font.setBold(true);
  p.setFont(font);
  for (int sq = 1; sq <= g.squareCount; ++sq) {
    const SquarePlacement place = PlaceSquare(sq, g, o);
    p.fillRect(place.light.x, place.light.y, s, s, colors_.light);
    const QRect cell(place.playable.x, place.playable.y, s, s);
    p.fillRect(cell, colors_.dark);
    const int8_t v = state_.board[sq];
    if (v == AnySquare) {
      p.setPen(Qt::white);
      p.drawText(cell, Qt::AlignCenter, QStringLiteral("?"));
    } else if (v != Empty) {
      const FigureKind kind = v == WhiteMan    ? FigureKind::WhiteMan
                              : v == BlackMan  ? FigureKind::BlackMan
                              : v == WhiteKing ? FigureKind::WhiteKing
                                               : FigureKind::BlackKing;
      p.drawImage(cell.x() + 1, cell.y() + 1, figures_[static_cast<int>(kind)]);
    }
    if (sq == state_.combFr || sq == state_.combTo) {
      p.setPen(QPen(sq == state_.combFr ? QColor(0, 170, 0) : QColor(210, 0, 0), 3));
      p.drawRect(cell.adjusted(2, 2, -3, -3));
    }
  }
  p.setPen(Qt::black);
  p.setBrush(Qt::NoBrush);
  p.drawRect(g.areaLeft - 1, g.areaTop - 1, g.areaRight - g.areaLeft + 1, g.areaBottom - g.areaTop + 1);
  return image;
}

void PatternBoardWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Picture());
}

void PatternBoardWidget::mousePressEvent(QMouseEvent* event) {
  const auto square = PatternSquareAt(kind_, event->position().toPoint().x(), event->position().toPoint().y());
  if (!square) return;
  TPatternButton button;
  switch (event->button()) {
    case Qt::LeftButton: button = TPatternButton::left; break;
    case Qt::RightButton: button = TPatternButton::right; break;
    case Qt::MiddleButton: button = TPatternButton::middle; break;
    default: return;
  }
  PatternClick(state_, *square, button);
  update();
  emit changed();
}

}  // namespace kestrel
