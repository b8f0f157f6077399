#include "engine/hash_keys.h"

#include <bit>

namespace kestrel {

void THashKeys::GenerateHashKeys(uint64_t entries) {
  constexpr uint64_t MaxEntries = uint64_t{1} << 32;
  if (entries == 0) entries = 1;
  if (entries > MaxEntries) entries = MaxEntries;
  entries_ = std::bit_floor(entries);
  const uint32_t below = static_cast<uint32_t>(entries_ - 1);  // entries_ is a power of two
  for (auto& byValue : keys_)
    for (auto& byPosition : byValue)
      for (uint32_t& key : byPosition) key = static_cast<uint32_t>(rng_()) & below;
}

uint32_t THashKeys::HashIndex(const TBitBoard64& bb) const {
  const uint64_t fields[3] = {bb.w, bb.b, bb.k};
  uint32_t index = 0;
  for (int f = 0; f < 3; ++f)
    for (int pos = 0; pos < 8; ++pos) index ^= keys_[(fields[f] >> (56 - 8 * pos)) & 0xFF][pos][f];
  return index;
}

}  // namespace kestrel
