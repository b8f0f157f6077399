// The figure pictures the program draws itself: used where no figure file is
// found, and written out as the shipped figure sets.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace kestrel {

enum class FigureKind { WhiteMan = 0, BlackMan = 1, WhiteKing = 2, BlackKing = 3 };
inline constexpr int FigureKindCount = 4;
inline constexpr int FigureSize = 70;

// Names of the built-in styles; the first is the default.
QStringList BuiltinFigureStyles();
bool IsBuiltinFigureStyle(const QString& style);

// A picture of `size` by `size` pixels with a transparent background
// (premultiplied ARGB). An unknown style draws the default one.
QImage DrawBuiltinFigure(FigureKind kind, const QString& style, int size = FigureSize);

// The mark laid under the pieces of the last move, `size` pixels square.
QImage DrawMoveHighlight(int size);

}  // namespace kestrel
