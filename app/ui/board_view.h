// The board on screen: shows the board picture scaled to its edge and turns
// mouse clicks into square numbers.
#pragma once

#include <QImage>
#include <QWidget>

#include <optional>

#include "app/ui/board_renderer.h"
#include "app/ui/figures.h"

namespace kestrel {

class BoardView : public QWidget {
  Q_OBJECT

 public:
  explicit BoardView(QWidget* parent = nullptr);

  // Draws the whole board picture again and shows it.
  void SetScene(const BoardScene& scene);
  const BoardScene& scene() const { return scene_; }
  void SetColors(const BoardColors& colors);
  const BoardColors& colors() const { return colors_; }
  FigureSet& figures() { return figures_; }
  const FigureSet& figures() const { return figures_; }
  void Redraw();

  // The 920-pixel picture, the source of diagram exports.
  const QImage& boardImage() const { return image_; }
  // What is on screen: the picture at the view's edge.
  const QImage& shownImage() const { return shown_; }

  void SetEdge(int edge);
  int edge() const { return edge_; }

  std::optional<int> SquareAt(QPoint point) const;

 signals:
  void squareClicked(int square, Qt::MouseButton button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Rescale();

  BoardScene scene_;
  BoardColors colors_;
  FigureSet figures_;
  QImage image_;
  QImage shown_;
  int edge_ = 0;
};

}  // namespace kestrel
