#include "engine/hash_keys.h"

#include <gtest/gtest.h>

#include <random>
#include <algorithm>
#include <fstream>
#include <set>
#include <string>

#include "engine/system_memory.h"

namespace kestrel {
namespace {

TBitBoard64 RandomPosition(std::mt19937_64& rng) {
  const uint64_t mask = 0x7DFFBFF7FEFFDFull;
  const uint64_t occupied = rng() & mask;
  const uint64_t w = occupied & rng();
  return {w, occupied & ~w, occupied & rng()};
}

TEST(HashKeys, IndexStaysBelowTheTableSize) {
  std::mt19937_64 rng(1);
  for (uint64_t entries : {uint64_t{1}, uint64_t{2}, uint64_t{1} << 10, uint64_t{1} << 20, uint64_t{1} << 32}) {
    THashKeys keys;
    keys.GenerateHashKeys(entries);
    EXPECT_EQ(keys.TableEntries(), entries);
    std::set<uint32_t> seen;
    for (int n = 0; n < 2000; ++n) {
      const uint32_t index = keys.HashIndex(RandomPosition(rng));
      ASSERT_LT(index, entries);
      seen.insert(index);
    }
    if (entries >= 1024) {
      // 2000 draws over 1024 slots fill about 880 of them.
      EXPECT_GT(seen.size(), std::min<uint64_t>(entries, 2000) * 3 / 4) << "indices should spread over the table";
    }
  }
}

TEST(HashKeys, SizesAreTakenDownToAPowerOfTwo) {
  THashKeys keys;
  keys.GenerateHashKeys(1000);
  EXPECT_EQ(keys.TableEntries(), 512u);
  keys.GenerateHashKeys(0);
  EXPECT_EQ(keys.TableEntries(), 1u);
  EXPECT_EQ(keys.HashIndex(TBitBoard64{5, 6, 7}), 0u);
  keys.GenerateHashKeys(uint64_t{1} << 40);
  EXPECT_EQ(keys.TableEntries(), uint64_t{1} << 32);
}

TEST(HashKeys, IndexIsTheXorOfTheByteKeys) {
  THashKeys keys;
  keys.GenerateHashKeys(1 << 16);
  uint32_t empty = 0;
  for (int pos = 0; pos < 8; ++pos)
    for (int field = 0; field < 3; ++field) empty ^= keys.Key(0, pos, field);
  EXPECT_EQ(keys.HashIndex(TBitBoard64{}), empty);

  // A man on bit 9 of `b`: byte value 2 at position 6 (second least significant).
  const uint32_t one = empty ^ keys.Key(0, 6, 1) ^ keys.Key(2, 6, 1);
  EXPECT_EQ(keys.HashIndex(TBitBoard64{0, uint64_t{1} << 9, 0}), one);
  // The most significant byte takes part too.
  const uint32_t top = empty ^ keys.Key(0, 0, 2) ^ keys.Key(0x80, 0, 2);
  EXPECT_EQ(keys.HashIndex(TBitBoard64{0, 0, uint64_t{1} << 63}), top);
}

TEST(HashKeys, SameSeedSameKeysAndRedrawChangesThem) {
  THashKeys a, b;
  a.GenerateHashKeys(1 << 20);
  b.GenerateHashKeys(1 << 20);
  std::mt19937_64 rng(2);
  const TBitBoard64 p = RandomPosition(rng);
  EXPECT_EQ(a.HashIndex(p), b.HashIndex(p));
  int same = 0;
  for (int v = 0; v < 256; ++v) same += a.Key(v, 3, 0) == b.Key(v, 3, 0);
  EXPECT_EQ(same, 256);
  // A reallocation draws fresh keys from the same generator.
  b.GenerateHashKeys(1 << 20);
  same = 0;
  for (int v = 0; v < 256; ++v) same += a.Key(v, 3, 0) == b.Key(v, 3, 0);
  EXPECT_LT(same, 8);
}

TEST(SystemMemory, TotalPhysicalMemoryFromTheSystem) {
  const uint64_t total = GetMemoryTotalPhys();
  EXPECT_GT(total, uint64_t{64} << 20);
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  uint64_t kb = 0;
  if (meminfo >> key >> kb && key == "MemTotal:") {
    const uint64_t fromProc = kb * 1024;
    EXPECT_NEAR(static_cast<double>(total), static_cast<double>(fromProc), 16.0 * 1024 * 1024);
  }
}

}  // namespace
}  // namespace kestrel
