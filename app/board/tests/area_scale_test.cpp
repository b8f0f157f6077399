#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/board/area_scale.h"

namespace kestrel {
namespace {

struct Picture {
  int width, height;
  std::vector<uint32_t> pixels;
  Picture(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  PixelView view() const { return {pixels.data(), width, height, width}; }
  PixelTarget target() { return {pixels.data(), width, height, width}; }
};

int Ch(uint32_t p, int c) { return (p >> (8 * c)) & 0xFF; }

TEST(AreaScale, HalvingAveragesEachTwoByTwoBlock) {
  std::mt19937 rng(7);
  Picture src(920, 920);
  for (auto& p : src.pixels) p = rng();
  Picture dst(460, 460);
  AreaScale(src.view(), dst.target());
  for (int y = 0; y < 460; y += 37)
    for (int x = 0; x < 460; x += 41)
      for (int c = 0; c < 4; ++c) {
        const int sum = Ch(src.at(2 * x, 2 * y), c) + Ch(src.at(2 * x + 1, 2 * y), c) +
                        Ch(src.at(2 * x, 2 * y + 1), c) + Ch(src.at(2 * x + 1, 2 * y + 1), c);
        EXPECT_NEAR(Ch(dst.at(x, y), c), sum / 4.0, 0.5 + 1e-9) << x << "," << y << " channel " << c;
      }
}

TEST(AreaScale, FractionalCoverageIsWeighted) {
  Picture src(3, 1);
  src.at(0, 0) = 0xFF000000;
  src.at(1, 0) = 0xFFFFFFFF;
  src.at(2, 0) = 0xFF000000;
  Picture dst(2, 1);
  AreaScale(src.view(), dst.target());
  // Each target pixel covers one and a half source pixels: 255 * 0.5 / 1.5.
  EXPECT_EQ(dst.at(0, 0), 0xFF555555u);
  EXPECT_EQ(dst.at(1, 0), 0xFF555555u);
}

TEST(AreaScale, KeepsTheMeanAndThinLines) {
  Picture src(920, 920, 0xFF404040);
  for (int y = 0; y < 920; ++y) src.at(500, y) = 0xFFFFFFFF;  // a one-pixel line
  Picture dst(301, 301);
  AreaScale(src.view(), dst.target());
  double sumSrc = 0, sumDst = 0;
  for (uint32_t p : src.pixels) sumSrc += Ch(p, 0);
  for (uint32_t p : dst.pixels) sumDst += Ch(p, 0);
  EXPECT_NEAR(sumSrc / src.pixels.size(), sumDst / dst.pixels.size(), 0.5);
  // The line survives as a lighter column, which point sampling could miss.
  int brightest = 0;
  for (int x = 0; x < 301; ++x) brightest = std::max(brightest, Ch(dst.at(x, 150), 0));
  EXPECT_GT(brightest, 0x40 + 30);
  // Alpha is averaged like the colours.
  EXPECT_EQ(Ch(dst.at(10, 10), 3), 0xFF);
}

TEST(AreaScale, UniformStaysUniformAtAnySize) {
  for (int size : {115, 230, 299, 613, 919}) {
    Picture src(920, 920, 0x80123456);
    Picture dst(size, size);
    AreaScale(src.view(), dst.target());
    for (uint32_t p : dst.pixels) ASSERT_EQ(p, 0x80123456u) << size;
  }
}

TEST(AreaScale, HonoursStrides) {
  Picture src(4, 2, 0);
  src.at(0, 1) = src.at(1, 1) = 0xFF0000FF;
  std::vector<uint32_t> out(3 * 1, 0xDEADBEEF);
  AreaScale({src.pixels.data(), 2, 2, 4}, {out.data(), 1, 1, 3});
  EXPECT_EQ(out[0], 0x80000080u);  // (255 + 255 + 0 + 0) / 4, rounded, in blue and alpha
  EXPECT_EQ(out[1], 0xDEADBEEFu);  // untouched past the target width
}

}  // namespace
}  // namespace kestrel
