#include "app/board/bmp_writer.h"

#include "app/settings/atomic_file.h"

namespace kestrel {
namespace {

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t V4HeaderSize = 108;
constexpr uint32_t BiBitfields = 3;
constexpr uint32_t LcsSRgb = 0x73524742;       // 'sRGB'
constexpr int32_t PixelsPerMetre = 3780;       // 96 dots per inch

void Put16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

std::string EncodeBmp32(int width, int height, std::span<const uint32_t> argb) {
  if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * height) return {};
  const uint32_t imageBytes = static_cast<uint32_t>(width) * height * 4;
  const uint32_t offset = FileHeaderSize + V4HeaderSize;
  std::string out;
  out.reserve(offset + imageBytes);
  out += "BM";
  Put32(out, offset + imageBytes);
  Put32(out, 0);  // reserved
  Put32(out, offset);

  Put32(out, V4HeaderSize);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));  // positive: bottom row first
  Put16(out, 1);                              // planes
  Put16(out, 32);                             // bits per pixel
  Put32(out, BiBitfields);
  Put32(out, imageBytes);
  Put32(out, PixelsPerMetre);
  Put32(out, PixelsPerMetre);
  Put32(out, 0);  // colours used
  Put32(out, 0);  // important colours
  Put32(out, 0x00FF0000);  // red mask
  Put32(out, 0x0000FF00);  // green mask
  Put32(out, 0x000000FF);  // blue mask
  Put32(out, 0xFF000000);  // alpha mask
  Put32(out, LcsSRgb);
  out.append(36 + 12, '\0');  // end points and gamma, unused with sRGB

  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) Put32(out, argb[static_cast<size_t>(y) * width + x]);
  return out;
}

bool WriteBmp32(const std::filesystem::path& path, int width, int height, std::span<const uint32_t> argb,
                std::string* error) {
  const std::string bytes = EncodeBmp32(width, height, argb);
  if (bytes.empty()) {
    if (error) *error = "bad picture size";
    return false;
  }
  return WriteFileAtomically(path, bytes, error);
}

}  // namespace kestrel
