#include "app/ui/board_fonts.h"

#include <QFontDatabase>

#include <cmath>

namespace kestrel {

QString BoardFontFamily() {
  static const QString family =
      QFontDatabase::hasFamily(QStringLiteral("Tahoma")) ? QStringLiteral("Tahoma") : QStringLiteral("DejaVu Sans");
  return family;
}

QFont BoardFont(int points) {
  QFont font(BoardFontFamily());
  font.setBold(true);
  font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
  font.setStyleHint(QFont::SansSerif);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace kestrel
