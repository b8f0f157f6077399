#include "engine/endgame/endgame_cache.h"

#include <algorithm>
#include <array>
#include <bit>
#include <system_error>

#include "engine/bitboard_movegen.h"
#include "engine/endgame/wdl_runs.h"

namespace kestrel {

namespace {

std::atomic<uint64_t> nextTableId{1};
std::atomic<uint64_t> nextCacheId{1};

// Decoded blocks, per thread: the same few blocks are read again and again
// by a search, and decoding one costs far more than the lookup. Entries are
// keyed by a table id that is never reused, so an unloaded table's blocks
// can never be mistaken for another's.
struct TBlockCache {
  static constexpr int Entries = 128;
  struct TEntry {
    uint64_t tableId = 0;
    uint64_t block = 0;
    std::array<uint8_t, WdlBlockPositions> values;
  };
  std::array<TEntry, Entries> entries;
};

TBlockCache& ThreadBlockCache() {
  thread_local std::unique_ptr<TBlockCache> cache = std::make_unique<TBlockCache>();
  return *cache;
}

}  // namespace

struct TEndgameCache::TTable {
  std::vector<uint8_t> bytes;
  TTableFileView view;
  bool mtw = false;
  uint64_t id = 0;
};

struct TEndgameCache::TSlot {
  uint32_t number = 0;  // 0: free
  // Shared with the memos of the probing threads, so that a table freed by
  // the cache lives on until no probe holds it.
  std::shared_ptr<const TTable> table;
  std::array<bool, 2> missing{};  // [0] WDL, [1] MTW file not found
  std::atomic<uint8_t> time{0};
};

struct TEndgameCache::TProbeMemo {
  static constexpr int Entries = 64;
  struct TEntry {
    uint32_t number = 0;
    bool mtw = false;
    std::shared_ptr<const TTable> table;
  };
  uint64_t cache = 0;
  uint64_t generation = 0;
  int gametype = -1;
  std::shared_ptr<const TEdbBoard> board;
  std::array<TEntry, Entries> entries;

  static int Slot(uint32_t number, bool mtw) {
    return static_cast<int>((number * 2654435761u) >> 25 ^ (mtw ? 1u : 0u)) & (Entries - 1);
  }
};

TEndgameCache::TEndgameCache() : slots_(std::make_unique<TSlot[]>(SlotCount)), id_(nextCacheId++) {}

TEndgameCache::~TEndgameCache() = default;

void TEndgameCache::Configure(const std::filesystem::path& root, uint64_t memoryMegabytes) {
  std::unique_lock lock(mutex_);
  root_ = root;
  memoryLimit_ = memoryMegabytes << 20;
  ResetLocked();
}

void TEndgameCache::SetGameType(int gametype) {
  auto board = std::make_shared<const TEdbBoard>(gametype);
  std::unique_lock lock(mutex_);
  board_ = std::move(board);
  ResetLocked();
}

void TEndgameCache::Reset() {
  std::unique_lock lock(mutex_);
  ResetLocked();
}

void TEndgameCache::ResetLocked() {
  for (int i = 0; i < SlotCount; ++i) {
    TSlot& s = slots_[i];
    s.number = 0;
    s.table.reset();
    s.missing = {};
    s.time.store(0, std::memory_order_relaxed);
  }
  generation_.fetch_add(1, std::memory_order_release);
  piecesType_ = -1;
  bytes_ = 0;
  blocks_ = 0;
  tablesLoaded_ = 0;
  answers_ = 0;
  largestPieces_ = 0;
}

void TEndgameCache::UnloadAll() {
  for (int i = 0; i < SlotCount; ++i) slots_[i].table.reset();
  generation_.fetch_add(1, std::memory_order_release);
  bytes_ = 0;
  blocks_ = 0;
}

void TEndgameCache::SetMessageSink(std::function<void(const std::string&)> sink) {
  std::lock_guard lock(sinkMutex_);
  sink_ = std::move(sink);
}

void TEndgameCache::Message(const std::string& text) {
  std::lock_guard lock(sinkMutex_);
  if (sink_) sink_(text);
}

TEndgameCache::TSlot* TEndgameCache::FindSlot(uint32_t number) const {
  uint32_t i = static_cast<uint32_t>((uint64_t{number} * 2654435761u) % SlotCount);
  for (int probes = 0; probes < SlotCount; ++probes, i = (i + 1) % SlotCount) {
    TSlot& s = slots_[i];
    if (s.number == number) return &s;
    if (s.number == 0) return nullptr;
  }
  return nullptr;
}

TEndgameCache::TSlot& TEndgameCache::SlotFor(uint32_t number) {
  uint32_t i = static_cast<uint32_t>((uint64_t{number} * 2654435761u) % SlotCount);
  for (int probes = 0; probes < SlotCount; ++probes, i = (i + 1) % SlotCount) {
    TSlot& s = slots_[i];
    if (s.number == number) return s;
    if (s.number == 0) {
      s.number = number;
      return s;
    }
  }
  // Every slot is taken (200000 tables since the last reset): start over.
  ResetLocked();
  return SlotFor(number);
}

bool TEndgameCache::LoadTable(TSlot& slot, const TEdbMaterial& m, bool mtw) {
  if (slot.missing[mtw] || !board_) return false;
  const std::filesystem::path path = TableFolder(root_, board_->GameType(), mtw) / TableFileName(m);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    slot.missing[mtw] = true;
    return false;
  }
  if (bytes_ + size > memoryLimit_) UnloadAll();
  auto table = std::make_unique<TTable>();
  std::string error;
  if (!ReadWholeFile(path, table->bytes, error) ||
      !table->view.Open(table->bytes, board_->TableSize(m), mtw, error)) {
    slot.missing[mtw] = true;
    Message("Endgame table " + path.string() + " refused: " + error);
    return false;
  }
  table->mtw = mtw;
  table->id = nextTableId++;
  if (slot.table) {
    bytes_ -= slot.table->bytes.size();
    blocks_ -= slot.table->view.Blocks();
    generation_.fetch_add(1, std::memory_order_release);
  }
  bytes_ += table->bytes.size();
  blocks_ += table->view.Blocks();
  slot.table = std::move(table);
  slot.time.store(0, std::memory_order_relaxed);
  ++tablesLoaded_;
  return true;
}

bool TEndgameCache::MakeAvailable(std::shared_lock<std::shared_mutex>& lock, uint32_t number, const TEdbMaterial& m,
                                  bool mtw, bool mayLoad) {
  const auto usable = [&](const TSlot* s) { return s && s->table && (!mtw || s->table->mtw); };
  const TSlot* s = FindSlot(number);
  if (usable(s)) return true;
  if (s && s->missing[mtw]) return false;
  if ((!s || !s->table) && !mayLoad) return false;
  // Between the load and taking the shared lock again another thread may
  // load a table of its own and, over the memory limit, unload this one; a
  // few tries keep the answer from depending on that race.
  for (int attempt = 0; attempt < 8; ++attempt) {
    lock.unlock();
    {
      std::unique_lock exclusive(mutex_);
      TSlot& slot = SlotFor(number);
      if (!usable(&slot) && !LoadTable(slot, m, mtw)) {
        exclusive.unlock();
        lock.lock();
        return false;
      }
    }
    lock.lock();
    if (usable(FindSlot(number))) return true;
  }
  return false;
}

int TEndgameCache::ReadValue(const TTable& table, uint32_t, uint64_t index) {
  const uint64_t per = table.view.BlockPositions();
  const uint64_t b = index / per;
  TBlockCache& cache = ThreadBlockCache();
  auto& e = cache.entries[(table.id * 0x9E3779B97F4A7C15ull + b * 0xC2B2AE3D27D4EB4Full) >> 57 & (TBlockCache::Entries - 1)];
  if (e.tableId != table.id || e.block != b) {
    e.tableId = 0;
    if (!table.view.DecodeBlock(b, e.values.data())) return -1;
    e.tableId = table.id;
    e.block = b;
  }
  return e.values[index % per];
}

bool TEndgameCache::SwitchBoard(std::shared_lock<std::shared_mutex>& lock, int gametype) {
  lock.unlock();
  {
    auto board = std::make_shared<const TEdbBoard>(gametype);
    std::unique_lock exclusive(mutex_);
    if (!board_ || board_->GameType() != gametype) {
      board_ = std::move(board);
      ResetLocked();
    }
  }
  lock.lock();
  return board_ && board_->GameType() == gametype && board_->Valid();
}

TEndgameCache::TProbeMemo& TEndgameCache::Memo(int gametype) {
  thread_local TProbeMemo memo;
  if (memo.cache == id_ && memo.gametype == gametype &&
      memo.generation == generation_.load(std::memory_order_acquire))
    return memo;
  memo = TProbeMemo{};
  std::shared_lock lock(mutex_);
  if ((!board_ || board_->GameType() != gametype) && !SwitchBoard(lock, gametype)) return memo;
  // Read under the lock, where no exclusive change is under way.
  memo.cache = id_;
  memo.gametype = gametype;
  memo.generation = generation_.load(std::memory_order_acquire);
  memo.board = board_;
  return memo;
}

const TEndgameCache::TTable* TEndgameCache::FindTable(TProbeMemo& memo, uint32_t number, const TEdbMaterial& m,
                                                       bool wantMtw, bool mayLoad) {
  TProbeMemo::TEntry& e = memo.entries[TProbeMemo::Slot(number, wantMtw)];
  if (e.table && e.number == number && e.mtw == wantMtw) return e.table.get();
  std::shared_lock lock(mutex_);
  if (!board_ || board_.get() != memo.board.get()) return nullptr;
  if (!MakeAvailable(lock, number, m, wantMtw, mayLoad) && !MakeAvailable(lock, number, m, !wantMtw, mayLoad))
    return nullptr;
  TSlot* slot = FindSlot(number);
  if (!slot || !slot->table) return nullptr;
  const uint8_t t = slot->time.load(std::memory_order_relaxed);
  if (t < 255) slot->time.store(t + 1, std::memory_order_relaxed);
  e.number = number;
  e.mtw = wantMtw;
  e.table = slot->table;
  return e.table.get();
}

bool TEndgameCache::ProbeEDB(const TBitBoard64& pos, int gametype, int ply, int16_t& score,
                             const TExcludedTables& excluded) {
  if (pos.w == 0) {
    score = -2000;
    return true;
  }
  TProbeMemo& memo = Memo(gametype);
  if (!memo.board || !memo.board->Valid()) return false;
  const TEdbBoard& board = *memo.board;
  const int limit = board.MaxSidePieces();
  if (std::popcount(pos.w) > limit || std::popcount(pos.b) > limit) return false;
  TEdbMaterial m;
  uint64_t index = 0;
  if (!board.Locate(pos, m, index)) return false;
  const int n = m.Pieces();
  const uint32_t number = m.Number();
  const bool wantMtw = ply < 4 || n <= 5;
  const bool mayLoad = !(n > 7 && m.wk + m.bk > 1 && ply > 15);
  const TTable* found = FindTable(memo, number, m, wantMtw, mayLoad);
  if (!found) return false;
  const TTable& table = *found;
  if (!table.mtw && OpponentCaptureMask(pos, gametype) != 0) return false;
  const int v = ReadValue(table, number, index);
  if (v < 0) return false;
  if (table.mtw) {
    if (v == 255) return false;
    score = static_cast<int16_t>(v == 0 ? 0 : v % 2 == 1 ? v - 2001 : 2001 - v);
  } else {
    if (v == WdlNeverProbed) return false;
    if (v != WdlDraw && (number == excluded[0] || number == excluded[1])) return false;
    score = static_cast<int16_t>(v == WdlDraw ? 0 : v == WdlWin ? 1500 : -1500);
  }
  answers_.fetch_add(1, std::memory_order_relaxed);
  int largest = largestPieces_.load(std::memory_order_relaxed);
  while (n > largest && !largestPieces_.compare_exchange_weak(largest, n, std::memory_order_relaxed)) {
  }
  return true;
}

int TEndgameCache::Pieces(int gametype) {
  std::unique_lock lock(mutex_);
  if (piecesType_ == gametype) return pieces_;
  // The first character of a table's file name is its piece count (1-9, then A-).
  int most = 0;
  for (bool mtw : {false, true}) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(TableFolder(root_, gametype, mtw), ec), end; !ec && it != end;
         it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.size() < 3 || name[1] != '-' || !it->is_regular_file(ec)) continue;
      const char c = name[0];
      const int n = c >= '2' && c <= '9' ? c - '0' : c >= 'A' && c <= 'Z' ? c - 'A' + 10 : 0;
      most = std::max(most, n);
    }
  }
  piecesType_ = gametype;
  pieces_ = most;
  return most;
}

TEdbAnswer TEndgameCache::Lookup(const TBitBoard64& pos, int gametype) {
  TEdbAnswer answer;
  if (pos.w == 0) return {true, -1, 1};
  // The first ply prefers the MTW table, which also gives the distance.
  int16_t score = 0;
  if (!ProbeEDB(pos, gametype, 1, score, TExcludedTables{})) return answer;
  answer.found = true;
  answer.wdl = score > 0 ? 1 : score < 0 ? -1 : 0;
  if (score != 0 && score != 1500 && score != -1500) answer.plies = 2001 - std::abs(score);
  return answer;
}

uint32_t TEndgameCache::TableNumber(const TBitBoard64& pos, int gametype) const {
  std::shared_lock lock(mutex_);
  if (board_ && board_->GameType() == gametype) return board_->TableNumber(pos);
  lock.unlock();
  return TEdbBoard(gametype).TableNumber(pos);
}

TEdbCacheStats TEndgameCache::Stats() const {
  std::shared_lock lock(mutex_);
  TEdbCacheStats s;
  s.tablesLoaded = tablesLoaded_.load();
  s.bytesLoaded = bytes_;
  s.blocksLoaded = blocks_;
  s.answers = answers_.load();
  s.largestPieces = largestPieces_.load();
  return s;
}

}  // namespace kestrel
