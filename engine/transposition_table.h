// The transposition table: for positions already searched, bounds of their
// score, the depth the bounds hold for and the best moves. It is also the
// only store of the principal variation.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/bitboard.h"
#include "engine/hash_keys.h"
#include "engine/large_array.h"

namespace kestrel {

struct THashRec64 {
  TBitBoard64 pos;        // side to move in `w`
  int16_t minval = 0;     // lower bound of the score
  int16_t maxval = 0;     // upper bound of the score
  uint8_t depth = 0;      // remaining depth the bounds hold for
  uint8_t bestmove = 0;   // 1-based index in the bitboard move list; 0 none
  uint8_t bestmove2 = 0;  // the previous best move; 0 none
  uint8_t used = 0;       // always 0
};
static_assert(sizeof(THashRec64) == 32);

// Scores above this magnitude are won or lost (database and forced wins).
constexpr int WonScore = 1400;
// The widest search window.
constexpr int ScoreInfinity = 2000;

// Won scores count plies from the root; the table keeps them counted from the
// node that stored them, so that a transposition at another ply reads the
// distance from itself. Both maps are strictly increasing.
int16_t ScoreToTable(int score, int ply);
int16_t ScoreFromTable(int score, int ply);

// The outcome of a probe.
struct TTableProbe {
  bool found = false;       // the entry holds this position
  uint8_t bestmove = 0;
  uint8_t bestmove2 = 0;
  bool cut = false;         // the bounds settle the node's score
  int16_t score = 0;        // the score when `cut`, counted from the root
};

// One array of a power-of-two number of entries, one entry per index and no
// buckets. Every entry is read and written whole under one of a small set of
// spin locks chosen by its index, so no thread ever acts on half an entry.
// Allocation and clearing must not run while a search uses the table.
class TTranspositionTable {
 public:
  explicit TTranspositionTable(uint64_t megabytes = 16);
  TTranspositionTable(const TTranspositionTable&) = delete;
  TTranspositionTable& operator=(const TTranspositionTable&) = delete;

  // Entries for a table of `megabytes`: the smallest power of two whose
  // 32-byte entries fill at least that many megabytes (one entry for 0),
  // at most MaxEntries.
  static uint64_t EntriesFor(uint64_t megabytes);
  static constexpr uint64_t MaxEntries = uint64_t{1} << 31;

  // AllocateHashTable: a new, cleared array with newly drawn keys. Should the
  // memory not be available, the old table stays and the answer is false.
  bool Allocate(uint64_t megabytes);
  // ClearHashTable: no entry matches any position with pieces afterwards.
  void Clear();

  uint64_t Entries() const { return entries_; }
  uint32_t Index(const TBitBoard64& pos) const { return keys_.HashIndex(pos); }

  // The whole entry at `index`.
  THashRec64 Read(uint32_t index) const;
  void Write(uint32_t index, const THashRec64& entry);

  // Probe of a node at `ply` whose bounds must hold for `needDepth`
  // (depth - ply + 1), with window (alpha, beta).
  TTableProbe Probe(const TBitBoard64& pos, int alpha, int beta, int needDepth, int ply) const;
  // Store of the node's best score `best` found with window (alpha, beta),
  // remaining depth `storeDepth` and best move index `move` (0 none).
  void Store(const TBitBoard64& pos, int best, int alpha, int beta, int storeDepth, int move, int ply);

 private:
  static constexpr int LockCount = 1024;
  struct alignas(64) TLock {
    std::atomic<bool> held{false};
  };
  class TGuard;
  TLock& LockOf(uint32_t index) const { return locks_[index & (LockCount - 1)]; }

  TLargeArray<THashRec64> table_;
  uint64_t entries_ = 0;
  THashKeys keys_;
  mutable std::unique_ptr<TLock[]> locks_;
};

}  // namespace kestrel
