// The four figure pictures of the board (white man, black man, white king,
// black king) and their named sets: folders under Pics/ holding "ws.bmp",
// "bs.bmp", "wk.bmp" and "bk.bmp".
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include "app/ui/figure_drawing.h"

namespace kestrel {

inline constexpr const char* DefaultFigureStyle = "default";

// "ws.bmp", "bs.bmp", "wk.bmp" or "bk.bmp".
QString FigureFileName(FigureKind kind);

// One picture file per figure, in FigureKind order.
using FigureFiles = std::array<QString, FigureKindCount>;
FigureFiles FigureFilesOfStyle(const QString& picsFolder, const QString& style);

// Reads a figure picture. Pictures without an alpha channel take the colour
// of their bottom-left pixel as the transparent background. A missing,
// damaged or oversized file gives nothing and the reason in `why`.
std::optional<QImage> ReadFigureFile(const QString& path, QString* why = nullptr);

class FigureSet {
 public:
  // Starts with the built-in pictures of the default style.
  FigureSet();

  const QImage& Picture(FigureKind kind) const { return pictures_[static_cast<int>(kind)]; }
  void SetPicture(FigureKind kind, QImage picture);

  // Puts the built-in pictures of a style in place of all four.
  void UseBuiltin(const QString& style);

  // Loads each file; one that cannot be loaded keeps the picture already in
  // place. Returns one message per file not loaded, naming it.
  QStringList Load(const FigureFiles& files);
  QStringList Load(FigureKind kind, const QString& file);

 private:
  std::array<QImage, FigureKindCount> pictures_;
};

// Names of the figure sets: the sub-folders of `picsFolder`, sorted.
QStringList FigureStyleNames(const QString& picsFolder);

// Writes the built-in pictures of `style` as a figure set into `folder`
// (created if missing).
bool WriteBuiltinFigureSet(const QString& folder, const QString& style, QString* error = nullptr);

}  // namespace kestrel
