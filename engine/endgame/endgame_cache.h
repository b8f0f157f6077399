// The endgame database cache and prober: tables are loaded on first use from
// the variant's "WDL" and "MTW" folders, kept under a memory limit and read
// one block at a time. Search threads probe concurrently; loading and
// unloading take the lock exclusively, so no table is freed while a probe
// reads it.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "engine/endgame/edb_tables.h"
#include "engine/endgame/table_file.h"
#include "engine/endgame_probe.h"

namespace kestrel {

struct TEdbCacheStats {
  uint64_t tablesLoaded = 0;  // loads since the last reset
  uint64_t bytesLoaded = 0;   // bytes of the tables now in memory
  uint64_t blocksLoaded = 0;  // blocks of the tables now in memory
  uint64_t answers = 0;
  int largestPieces = 0;      // most pieces of a position answered
};

// What the tables say about one position, for the side to move.
struct TEdbAnswer {
  bool found = false;
  int wdl = 0;     // 1 win, 0 draw, -1 loss
  int plies = 0;   // from an MTW table: plies to the end (0 for a draw or when only WDL is known)
};

class TEndgameCache final : public TEndgameProber {
 public:
  static constexpr int SlotCount = 200000;

  TEndgameCache();
  ~TEndgameCache() override;

  // The endgame folder (holding one folder per variant) and the memory limit
  // in megabytes ("EDBMemory"); both reset the cache.
  void Configure(const std::filesystem::path& root, uint64_t memoryMegabytes);
  // Chooses the board of the variant (BuildMenTables) and resets the cache.
  void SetGameType(int gametype);
  // ResetEDBCache: frees every table, empties all slots, zeroes the totals.
  void Reset();

  bool ProbeEDB(const TBitBoard64& pos, int gametype, int ply, int16_t& score,
                const TExcludedTables& excluded) override;
  uint32_t TableNumber(const TBitBoard64& pos, int gametype) const override;
  int Pieces(int gametype) override;

  // The stored value of a position without a pending capture (for the side
  // to move, `w`), preferring the MTW table; not found when no table answers.
  TEdbAnswer Lookup(const TBitBoard64& pos, int gametype);

  TEdbCacheStats Stats() const;
  // Damaged tables are refused with a message naming the file; the sink
  // receives it (from whichever thread loaded the table).
  void SetMessageSink(std::function<void(const std::string&)> sink);

 private:
  struct TTable;
  struct TSlot;
  struct TProbeMemo;

  // The board and tables of a thread's recent probes, valid while the
  // generation holds; probes answered from it take no lock.
  TProbeMemo& Memo(int gametype);
  // The table answering `number` (loading it when allowed), remembered in the memo.
  const TTable* FindTable(TProbeMemo& memo, uint32_t number, const TEdbMaterial& m, bool wantMtw, bool mayLoad);

  // Under the shared lock: the value of `index` in the slot's table, -1 when unreadable.
  int ReadValue(const TTable& table, uint32_t number, uint64_t index);
  TSlot* FindSlot(uint32_t number) const;
  TSlot& SlotFor(uint32_t number);
  // Under the exclusive lock.
  bool LoadTable(TSlot& slot, const TEdbMaterial& m, bool mtw);
  void UnloadAll();
  void ResetLocked();
  void Message(const std::string& text);
  // Makes a table of the wanted kind available (loading under the exclusive
  // lock); true when the slot then holds a usable table.
  bool MakeAvailable(std::shared_lock<std::shared_mutex>& lock, uint32_t number, const TEdbMaterial& m, bool mtw,
                     bool mayLoad);
  bool SwitchBoard(std::shared_lock<std::shared_mutex>& lock, int gametype);

  mutable std::shared_mutex mutex_;
  std::unique_ptr<TSlot[]> slots_;
  // Changes (under the exclusive lock) whenever a table is freed or the
  // board changes: memos of an older generation are dropped.
  std::atomic<uint64_t> generation_{1};
  // Most pieces of the tables on disk for `piecesType_` (-1: not counted yet).
  int piecesType_ = -1;
  int pieces_ = 0;
  std::shared_ptr<const TEdbBoard> board_;
  std::filesystem::path root_;
  uint64_t memoryLimit_ = 128ull << 20;
  uint64_t bytes_ = 0;
  uint64_t blocks_ = 0;
  std::atomic<uint64_t> tablesLoaded_{0};
  std::atomic<uint64_t> answers_{0};
  std::atomic<int> largestPieces_{0};
  const uint64_t id_;
  std::mutex sinkMutex_;
  std::function<void(const std::string&)> sink_;
};

}  // namespace kestrel
