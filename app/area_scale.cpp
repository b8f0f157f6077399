#include "app/area_scale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestrel {
namespace {

// Which source pixels contribute to each target pixel, and how much.
struct Tap {
  int first;
  std::vector<double> weights;  // sum to 1
};

std::vector<Tap> MakeTaps(int sourceSize, int targetSize) {
  std::vector<Tap> taps(targetSize);
  const double step = static_cast<double>(sourceSize) / targetSize;
  for (int t = 0; t < targetSize; ++t) {
    const double from = t * step;
    const double to = std::min((t + 1) * step, static_cast<double>(sourceSize));
    Tap& tap = taps[t];
    tap.first = std::min(static_cast<int>(std::floor(from)), sourceSize - 1);
    if (step <= 1.0) {  // enlarging in this direction: nearest source pixel
      tap.weights = {1.0};
      continue;
    }
    for (int s = tap.first; s < sourceSize && s < to; ++s) {
      const double covered = std::min<double>(s + 1, to) - std::max<double>(s, from);
      tap.weights.push_back(covered / step);
    }
  }
  return taps;
}

uint8_t Channel(uint32_t p, int shift) { return static_cast<uint8_t>((p >> shift) & 0xFF); }

}  // namespace

void AreaScale(PixelView source, PixelTarget target) {
  if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0) return;
  const std::vector<Tap> columns = MakeTaps(source.width, target.width);
  const std::vector<Tap> rows = MakeTaps(source.height, target.height);

  // Horizontal pass into a buffer of four channels per pixel.
  std::vector<double> wide(static_cast<size_t>(target.width) * source.height * 4);
  for (int y = 0; y < source.height; ++y) {
    const uint32_t* line = source.pixels + static_cast<size_t>(y) * source.stride;
    for (int x = 0; x < target.width; ++x) {
      double sum[4] = {0, 0, 0, 0};
      const Tap& tap = columns[x];
      for (size_t k = 0; k < tap.weights.size(); ++k) {
        const uint32_t p = line[tap.first + k];
        for (int c = 0; c < 4; ++c) sum[c] += tap.weights[k] * Channel(p, 8 * c);
      }
      double* out = &wide[(static_cast<size_t>(y) * target.width + x) * 4];
      std::copy(sum, sum + 4, out);
    }
  }
  // Vertical pass into the target.
  for (int y = 0; y < target.height; ++y) {
    const Tap& tap = rows[y];
    uint32_t* line = target.pixels + static_cast<size_t>(y) * target.stride;
    for (int x = 0; x < target.width; ++x) {
      double sum[4] = {0, 0, 0, 0};
      for (size_t k = 0; k < tap.weights.size(); ++k) {
        const double* in = &wide[((tap.first + k) * target.width + x) * 4];
        for (int c = 0; c < 4; ++c) sum[c] += tap.weights[k] * in[c];
      }
      uint32_t p = 0;
      for (int c = 0; c < 4; ++c) {
        const long v = std::lround(sum[c]);
        p |= static_cast<uint32_t>(std::clamp(v, 0L, 255L)) << (8 * c);
      }
      line[x] = p;
    }
  }
}

}  // namespace kestrel
