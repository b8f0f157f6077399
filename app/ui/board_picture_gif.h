// Board pictures as GIF files: the image the board view draws, written by
// the export library's GIF encoder.
#pragma once

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrel {

// Opaque 32-bit pixels of `image` (any format), top row first.
std::vector<uint32_t> ImagePixels(const QImage& image);

bool WriteBoardGif(const QImage& image, const std::filesystem::path& path, std::string* error = nullptr);

}  // namespace kestrel
