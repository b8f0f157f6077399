// Writing pictures as Windows bitmaps with an alpha channel (32 bits per
// pixel, BITMAPV4HEADER with bit-field masks), so figure pictures keep their
// soft edges on any square colour.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace kestrel {

// `argb` holds width*height pixels 0xAARRGGBB (not premultiplied), top row
// first. Returns the file's bytes; empty for sizes that are not positive or
// do not match the pixel count.
std::string EncodeBmp32(int width, int height, std::span<const uint32_t> argb);

bool WriteBmp32(const std::filesystem::path& path, int width, int height, std::span<const uint32_t> argb,
                std::string* error = nullptr);

}  // namespace kestrel
