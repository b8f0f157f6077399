#include "engine/transposition_table.h"

#include <algorithm>
#include <bit>
#include <new>
#include <thread>

namespace kestrel {

int16_t ScoreToTable(int score, int ply) {
  if (score > WonScore) return static_cast<int16_t>(score + ply - 1);
  if (score < -WonScore) return static_cast<int16_t>(score - ply + 1);
  return static_cast<int16_t>(score);
}

int16_t ScoreFromTable(int score, int ply) {
  if (score > WonScore) return static_cast<int16_t>(score - ply + 1);
  if (score < -WonScore) return static_cast<int16_t>(score + ply - 1);
  return static_cast<int16_t>(score);
}

class TTranspositionTable::TGuard {
 public:
  explicit TGuard(TLock& lock) : lock_(lock) {
    while (lock_.held.exchange(true, std::memory_order_acquire)) {
      while (lock_.held.load(std::memory_order_relaxed)) std::this_thread::yield();
    }
  }
  ~TGuard() { lock_.held.store(false, std::memory_order_release); }
  TGuard(const TGuard&) = delete;
  TGuard& operator=(const TGuard&) = delete;

 private:
  TLock& lock_;
};

TTranspositionTable::TTranspositionTable(uint64_t megabytes) : locks_(std::make_unique<TLock[]>(LockCount)) {
  if (!Allocate(megabytes)) Allocate(0);
}

uint64_t TTranspositionTable::EntriesFor(uint64_t megabytes) {
  constexpr uint64_t EntriesPerMegabyte = (uint64_t{1} << 20) / sizeof(THashRec64);
  if (megabytes >= MaxEntries / EntriesPerMegabyte) return MaxEntries;
  return std::max<uint64_t>(1, std::bit_ceil(megabytes * EntriesPerMegabyte));
}

bool TTranspositionTable::Allocate(uint64_t megabytes) {
  const uint64_t entries = EntriesFor(megabytes);
  TLargeArray<THashRec64> table = TLargeArray<THashRec64>::Make(entries);  // every entry empty
  if (!table) return false;
  table_ = std::move(table);
  entries_ = entries;
  keys_.GenerateHashKeys(entries);
  return true;
}

void TTranspositionTable::Clear() {
  for (uint64_t i = 0; i < entries_; ++i) {
    table_[i].pos.w = 0;
    table_[i].depth = 0;
    table_[i].bestmove = 0;
  }
}

THashRec64 TTranspositionTable::Read(uint32_t index) const {
  TGuard guard(LockOf(index));
  return table_[index];
}

void TTranspositionTable::Write(uint32_t index, const THashRec64& entry) {
  TGuard guard(LockOf(index));
  table_[index] = entry;
}

TTableProbe TTranspositionTable::Probe(const TBitBoard64& pos, int alpha, int beta, int needDepth, int ply) const {
  TTableProbe probe;
  const THashRec64 entry = Read(Index(pos));
  if (!(entry.pos == pos)) return probe;
  probe.found = true;
  probe.bestmove = entry.bestmove;
  probe.bestmove2 = entry.bestmove2;
  if (entry.depth < needDepth) return probe;
  const int lower = ScoreFromTable(entry.minval, ply);
  const int upper = ScoreFromTable(entry.maxval, ply);
  if (lower >= beta) {
    probe.cut = true;
    probe.score = static_cast<int16_t>(lower);
  } else if (upper <= alpha || upper == lower) {
    probe.cut = true;
    probe.score = static_cast<int16_t>(upper);
  }
  return probe;
}

void TTranspositionTable::Store(const TBitBoard64& pos, int best, int alpha, int beta, int storeDepth, int move,
                                int ply) {
  const uint32_t index = Index(pos);
  TGuard guard(LockOf(index));
  THashRec64 copy = table_[index];
  if (!(copy.pos == pos)) {
    copy = THashRec64{};
    copy.pos = pos;
    copy.minval = -ScoreInfinity;
    copy.maxval = ScoreInfinity;
    copy.depth = static_cast<uint8_t>(storeDepth);
  }
  if (copy.depth < storeDepth) {
    copy.minval = -ScoreInfinity;
    copy.maxval = ScoreInfinity;
    copy.depth = static_cast<uint8_t>(storeDepth);
  }
  // A node that found no move of its own keeps the moves it was given.
  if (move != 0 && move != copy.bestmove) {
    copy.bestmove2 = copy.bestmove;
    copy.bestmove = static_cast<uint8_t>(move);
  }
  if (best >= beta) copy.minval = ScoreToTable(beta, ply);
  if (alpha >= best) copy.maxval = ScoreToTable(alpha, ply);
  if (alpha < best && best < beta) copy.minval = copy.maxval = ScoreToTable(best, ply);
  if (storeDepth >= copy.depth) table_[index] = copy;
}

}  // namespace kestrel
