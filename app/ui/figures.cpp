#include "app/ui/figures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <string_view>
#include <vector>

#include "app/board/bmp_check.h"
#include "app/board/bmp_writer.h"
#include "app/language/window_texts.h"
#include "app/ui/lang_text.h"
#include "database/code_page.h"

namespace kestrel {
namespace {

// Figures are drawn into squares of at most 105 pixels; anything larger than
// the whole board image is not a figure, and refusing it early keeps a
// damaged header from asking for a huge allocation.
constexpr int MaxFigureEdge = 920;
constexpr qint64 MaxFigureFileBytes = 16 * 1024 * 1024;

// Pictures made for the original program have no alpha channel and mark
// their background with the colour of the bottom-left pixel.
QImage WithTransparentBackground(QImage image) {
  bool useKey = !image.hasAlphaChannel();
  image = image.convertToFormat(QImage::Format_ARGB32);
  if (!useKey) {
    // A file whose alpha bytes are all zero meant no alpha at all.
    bool anyVisible = false;
    for (int y = 0; y < image.height() && !anyVisible; ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if (qAlpha(line[x]) != 0) {
          anyVisible = true;
          break;
        }
    }
    if (!anyVisible) {
      for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] |= 0xFF000000u;
      }
      useKey = true;
    }
  }
  if (useKey) {
    const QRgb key = image.pixel(0, image.height() - 1) & 0x00FFFFFFu;
    for (int y = 0; y < image.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if ((line[x] & 0x00FFFFFFu) == key) line[x] = 0;
    }
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QString FigureFileName(FigureKind kind) {
  static const char* const names[FigureKindCount] = {"ws.bmp", "bs.bmp", "wk.bmp", "bk.bmp"};
  return QString::fromLatin1(names[static_cast<int>(kind)]);
}

FigureFiles FigureFilesOfStyle(const QString& picsFolder, const QString& style) {
  FigureFiles files;
  const QDir dir(QDir(picsFolder).filePath(style));
  for (int k = 0; k < FigureKindCount; ++k) files[k] = dir.filePath(FigureFileName(static_cast<FigureKind>(k)));
  return files;
}

std::optional<QImage> ReadFigureFile(const QString& path, QString* why) {
  auto fail = [&](const QString& reason) -> std::optional<QImage> {
    if (why) *why = reason;
    return std::nullopt;
  };
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists()) return fail(QStringLiteral("the file is missing"));
  if (!info.isFile()) return fail(QStringLiteral("not a file"));
  if (info.size() > MaxFigureFileBytes) return fail(QStringLiteral("the file is too large for a figure"));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("the file cannot be read"));
  QByteArray bytes = file.readAll();
  const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
  // The decoder would show a cut-short bitmap with rows missing.
  if (LooksLikeBmp(view))
    if (const std::optional<std::string> damage = BmpDamage(view))
      return fail(QString::fromStdString(*damage));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) return fail(QStringLiteral("not a readable picture"));
  if (size.width() > MaxFigureEdge || size.height() > MaxFigureEdge)
    return fail(QStringLiteral("the picture is larger than %1 pixels").arg(MaxFigureEdge));
  QImage image;
  if (!reader.read(&image) || image.isNull()) return fail(QStringLiteral("not a readable picture"));
  if (image.width() > MaxFigureEdge || image.height() > MaxFigureEdge)
    return fail(QStringLiteral("the picture is larger than %1 pixels").arg(MaxFigureEdge));
  return WithTransparentBackground(std::move(image));
}

FigureSet::FigureSet() { UseBuiltin(QString::fromLatin1(DefaultFigureStyle)); }

void FigureSet::SetPicture(FigureKind kind, QImage picture) {
  pictures_[static_cast<int>(kind)] = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void FigureSet::UseBuiltin(const QString& style) {
  for (int k = 0; k < FigureKindCount; ++k) pictures_[k] = DrawBuiltinFigure(static_cast<FigureKind>(k), style);
}

QStringList FigureSet::Load(FigureKind kind, const QString& file) {
  QString why;
  if (std::optional<QImage> picture = ReadFigureFile(file, &why)) {
    pictures_[static_cast<int>(kind)] = std::move(*picture);
    return {};
  }
  return {LangQ(LtFigureNotLoaded).arg(QDir::toNativeSeparators(file), why)};
}

QStringList FigureSet::Load(const FigureFiles& files) {
  QStringList messages;
  for (int k = 0; k < FigureKindCount; ++k) messages += Load(static_cast<FigureKind>(k), files[k]);
  return messages;
}

QStringList FigureStyleNames(const QString& picsFolder) {
  QStringList names = QDir(picsFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  return names;
}

bool WriteBuiltinFigureSet(const QString& folder, const QString& style, QString* error) {
  if (!QDir().mkpath(folder)) {
    if (error) *error = QStringLiteral("cannot create the folder %1").arg(folder);
    return false;
  }
  for (int k = 0; k < FigureKindCount; ++k) {
    const FigureKind kind = static_cast<FigureKind>(k);
    const QImage image = DrawBuiltinFigure(kind, style).convertToFormat(QImage::Format_ARGB32);
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      pixels.insert(pixels.end(), line, line + image.width());
    }
    const QString path = QDir(folder).filePath(FigureFileName(kind));
    std::string why;
    if (!WriteBmp32(path.toStdString(), image.width(), image.height(), pixels, &why)) {
      if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, QString::fromStdString(why));
      return false;
    }
  }
  return true;
}

}  // namespace kestrel
