#include <gtest/gtest.h>

#include <vector>

#include "app/board/bmp_check.h"
#include "app/board/bmp_writer.h"

namespace kestrel {
namespace {

void Set32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string Good(int w, int h) { return EncodeBmp32(w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, 0xFF112233)); }

// A 24-bit bitmap with the 40-byte header: rows padded to four bytes.
std::string Good24(int w, int h) {
  const uint32_t row = (w * 3 + 3) / 4 * 4;
  std::string b(54 + row * h, '\0');
  b[0] = 'B';
  b[1] = 'M';
  Set32(b, 2, static_cast<uint32_t>(b.size()));
  Set32(b, 10, 54);
  Set32(b, 14, 40);
  Set32(b, 18, static_cast<uint32_t>(w));
  Set32(b, 22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  return b;
}

TEST(BmpCheck, SoundFilesPass) {
  EXPECT_EQ(BmpDamage(Good(70, 70)), std::nullopt);
  EXPECT_EQ(BmpDamage(Good24(5, 3)), std::nullopt);  // 15 bytes a row, padded to 16
  std::string topDown = Good24(5, 3);
  Set32(topDown, 22, static_cast<uint32_t>(-3));
  EXPECT_EQ(BmpDamage(topDown), std::nullopt);
}

TEST(BmpCheck, EveryShortenedFileIsRefused) {
  for (const std::string& good : {Good(7, 5), Good24(5, 3)})
    for (size_t len = 0; len < good.size(); ++len)
      EXPECT_NE(BmpDamage(std::string_view(good).substr(0, len)), std::nullopt) << len;
}

TEST(BmpCheck, ImpossibleHeadersAreRefused) {
  std::string b = Good24(5, 3);
  EXPECT_NE(BmpDamage("PK" + b.substr(2)), std::nullopt);
  std::string w = b;
  Set32(w, 18, 0);
  EXPECT_NE(BmpDamage(w), std::nullopt);
  Set32(w, 18, 0x80000000u);  // below zero
  EXPECT_NE(BmpDamage(w), std::nullopt);
  Set32(w, 18, 0x7FFFFFFFu);  // far more pixels than the file holds
  EXPECT_NE(BmpDamage(w), std::nullopt);
  std::string h = b;
  Set32(h, 22, 0);
  EXPECT_NE(BmpDamage(h), std::nullopt);
  std::string bits = b;
  bits[28] = 7;
  EXPECT_NE(BmpDamage(bits), std::nullopt);
  std::string offset = b;
  Set32(offset, 10, 100000);
  EXPECT_NE(BmpDamage(offset), std::nullopt);
  Set32(offset, 10, 20);  // inside the headers
  EXPECT_NE(BmpDamage(offset), std::nullopt);
  std::string info = b;
  Set32(info, 14, 0xFFFFFFF0u);
  EXPECT_NE(BmpDamage(info), std::nullopt);
}

}  // namespace
}  // namespace kestrel
