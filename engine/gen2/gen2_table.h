// The transposition table of "Kestrel 4": buckets of two entries, one kept
// for the deepest search of its positions and one always replaced. Entries
// are two 64-bit words written without locks; the key word is stored XORed
// with the data word, so a reader that meets half of a concurrent write sees
// a key that matches nothing and takes the entry for empty.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/bitboard.h"
#include "engine/large_array.h"

namespace kestrel::gen2 {

namespace table_detail {
inline uint64_t Mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDull;
  x ^= x >> 33;
  x *= 0xC4CEB9FE1A85EC53ull;
  x ^= x >> 33;
  return x;
}
}  // namespace table_detail

// 64-bit key of a position (side to move in `w`). Inline: every node computes one.
[[gnu::always_inline]] inline uint64_t PositionKey(const TBitBoard64& pos) {
  using table_detail::Mix;
  return Mix(pos.w ^ Mix(pos.b ^ Mix(pos.k ^ 0x9E3779B97F4A7C15ull)));
}

enum TBound : uint8_t { BoundNone = 0, BoundUpper = 1, BoundLower = 2, BoundExact = 3 };

struct TTableHit {
  int score = 0;   // counted from the node that stored it: see ScoreToTable
  int depth = 0;   // remaining depth the bound holds for
  TBound bound = BoundNone;
  int move = 0;    // 1-based index in the node's move list; 0 none
};

class TTable {
 public:
  explicit TTable(uint64_t megabytes = 1);
  TTable(const TTable&) = delete;
  TTable& operator=(const TTable&) = delete;

  // A cleared table of the largest power-of-two bucket count that fits in
  // `megabytes` (at least one bucket). False, the old table kept, when the
  // memory is not available.
  bool Allocate(uint64_t megabytes);
  uint64_t Megabytes() const { return megabytes_; }
  uint64_t Buckets() const { return mask_ + 1; }
  void Clear();
  // Entries of older searches become the first to be replaced.
  void NextSearch() { generation_ = static_cast<uint8_t>(generation_ + 1); }

  bool Probe(uint64_t key, TTableHit& hit) const;
  // Starts loading the key's bucket: a node asks for it only after its
  // moves are generated, and a table far larger than the cache costs a
  // memory read on most probes.
  void Prefetch(uint64_t key) const { __builtin_prefetch(&buckets_[key & mask_]); }
  void Store(uint64_t key, int score, int depth, TBound bound, int move);

 private:
  struct TEntry {
    std::atomic<uint64_t> check{0};  // key ^ data
    std::atomic<uint64_t> data{0};
  };
  struct alignas(32) TBucket {
    TEntry deep;    // replaced by deeper (or equal) searches and by new searches
    TEntry recent;  // always replaced
  };
  static bool Read(const TEntry& e, uint64_t key, uint64_t& data);
  static void Write(TEntry& e, uint64_t key, uint64_t data);

  TLargeArray<TBucket> buckets_;
  uint64_t mask_ = 0;
  uint64_t megabytes_ = 0;
  uint8_t generation_ = 0;
};

}  // namespace kestrel::gen2
