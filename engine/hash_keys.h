// Keys that map a position to its slot in the transposition table.
#pragma once

#include <array>
#include <cstdint>
#include <random>

#include "engine/bitboard.h"

namespace kestrel {

// Owned by the transposition table: the keys are redrawn, from the same
// generator, each time the table is (re)allocated, so they never outlive it.
class THashKeys {
 public:
  static constexpr uint32_t DefaultSeed = 20240611;

  explicit THashKeys(uint32_t seed = DefaultSeed) : rng_(seed) {}

  // Draws every key uniformly below `entries`, in the order byte value, byte
  // position, field. `entries` is the table size; it is taken down to a power
  // of two (at least 1, at most 2^32) so that every XOR of keys stays below it.
  void GenerateHashKeys(uint64_t entries);

  // XOR of the keys of all 24 bytes of the position: an index below the
  // table size.
  uint32_t HashIndex(const TBitBoard64& bb) const;

  uint64_t TableEntries() const { return entries_; }
  // field: 0 w, 1 b, 2 k; position 0 is the most significant byte.
  uint32_t Key(int byteValue, int position, int field) const { return keys_[byteValue][position][field]; }

 private:
  // [byte value][byte position, 0 = most significant][field w, b, k]
  using KeyTable = std::array<std::array<std::array<uint32_t, 3>, 8>, 256>;
  std::mt19937 rng_;
  KeyTable keys_{};
  uint64_t entries_ = 1;
};

}  // namespace kestrel
