#include "app/ui/board_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "app/board/board_geometry.h"

namespace kestrel {

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
  colors_.background = palette().color(QPalette::Window);
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetEdge(460);
}

void BoardView::SetScene(const BoardScene& scene) {
  scene_ = scene;
  Redraw();
}

void BoardView::SetColors(const BoardColors& colors) {
  colors_ = colors;
  Redraw();
}

void BoardView::Redraw() {
  image_ = DrawBoardImage(scene_, colors_, figures_);
  Rescale();
}

void BoardView::SetEdge(int edge) {
  edge = std::max(edge, 1);
  if (edge == edge_ && !shown_.isNull()) return;
  edge_ = edge;
  setFixedSize(edge_, edge_);
  if (image_.isNull())
    Redraw();
  else
    Rescale();
}

void BoardView::Rescale() {
  shown_ = ScaleBoardImage(image_, edge_);
  update();
}

std::optional<int> BoardView::SquareAt(QPoint point) const {
  const int type = scene_.type;
  return SquareAtShownPoint(point.x(), point.y(), edge_, BoardGeometryOfType(type),
                            OrientationFor(type, scene_.reversed, scene_.showJamaican));
}

void BoardView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, shown_);
}

void BoardView::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton) return;
  if (const std::optional<int> square = SquareAt(event->position().toPoint())) emit squareClicked(*square, button);
}

}  // namespace kestrel
