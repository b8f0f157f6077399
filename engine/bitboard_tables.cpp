#include "engine/bitboard_tables.h"

#include "engine/bitboard.h"

namespace kestrel {
namespace {

using CNumTable = std::array<std::array<uint32_t, 51>, 8>;
using CTabTable = std::array<std::array<uint32_t, 8>, 50>;

// C(n, k) by the running product r = r * (n - m + 1) / m, exact at every step.
constexpr void inicntnum(CNumTable& cnum) {
  for (int k = 0; k < 8; ++k)
    for (int n = 0; n <= 50; ++n) {
      uint64_t r = 1;
      for (int m = 1; m <= k; ++m) r = r * static_cast<uint64_t>(n - m + 1) / static_cast<uint64_t>(m);
      cnum[k][n] = static_cast<uint32_t>(r);  // n < k passes through a factor 0
    }
}

constexpr void revinit(std::array<uint32_t, 256>& rev8, std::array<uint16_t, 65536>& rev16) {
  for (uint32_t v = 0; v < 256; ++v) {
    uint32_t r = 0;
    for (int bit = 0; bit < 8; ++bit)
      if (v & (1u << bit)) r |= 1u << (7 - bit);
    rev8[v] = r;
  }
  for (uint32_t v = 0; v < 65536; ++v)
    rev16[v] = static_cast<uint16_t>((rev8[v & 0xFF] << 8) | rev8[v >> 8]);
}

// C(n, k) built down each column by C(n, k) = C(n-1, k) * n / (n - k); the
// k = 7 column stops at n = 31, beyond which 32-bit intermediates overflow.
constexpr void initC(CTabTable& ctab) {
  for (int k = 0; k < 8; ++k) {
    for (int n = 0; n <= k; ++n) ctab[n][k] = 0;
    ctab[k][k] = 1;
    const int last = k == 7 ? 31 : 49;
    for (int n = k + 1; n <= last; ++n)
      ctab[n][k] = static_cast<uint32_t>(ctab[n - 1][k] * static_cast<uint32_t>(n) / static_cast<uint32_t>(n - k));
  }
}

constexpr uint64_t LayoutMask(const std::array<uint64_t, 64>& bitMask, int squareCount) {
  uint64_t mask = 0;
  for (int i = 0; i < squareCount; ++i) mask |= bitMask[SquareToBit(i, squareCount)];
  return mask;
}

constexpr TBitTables init64masks() {
  TBitTables t{};
  inicntnum(t.CNum);
  t.BitMask[0] = 1;
  for (int n = 1; n < 64; ++n) t.BitMask[n] = t.BitMask[n - 1] << 1;
  t.Mask10x10 = LayoutMask(t.BitMask, 50);
  t.Mask10x8 = LayoutMask(t.BitMask, 40);
  t.Mask8x8 = LayoutMask(t.BitMask, 32);
  revinit(t.Rev8, t.Rev16);
  // Each entry from the one with the lowest bit shifted out.
  for (uint32_t v = 1; v < 65536; ++v) {
    t.PopCnt16[v] = static_cast<uint8_t>(t.PopCnt16[v >> 1] + (v & 1));
    t.HighBit16[v] = v > 1 ? static_cast<uint8_t>(t.HighBit16[v >> 1] + 1) : 0;
  }
  for (uint32_t v = 0; v < 256; ++v) {
    t.PopCnt8[v] = t.PopCnt16[v];
    t.HighBit8[v] = t.HighBit16[v];
  }
  initC(t.CTab);
  return t;
}

}  // namespace

constinit const TBitTables BitTables = init64masks();

}  // namespace kestrel
