// Pictures as GIF files (giflib): up to 256 colours, chosen by median cut
// when the picture has more, each pixel given the nearest of them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kestrel {

// `argb` holds width*height pixels 0xAARRGGBB, top row first; alpha is
// ignored (board pictures are opaque). Empty for sizes that are not positive
// or do not match the pixel count.
std::string EncodeGif(int width, int height, std::span<const uint32_t> argb);

// The palette chosen for the pixels: every colour itself when there are at
// most 256, else 256 representatives.
std::vector<uint32_t> GifPalette(std::span<const uint32_t> argb);

// Written whole: a temporary file renamed into place, so a full disk or an
// unwritable folder leaves no partial file under the final name.
bool WriteGifFile(const std::filesystem::path& path, int width, int height, std::span<const uint32_t> argb,
                  std::string* error = nullptr);

// The chosen name with its extension replaced by ".gif".
std::string GifExportFileName(std::string_view chosen);

}  // namespace kestrel
