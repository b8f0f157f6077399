// The font of the board's labels. "Tahoma" where it is installed; otherwise
// DejaVu Sans, a sans-serif that every Debian desktop has, so that labels look
// the same on every machine.
#pragma once

#include <QFont>
#include <QString>

namespace kestrel {

QString BoardFontFamily();

// Bold, sized in points at 96 dots per inch and set in pixels, so the picture
// does not depend on the screen's resolution.
QFont BoardFont(int points);

}  // namespace kestrel
