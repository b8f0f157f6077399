#include "app/ui/board_picture_gif.h"

#include "app/export/gif_writer.h"

namespace kestrel {

std::vector<uint32_t> ImagePixels(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(rgb.width()) * rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
    pixels.insert(pixels.end(), line, line + rgb.width());
  }
  return pixels;
}

bool WriteBoardGif(const QImage& image, const std::filesystem::path& path, std::string* error) {
  const std::vector<uint32_t> pixels = ImagePixels(image);
  return WriteGifFile(path, image.width(), image.height(), pixels, error);
}

}  // namespace kestrel
