#include "engine/bitboard_tables.h"

#include <gtest/gtest.h>

#include <bit>

#include "engine/bitboard.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

TEST(BitTables, BinomialCoefficients) {
  EXPECT_EQ(CTab[49][6], 13983816u);
  EXPECT_EQ(CTab[31][7], 2629575u);
  EXPECT_EQ(CTab[40][7], 0u);
  EXPECT_EQ(CTab[32][7], 0u);
  EXPECT_EQ(CTab[5][5], 1u);
  EXPECT_EQ(CTab[3][5], 0u);

  // Pascal's triangle, built independently of both tables.
  uint64_t pascal[51][8] = {};
  for (int n = 0; n <= 50; ++n) {
    pascal[n][0] = 1;
    for (int k = 1; k < 8; ++k) pascal[n][k] = n == 0 ? 0 : pascal[n - 1][k - 1] + pascal[n - 1][k];
  }
  for (int k = 0; k < 8; ++k)
    for (int n = 0; n <= 50; ++n) {
      EXPECT_EQ(CNum[k][n], pascal[n][k]) << "C(" << n << "," << k << ")";
      if (n < 50 && n >= k && (k < 7 || n <= 31)) {
        EXPECT_EQ(CTab[n][k], pascal[n][k]) << "C(" << n << "," << k << ")";
      }
    }
  EXPECT_EQ(CNum[7][50], 99884400u);
}

TEST(BitTables, CountsScansAndReversal) {
  for (int n = 0; n < 64; ++n) EXPECT_EQ(BitMask[n], uint64_t{1} << n);
  for (uint32_t v = 0; v < 65536; ++v) {
    ASSERT_EQ(PopCnt16[v], std::popcount(v));
    ASSERT_EQ(HighBit16[v], v == 0 ? 0 : std::bit_width(v) - 1);
    ASSERT_EQ(Rev16[Rev16[v]], v);
    for (int bit = 0; bit < 16; ++bit) ASSERT_EQ((Rev16[v] >> (15 - bit)) & 1, (v >> bit) & 1);
  }
  for (uint32_t v = 0; v < 256; ++v) {
    EXPECT_EQ(PopCnt8[v], std::popcount(v));
    EXPECT_EQ(HighBit8[v], v == 0 ? 0 : std::bit_width(v) - 1);
    EXPECT_EQ(Rev8[v], Rev16[v] >> 8);
  }
}

TEST(BitTables, PopCountAndHighestBitOf64) {
  const uint64_t samples[] = {0, 1, 0x8000000000000000ull, 0x7DFFBFF7FEFFDFull, 0xFFFF0000FFFF0000ull, 0x10000ull};
  for (uint64_t x : samples) {
    EXPECT_EQ(PopCount64(x), std::popcount(x));
    EXPECT_EQ(HighestBit64(x), x == 0 ? 0 : std::bit_width(x) - 1);
  }
  uint64_t x = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 1000; ++i) {
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    ASSERT_EQ(PopCount64(x), std::popcount(x));
    ASSERT_EQ(HighestBit64(x >> (i % 64)), std::bit_width(x >> (i % 64)) - 1 + (x >> (i % 64) == 0));
    ASSERT_EQ(Reverse64(Reverse64(x)), x);
    const uint64_t byTable = (uint64_t{Rev16[x & 0xFFFF]} << 48) | (uint64_t{Rev16[(x >> 16) & 0xFFFF]} << 32) |
                             (uint64_t{Rev16[(x >> 32) & 0xFFFF]} << 16) | uint64_t{Rev16[x >> 48]};
    ASSERT_EQ(Reverse64(x), byTable);
    ASSERT_EQ(Reverse64(x) >> 63, x & 1);
  }
}

TEST(BitTables, BoardMasksAndGhostBits) {
  EXPECT_EQ(BitTables.Mask8x8, 0x79EF3DE7BCFull);
  EXPECT_EQ(BitTables.Mask10x8, 0xFBFF7FEFFDFull);
  EXPECT_EQ(BitTables.Mask10x10, 0x7DFFBFF7FEFFDFull);
  for (int t = 1; t <= GameTypeCount; ++t) {
    if (HasBitBoardForm(t)) {
      EXPECT_EQ(BitBoardMask(t), GameTypes[t].BoardMask) << GameTypeNames[t];
    }
  }
  EXPECT_EQ(BitBoardMask(gtCanadian), 0u);

  // Ghost bits inside each board's range never belong to a square.
  for (int ghost : {4, 5, 10, 15, 16, 21, 26, 27, 32, 37, 38}) EXPECT_FALSE(BitTables.Mask8x8 & BitMask[ghost]);
  for (int ghost : {5, 16, 27, 38}) EXPECT_FALSE(BitTables.Mask10x8 & BitMask[ghost]);
  for (int ghost : {5, 16, 27, 38, 49}) EXPECT_FALSE(BitTables.Mask10x10 & BitMask[ghost]);
  EXPECT_EQ(std::popcount(BitTables.Mask8x8), 32);
  EXPECT_EQ(std::popcount(BitTables.Mask10x8), 40);
  EXPECT_EQ(std::popcount(BitTables.Mask10x10), 50);
  EXPECT_EQ(HighestBit64(BitTables.Mask8x8), 42);
  EXPECT_EQ(HighestBit64(BitTables.Mask10x8), 43);
  EXPECT_EQ(HighestBit64(BitTables.Mask10x10), 54);
}

}  // namespace
}  // namespace kestrel
