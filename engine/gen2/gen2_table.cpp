#include "engine/gen2/gen2_table.h"

#include <bit>

namespace kestrel::gen2 {
namespace {

// data word: score (16) | depth (8) | bound (2) | move (8) | generation (8)
uint64_t Pack(int score, int depth, TBound bound, int move, uint8_t generation) {
  return static_cast<uint16_t>(static_cast<int16_t>(score)) | uint64_t{static_cast<uint8_t>(depth)} << 16 |
         uint64_t{bound} << 24 | uint64_t{static_cast<uint8_t>(move)} << 32 | uint64_t{generation} << 40;
}
int DepthOf(uint64_t d) { return static_cast<uint8_t>(d >> 16); }
int MoveOf(uint64_t d) { return static_cast<uint8_t>(d >> 32); }
uint8_t GenerationOf(uint64_t d) { return static_cast<uint8_t>(d >> 40); }

}  // namespace

TTable::TTable(uint64_t megabytes) {
  if (!Allocate(megabytes)) Allocate(0);
}

bool TTable::Allocate(uint64_t megabytes) {
  const uint64_t bytes = megabytes << 20;
  uint64_t count = bytes / sizeof(TBucket);
  count = count == 0 ? 1 : std::bit_floor(count);
  TLargeArray<TBucket> fresh = TLargeArray<TBucket>::Make(count);
  if (!fresh) return false;
  buckets_ = std::move(fresh);
  mask_ = count - 1;
  megabytes_ = megabytes;
  generation_ = 0;
  return true;
}

void TTable::Clear() {
  for (uint64_t i = 0; i <= mask_; ++i) {
    for (TEntry* e : {&buckets_[i].deep, &buckets_[i].recent}) {
      e->check.store(0, std::memory_order_relaxed);
      e->data.store(0, std::memory_order_relaxed);
    }
  }
  generation_ = 0;
}

bool TTable::Read(const TEntry& e, uint64_t key, uint64_t& data) {
  data = e.data.load(std::memory_order_relaxed);
  return (e.check.load(std::memory_order_relaxed) ^ data) == key && data != 0;
}

void TTable::Write(TEntry& e, uint64_t key, uint64_t data) {
  e.data.store(data, std::memory_order_relaxed);
  e.check.store(key ^ data, std::memory_order_relaxed);
}

bool TTable::Probe(uint64_t key, TTableHit& hit) const {
  const TBucket& b = buckets_[key & mask_];
  uint64_t d = 0;
  if (!Read(b.deep, key, d) && !Read(b.recent, key, d)) return false;
  hit.score = static_cast<int16_t>(static_cast<uint16_t>(d));
  hit.depth = DepthOf(d);
  hit.bound = static_cast<TBound>((d >> 24) & 3);
  hit.move = MoveOf(d);
  return true;
}

void TTable::Store(uint64_t key, int score, int depth, TBound bound, int move) {
  TBucket& b = buckets_[key & mask_];
  uint64_t old = 0;
  const bool sameDeep = Read(b.deep, key, old);
  if (!sameDeep) Read(b.recent, key, old);
  // A search that found no best move keeps the one already known.
  if (move == 0 && old != 0) move = MoveOf(old);
  const uint64_t data = Pack(score, depth < 0 ? 0 : depth, bound, move, generation_);
  const uint64_t deepData = b.deep.data.load(std::memory_order_relaxed);
  if (sameDeep || depth >= DepthOf(deepData) || GenerationOf(deepData) != generation_ || deepData == 0)
    Write(b.deep, key, data);
  else
    Write(b.recent, key, data);
}

}  // namespace kestrel::gen2
