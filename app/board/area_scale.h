// Shrinking a picture by area averaging: every target pixel is the mean of
// the source pixels it covers, weighted by how much of each it covers. Thin
// lines and text stay readable where point sampling would drop them.
#pragma once

#include <cstdint>
#include <span>

namespace kestrel {

// Pixels are 0xAARRGGBB, rows `stride` pixels apart. All four channels are
// averaged; with premultiplied colours that is the right mean. Sizes must be
// positive; a target larger than the source in a direction repeats pixels in
// that direction (enlarging is better left to interpolation).
struct PixelView {
  const uint32_t* pixels;
  int width, height, stride;
};
struct PixelTarget {
  uint32_t* pixels;
  int width, height, stride;
};

void AreaScale(PixelView source, PixelTarget target);

}  // namespace kestrel
