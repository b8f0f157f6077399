#include "app/ui/figure_drawing.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QLinearGradient>

namespace kestrel {
namespace {

bool IsWhite(FigureKind k) { return k == FigureKind::WhiteMan || k == FigureKind::WhiteKing; }
bool IsKing(FigureKind k) { return k == FigureKind::WhiteKing || k == FigureKind::BlackKing; }

struct Palette {
  QColor light, mid, dark, edge;  // body from the lit side to the shaded rim
  QColor groove, shine;           // the turned rings on the face
};

Palette TurnedWood(bool white) {
  if (white)
    return {QColor(255, 253, 244), QColor(236, 226, 200), QColor(190, 172, 132), QColor(112, 92, 58),
            QColor(120, 98, 60, 150), QColor(255, 255, 255, 190)};
  return {QColor(96, 92, 90), QColor(46, 43, 42), QColor(16, 15, 15), QColor(0, 0, 0),
          QColor(0, 0, 0, 190), QColor(255, 255, 255, 60)};
}

// A five-pointed crown centred on (cx, cy), `w` wide.
QPainterPath CrownPath(double cx, double cy, double w) {
  const double h = w * 0.62;
  const double left = cx - w / 2, right = cx + w / 2;
  const double top = cy - h / 2, base = cy + h / 2;
  const double bandTop = base - h * 0.26;
  QPainterPath p;
  p.moveTo(left, base);
  p.lineTo(left, top + h * 0.18);
  p.lineTo(left + w * 0.22, bandTop - h * 0.18);
  p.lineTo(cx - w * 0.18, top + h * 0.02);
  p.lineTo(cx, bandTop - h * 0.22);
  p.lineTo(cx + w * 0.18, top + h * 0.02);
  p.lineTo(right - w * 0.22, bandTop - h * 0.18);
  p.lineTo(right, top + h * 0.18);
  p.lineTo(right, base);
  p.closeSubpath();
  // Pearls on the points.
  const double r = w * 0.075;
  for (QPointF tip : {QPointF(left, top + h * 0.18), QPointF(cx - w * 0.18, top + h * 0.02),
                      QPointF(cx + w * 0.18, top + h * 0.02), QPointF(right, top + h * 0.18)})
    p.addEllipse(tip, r, r);
  return p.simplified();
}

void DrawCrown(QPainter& p, double cx, double cy, double w, bool onWhite, bool flat) {
  const QPainterPath crown = CrownPath(cx, cy, w);
  const QRectF box = crown.boundingRect();
  if (flat) {
    p.setPen(Qt::NoPen);
    p.setBrush(onWhite ? QColor(176, 132, 24) : QColor(236, 196, 72));
    p.drawPath(crown);
    return;
  }
  QLinearGradient gold(box.topLeft(), box.bottomLeft());
  gold.setColorAt(0.0, QColor(255, 236, 140));
  gold.setColorAt(0.5, QColor(240, 190, 48));
  gold.setColorAt(1.0, QColor(170, 118, 16));
  p.setPen(QPen(QColor(110, 72, 8), w * 0.05, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(gold);
  p.drawPath(crown);
  // The band across the foot of the crown.
  const double bandY = box.bottom() - box.height() * 0.26;
  p.setPen(QPen(QColor(110, 72, 8, 200), w * 0.04));
  p.drawLine(QPointF(box.left() + w * 0.03, bandY), QPointF(box.right() - w * 0.03, bandY));
}

void DrawTurnedPiece(QPainter& p, FigureKind kind, int size) {
  const double s = size;
  const double c = s / 2.0;
  const double r = s * 0.44;
  const Palette pal = TurnedWood(IsWhite(kind));

  // Soft shadow to the lower right.
  p.setPen(Qt::NoPen);
  for (int i = 3; i >= 1; --i) {
    p.setBrush(QColor(0, 0, 0, 34));
    p.drawEllipse(QPointF(c + s * 0.025, c + s * 0.035), r + i * s * 0.008, r + i * s * 0.008);
  }

  // Body: lit from the upper left.
  QRadialGradient body(QPointF(c, c), r, QPointF(c - r * 0.45, c - r * 0.5));
  body.setColorAt(0.0, pal.light);
  body.setColorAt(0.55, pal.mid);
  body.setColorAt(1.0, pal.dark);
  p.setBrush(body);
  p.setPen(QPen(pal.edge, s * 0.02));
  p.drawEllipse(QPointF(c, c), r, r);

  // Turned rings: a shaded groove with a lit lip below it.
  p.setBrush(Qt::NoBrush);
  for (double ring : {0.80, 0.56}) {
    p.setPen(QPen(pal.groove, s * 0.022));
    p.drawEllipse(QPointF(c, c), r * ring, r * ring);
    p.setPen(QPen(pal.shine, s * 0.014));
    p.drawEllipse(QPointF(c + s * 0.008, c + s * 0.012), r * ring, r * ring);
  }

  // Gloss on the lit side.
  QRadialGradient gloss(QPointF(c - r * 0.42, c - r * 0.46), r * 0.5);
  gloss.setColorAt(0.0, QColor(255, 255, 255, IsWhite(kind) ? 150 : 90));
  gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(gloss);
  p.drawEllipse(QPointF(c - r * 0.42, c - r * 0.46), r * 0.5, r * 0.5);

  if (IsKing(kind)) DrawCrown(p, c, c + s * 0.01, r * 1.05, IsWhite(kind), false);
}

void DrawFlatPiece(QPainter& p, FigureKind kind, int size) {
  const double s = size;
  const double c = s / 2.0;
  const double r = s * 0.45;
  const bool white = IsWhite(kind);
  p.setPen(QPen(white ? QColor(90, 84, 70) : QColor(10, 10, 10), s * 0.03));
  p.setBrush(white ? QColor(246, 242, 230) : QColor(44, 44, 48));
  p.drawEllipse(QPointF(c, c), r, r);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(white ? QColor(180, 170, 148) : QColor(100, 100, 108), s * 0.03));
  p.drawEllipse(QPointF(c, c), r * 0.72, r * 0.72);
  if (IsKing(kind)) DrawCrown(p, c, c + s * 0.01, r * 1.0, white, true);
}

}  // namespace

QStringList BuiltinFigureStyles() { return {QStringLiteral("default"), QStringLiteral("flat")}; }

bool IsBuiltinFigureStyle(const QString& style) { return BuiltinFigureStyles().contains(style, Qt::CaseInsensitive); }

QImage DrawBuiltinFigure(FigureKind kind, const QString& style, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  if (style.compare(QStringLiteral("flat"), Qt::CaseInsensitive) == 0)
    DrawFlatPiece(p, kind, size);
  else
    DrawTurnedPiece(p, kind, size);
  return image;
}

QImage DrawMoveHighlight(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  const double pen = s * 0.06;
  p.setPen(QPen(QColor(255, 206, 40, 235), pen));
  p.setBrush(QColor(255, 220, 70, 95));
  p.drawRoundedRect(QRectF(pen / 2, pen / 2, s - pen, s - pen), s * 0.08, s * 0.08);
  return image;
}

}  // namespace kestrel
