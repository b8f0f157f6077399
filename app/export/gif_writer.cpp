#include "app/export/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <unordered_map>

#include "app/export/export_file_name.h"
#include "app/settings/atomic_file.h"

namespace kestrel {
namespace {

constexpr int MaxColours = 256;

int R(uint32_t c) { return (c >> 16) & 0xFF; }
int G(uint32_t c) { return (c >> 8) & 0xFF; }
int B(uint32_t c) { return c & 0xFF; }

struct TColourCount {
  uint32_t rgb;
  uint32_t count;
};

// Median cut: split the box with the widest channel range at the median of
// its pixels until there are enough boxes; each box gives its mean colour.
std::vector<uint32_t> MedianCut(std::vector<TColourCount> colours, size_t wanted) {
  struct Box {
    size_t begin, end;
  };
  std::vector<Box> boxes{{0, colours.size()}};
  const auto range = [&](const Box& b, int& channel) {
    std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
    for (size_t i = b.begin; i < b.end; ++i) {
      const uint32_t c = colours[i].rgb;
      const std::array<int, 3> v{R(c), G(c), B(c)};
      for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
    }
    int best = -1;
    for (int k = 0; k < 3; ++k)
      if (hi[k] - lo[k] > best) best = hi[k] - lo[k], channel = k;
    return best;
  };
  while (boxes.size() < wanted) {
    // The box with the widest range that can still be split.
    int widest = -1, channel = 0;
    size_t which = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].end - boxes[i].begin < 2) continue;
      int ch = 0;
      const int r = range(boxes[i], ch);
      if (r > widest) widest = r, which = i, channel = ch;
    }
    if (widest <= 0) break;
    const Box box = boxes[which];
    const int shift = 16 - 8 * channel;
    std::sort(colours.begin() + box.begin, colours.begin() + box.end,
              [shift](const TColourCount& a, const TColourCount& b) {
                return ((a.rgb >> shift) & 0xFF) < ((b.rgb >> shift) & 0xFF);
              });
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
    uint64_t seen = 0;
    size_t cut = box.begin;
    while (cut < box.end - 1 && (seen += colours[cut].count) < total / 2) ++cut;
    cut = std::clamp(cut + 1, box.begin + 1, box.end - 1);
    boxes[which] = {box.begin, cut};
    boxes.push_back({cut, box.end});
  }
  std::vector<uint32_t> palette;
  for (const Box& b : boxes) {
    uint64_t n = 0, r = 0, g = 0, bl = 0;
    for (size_t i = b.begin; i < b.end; ++i) {
      const uint64_t w = colours[i].count;
      n += w, r += w * R(colours[i].rgb), g += w * G(colours[i].rgb), bl += w * B(colours[i].rgb);
    }
    palette.push_back(static_cast<uint32_t>((r + n / 2) / n << 16 | (g + n / 2) / n << 8 | (bl + n / 2) / n));
  }
  return palette;
}

int Nearest(const std::vector<uint32_t>& palette, uint32_t rgb) {
  int best = 0;
  int bestDistance = 1 << 30;
  for (size_t i = 0; i < palette.size(); ++i) {
    const int dr = R(palette[i]) - R(rgb), dg = G(palette[i]) - G(rgb), db = B(palette[i]) - B(rgb);
    const int d = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
    if (d < bestDistance) bestDistance = d, best = static_cast<int>(i);
  }
  return best;
}

int WriteToString(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
  return length;
}

}  // namespace

std::vector<uint32_t> GifPalette(std::span<const uint32_t> argb) {
  std::unordered_map<uint32_t, uint32_t> counts;
  for (uint32_t p : argb) ++counts[p & 0xFFFFFF];
  std::vector<TColourCount> colours;
  colours.reserve(counts.size());
  for (const auto& [rgb, n] : counts) colours.push_back({rgb, n});
  std::sort(colours.begin(), colours.end(), [](const TColourCount& a, const TColourCount& b) { return a.rgb < b.rgb; });
  if (colours.size() <= MaxColours) {
    std::vector<uint32_t> palette;
    for (const TColourCount& c : colours) palette.push_back(c.rgb);
    return palette;
  }
  // Colours that fill whole areas (squares, frame, background) keep their
  // own entries, so flat parts of the picture come back exactly; the
  // shading of the figures shares the rest.
  std::sort(colours.begin(), colours.end(),
            [](const TColourCount& a, const TColourCount& b) { return a.count > b.count; });
  constexpr size_t MaxReserved = 64;
  size_t reserved = 0;
  while (reserved < MaxReserved && colours[reserved].count * 1024 >= argb.size()) ++reserved;
  std::vector<uint32_t> palette;
  for (size_t i = 0; i < reserved; ++i) palette.push_back(colours[i].rgb);
  std::vector<uint32_t> shared =
      MedianCut({colours.begin() + static_cast<std::ptrdiff_t>(reserved), colours.end()}, MaxColours - reserved);
  palette.insert(palette.end(), shared.begin(), shared.end());
  return palette;
}

std::string EncodeGif(int width, int height, std::span<const uint32_t> argb) {
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
      argb.size() != static_cast<size_t>(width) * height)
    return {};
  const std::vector<uint32_t> palette = GifPalette(argb);
  // The colour table's size is a power of two of at least 2.
  int bits = 1;
  while ((1 << bits) < static_cast<int>(palette.size())) ++bits;
  std::vector<GifColorType> table(1u << bits, GifColorType{0, 0, 0});
  for (size_t i = 0; i < palette.size(); ++i)
    table[i] = {static_cast<GifByteType>(R(palette[i])), static_cast<GifByteType>(G(palette[i])),
                static_cast<GifByteType>(B(palette[i]))};

  std::vector<GifByteType> indices(argb.size());
  std::unordered_map<uint32_t, GifByteType> lookup;
  for (size_t i = 0; i < argb.size(); ++i) {
    const uint32_t rgb = argb[i] & 0xFFFFFF;
    const auto found = lookup.find(rgb);
    if (found != lookup.end()) {
      indices[i] = found->second;
    } else {
      const auto index = static_cast<GifByteType>(Nearest(palette, rgb));
      lookup.emplace(rgb, index);
      indices[i] = index;
    }
  }

  std::string out;
  int status = 0;
  GifFileType* gif = EGifOpen(&out, WriteToString, &status);
  if (!gif) return {};
  const auto close = [](GifFileType* g) {
    int ignored = 0;
    EGifCloseFile(g, &ignored);
  };
  std::unique_ptr<GifFileType, decltype(close)> owner(gif, close);
  ColorMapObject* map = GifMakeMapObject(1 << bits, table.data());
  if (!map) return {};
  const bool ok = EGifPutScreenDesc(gif, width, height, bits, 0, map) == GIF_OK &&
                  EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  GifFreeMapObject(map);
  if (!ok) return {};
  for (int y = 0; y < height; ++y)
    if (EGifPutLine(gif, indices.data() + static_cast<size_t>(y) * width, width) != GIF_OK) return {};
  int closeStatus = 0;
  const int closed = EGifCloseFile(owner.release(), &closeStatus);
  if (closed != GIF_OK) return {};
  return out;
}

bool WriteGifFile(const std::filesystem::path& path, int width, int height, std::span<const uint32_t> argb,
                  std::string* error) {
  const std::string bytes = EncodeGif(width, height, argb);
  if (bytes.empty()) {
    if (error) *error = "the picture cannot be encoded as GIF";
    return false;
  }
  return WriteFileAtomically(path, bytes, error);
}

std::string GifExportFileName(std::string_view chosen) { return WithExtension(chosen, ".gif"); }

}  // namespace kestrel
