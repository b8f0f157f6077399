#include "app/board/area_scale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestrel {
namespace {

// Weights are fixed-point fractions of 1 << 16, so that the sums stay in
// integers, which is both exact for even ratios and fast.
constexpr int WeightBits = 16;
constexpr uint32_t WeightOne = 1u << WeightBits;

// For every target pixel along one direction: the source pixels it covers
// and how much of each; the weights of a target pixel sum to WeightOne.
struct Taps {
  std::vector<int> first, count, offset;
  std::vector<uint32_t> weights;
};

Taps MakeTaps(int sourceSize, int targetSize) {
  Taps taps;
  taps.first.resize(targetSize);
  taps.count.resize(targetSize);
  taps.offset.resize(targetSize);
  const double step = static_cast<double>(sourceSize) / targetSize;
  for (int t = 0; t < targetSize; ++t) {
    const double from = t * step;
    const double to = std::min((t + 1) * step, static_cast<double>(sourceSize));
    const int first = std::min(static_cast<int>(std::floor(from)), sourceSize - 1);
    taps.first[t] = first;
    taps.offset[t] = static_cast<int>(taps.weights.size());
    if (step <= 1.0) {  // enlarging in this direction: the nearest source pixel
      taps.weights.push_back(WeightOne);
    } else {
      uint32_t total = 0;
      for (int s = first; s < sourceSize && s < to; ++s) {
        const double covered = std::min<double>(s + 1, to) - std::max<double>(s, from);
        const auto w = static_cast<uint32_t>(std::lround(covered / step * WeightOne));
        taps.weights.push_back(w);
        total += w;
      }
      const auto largest =
          std::max_element(taps.weights.begin() + taps.offset[t], taps.weights.end()) - taps.weights.begin();
      taps.weights[largest] += WeightOne - total;
    }
    taps.count[t] = static_cast<int>(taps.weights.size()) - taps.offset[t];
  }
  return taps;
}

}  // namespace

void AreaScale(PixelView source, PixelTarget target) {
  if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0) return;
  const Taps columns = MakeTaps(source.width, target.width);
  const Taps rows = MakeTaps(source.height, target.height);

  // One target row at a time: the covered source rows are summed into a row
  // of channel values (8.16 fixed point, kept as 8.8), then summed across.
  std::vector<uint32_t> sums(static_cast<size_t>(source.width) * 4);
  std::vector<uint32_t> row(static_cast<size_t>(source.width) * 4);
  for (int ty = 0; ty < target.height; ++ty) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (int k = 0; k < rows.count[ty]; ++k) {
      const uint32_t w = rows.weights[rows.offset[ty] + k];
      const uint32_t* line = source.pixels + static_cast<size_t>(rows.first[ty] + k) * source.stride;
      uint32_t* acc = sums.data();
      for (int x = 0; x < source.width; ++x, acc += 4) {
        const uint32_t p = line[x];
        acc[0] += w * (p & 0xFF);
        acc[1] += w * ((p >> 8) & 0xFF);
        acc[2] += w * ((p >> 16) & 0xFF);
        acc[3] += w * (p >> 24);
      }
    }
    for (size_t i = 0; i < row.size(); ++i) row[i] = sums[i] >> 8;
    uint32_t* out = target.pixels + static_cast<size_t>(ty) * target.stride;
    for (int tx = 0; tx < target.width; ++tx) {
      uint64_t sum[4] = {0, 0, 0, 0};
      const uint32_t* weights = &columns.weights[columns.offset[tx]];
      const uint32_t* in = &row[static_cast<size_t>(columns.first[tx]) * 4];
      for (int k = 0; k < columns.count[tx]; ++k, in += 4)
        for (int c = 0; c < 4; ++c) sum[c] += static_cast<uint64_t>(weights[k]) * in[c];
      uint32_t p = 0;
      for (int c = 0; c < 4; ++c) {
        const uint64_t v = (sum[c] + (1u << 23)) >> 24;
        p |= static_cast<uint32_t>(std::min<uint64_t>(v, 255)) << (8 * c);
      }
      out[tx] = p;
    }
  }
}

}  // namespace kestrel
