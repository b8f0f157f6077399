// The pattern board of the "New search" dialog: the pattern drawn on a
// 260-pixel image in the board colours with small figures, "?" on the
// squares that accept anything, the combination's start and end squares
// framed; mouse clicks edit the pattern by the click rules.
#pragma once

#include <QImage>
#include <QWidget>

#include "app/search/pattern_board.h"
#include "app/ui/board_renderer.h"

namespace kestrel {

class PatternBoardWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PatternBoardWidget(QWidget* parent = nullptr);

  void SetKind(TPatternBoardKind kind);
  TPatternBoardKind Kind() const { return kind_; }
  void SetState(const TPatternState& state);
  const TPatternState& State() const { return state_; }
  void SetColors(const BoardColors& colors);

  // The picture as painted.
  QImage Picture() const;

 signals:
  void changed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TPatternBoardKind kind_ = TPatternBoardKind::b64;
  TPatternState state_;
  BoardColors colors_;
  mutable QImage figures_[4];  // at the size of the current cells
  mutable int figureSize_ = 0;
};

}  // namespace kestrel
