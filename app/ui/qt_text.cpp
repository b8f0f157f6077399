#include "app/ui/qt_text.h"

#include <QByteArray>

#include "database/code_page.h"

namespace kestrel {

QString StoredToQt(std::string_view stored) {
  const std::string utf8 = AnsiToUtf8(stored);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string QtToStored(const QString& text) {
  int lost = 0;
  return QtToStored(text, lost);
}

std::string QtToStored(const QString& text, int& lost) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToAnsi(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), lost);
}

}  // namespace kestrel
