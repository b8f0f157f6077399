// Lookup tables of the engine: single-bit masks, bit counts, highest set bit,
// bit reversal, binomial coefficients and the three board masks. They are
// computed at compile time, so every thread reads the same values from the
// first instruction on and no start-up order can see them unfilled.
#pragma once

#include <array>
#include <cstdint>

namespace kestrel {

struct TBitTables {
  std::array<uint64_t, 64> BitMask;          // entry n = 1 << n
  std::array<uint8_t, 65536> HighBit16;      // highest set bit, 0 for 0
  std::array<uint8_t, 256> HighBit8;
  std::array<uint8_t, 65536> PopCnt16;       // number of set bits
  std::array<uint8_t, 256> PopCnt8;
  std::array<uint32_t, 256> Rev8;            // bits in reverse order
  std::array<uint16_t, 65536> Rev16;
  std::array<std::array<uint32_t, 51>, 8> CNum;  // [k][n] = C(n, k), 0 when n < k
  std::array<std::array<uint32_t, 8>, 50> CTab;  // [n][k] = C(n, k) for n >= k; k = 7 only up to n = 31
  uint64_t Mask8x8;    // the squares of the three board layouts
  uint64_t Mask10x8;
  uint64_t Mask10x10;
};

extern const TBitTables BitTables;

inline constexpr const auto& BitMask = BitTables.BitMask;
inline constexpr const auto& HighBit16 = BitTables.HighBit16;
inline constexpr const auto& HighBit8 = BitTables.HighBit8;
inline constexpr const auto& PopCnt16 = BitTables.PopCnt16;
inline constexpr const auto& PopCnt8 = BitTables.PopCnt8;
inline constexpr const auto& Rev8 = BitTables.Rev8;
inline constexpr const auto& Rev16 = BitTables.Rev16;
inline constexpr const auto& CNum = BitTables.CNum;
inline constexpr const auto& CTab = BitTables.CTab;

}  // namespace kestrel
