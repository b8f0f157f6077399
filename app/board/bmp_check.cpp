#include "app/board/bmp_check.h"

#include <cstdint>
#include <cstdlib>

namespace kestrel {
namespace {

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t BiRgb = 0, BiBitfields = 3, BiAlphaBitfields = 6;

uint32_t U32(std::string_view b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t U16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

}  // namespace

bool LooksLikeBmp(std::string_view bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

std::optional<std::string> BmpDamage(std::string_view b) {
  if (!LooksLikeBmp(b)) return "not a bitmap";
  if (b.size() < FileHeaderSize + 4) return "the file is cut short";
  const uint32_t pixelsAt = U32(b, 10);
  const uint32_t infoSize = U32(b, 14);
  if (infoSize < 12 || FileHeaderSize + infoSize > b.size()) return "the file is cut short";

  int64_t width, height;
  uint32_t bits, compression = BiRgb;
  if (infoSize == 12) {  // the old core header with 16-bit sizes
    width = U16(b, 18);
    height = static_cast<int16_t>(U16(b, 20));
    bits = U16(b, 24);
  } else {
    if (infoSize < 40) return "unknown bitmap header";
    width = static_cast<int32_t>(U32(b, 18));
    height = static_cast<int32_t>(U32(b, 22));
    bits = U16(b, 28);
    compression = U32(b, 30);
  }
  if (width <= 0 || height == 0) return "the picture has no size";
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return "unknown number of bits per pixel";
  if (pixelsAt < FileHeaderSize + infoSize || pixelsAt > b.size()) return "the file is cut short";
  if (compression == BiRgb || compression == BiBitfields || compression == BiAlphaBitfields) {
    const int64_t rowBytes = (width * bits + 31) / 32 * 4;
    if (rowBytes * std::llabs(height) > static_cast<int64_t>(b.size() - pixelsAt)) return "the file is cut short";
  }
  return std::nullopt;
}

}  // namespace kestrel
