#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "app/board/bmp_writer.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

uint32_t Le32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 | static_cast<uint8_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t Le16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

// A reader written from the file layout, independent of the writer.
std::vector<uint32_t> DecodeBottomUp32(const std::string& b, int& w, int& h) {
  const uint32_t offset = Le32(b, 10);
  w = static_cast<int>(Le32(b, 18));
  h = static_cast<int>(Le32(b, 22));
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int row = 0; row < h; ++row)
    for (int x = 0; x < w; ++x) px[static_cast<size_t>(h - 1 - row) * w + x] = Le32(b, offset + 4 * (row * w + x));
  return px;
}

TEST(BmpWriter, HeaderDescribesAThirtyTwoBitPictureWithAlpha) {
  std::vector<uint32_t> px(70 * 70, 0x00000000);
  const std::string b = EncodeBmp32(70, 70, px);
  ASSERT_EQ(b.size(), 14u + 108u + 70u * 70u * 4u);
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(Le32(b, 2), b.size());
  EXPECT_EQ(Le32(b, 10), 122u);
  EXPECT_EQ(Le32(b, 14), 108u);       // BITMAPV4HEADER
  EXPECT_EQ(Le16(b, 26), 1);          // planes
  EXPECT_EQ(Le16(b, 28), 32);         // bits per pixel
  EXPECT_EQ(Le32(b, 30), 3u);         // bit fields
  EXPECT_EQ(Le32(b, 54), 0x00FF0000u);
  EXPECT_EQ(Le32(b, 58), 0x0000FF00u);
  EXPECT_EQ(Le32(b, 62), 0x000000FFu);
  EXPECT_EQ(Le32(b, 66), 0xFF000000u);
}

TEST(BmpWriter, PixelsRoundTripTopRowFirst) {
  std::vector<uint32_t> px(3 * 2);
  for (size_t i = 0; i < px.size(); ++i) px[i] = 0x10203040u * static_cast<uint32_t>(i + 1);
  int w = 0, h = 0;
  EXPECT_EQ(DecodeBottomUp32(EncodeBmp32(3, 2, px), w, h), px);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
}

TEST(BmpWriter, RefusesBadSizesAndWritesFiles) {
  std::vector<uint32_t> px(4, 0xFF00FF00);
  EXPECT_TRUE(EncodeBmp32(0, 4, px).empty());
  EXPECT_TRUE(EncodeBmp32(2, -2, px).empty());
  EXPECT_TRUE(EncodeBmp32(3, 3, px).empty());  // fewer pixels than the size says

  testing::TempDir dir;
  std::string error;
  ASSERT_TRUE(WriteBmp32(dir.path() / "x.bmp", 2, 2, px, &error)) << error;
  std::ifstream in(dir.path() / "x.bmp", std::ios::binary);
  const std::string back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(back, EncodeBmp32(2, 2, px));
  EXPECT_FALSE(WriteBmp32(dir.path() / "x.bmp", 0, 0, {}, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kestrel
