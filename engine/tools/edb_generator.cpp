#include "engine/tools/edb_generator.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <ctime>
#include <fstream>
#include <mutex>
#include <new>
#include <optional>
#include <shared_mutex>
#include <sstream>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine/bitboard_movegen.h"
#include "engine/endgame/edb_tables.h"
#include "engine/endgame/edb_walk.h"
#include "engine/endgame/table_file.h"
#include "engine/endgame/wdl_runs.h"
#include "engine/tools/working_file.h"
#include "rules/game_types.h"

namespace kestrel {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path WorkingFolder(const fs::path& root, int gametype, bool mtw) {
  return TableFolder(root, gametype, mtw) / "GEN";
}

namespace {

constexpr uint8_t MtwNever = 255;

constexpr int MtwLongest = 254;

// The value array of one table while it is solved or read back.
struct TValues {
  TEdbMaterial m;
  uint32_t number = 0;
  uint64_t size = 0;
  bool mtw = false;
  std::vector<uint8_t> data;
  // WDL solving: the positions decided by the first visit, whose
  // predecessors are still to be told (one bit each), and one byte per
  // position: CanMoveKing when its side to move has quiet king moves (moves
  // within the current tables), below it how many of them still lead to a
  // position not known to be won for the opponent. The count is kept only
  // where every other move is known to lose, so that it reaching zero makes
  // the position lost.
  static constexpr uint8_t CanMoveKing = 0x80, Pending = 0x7F;
  std::vector<uint64_t> seeds;
  std::vector<uint8_t> counts;

  bool Seed(uint64_t i) const { return seeds[i >> 6] >> (i & 63) & 1; }
  uint8_t Count(uint64_t i) const {
    return std::atomic_ref<uint8_t>(const_cast<uint8_t&>(counts[i])).load(std::memory_order_relaxed);
  }
  // One fewer move that does not lose yet; true when it was the last one.
  bool CountDown(uint64_t i) {
    return (std::atomic_ref<uint8_t>(counts[i]).fetch_sub(1, std::memory_order_relaxed) & Pending) == 1;
  }

  uint64_t Bytes() const { return mtw ? size : (size + 3) / 4; }
  int Get(uint64_t i) const {
    const uint8_t byte =
        std::atomic_ref<uint8_t>(const_cast<uint8_t&>(data[mtw ? i : i >> 2])).load(std::memory_order_relaxed);
    return mtw ? byte : byte >> (2 * (i & 3)) & 3;
  }
  // WDL values only ever go from 0 to another value, so an atomic OR is the
  // indivisible read-modify-write that keeps the three neighbours in the byte.
  void Set(uint64_t i, int v) {
    if (mtw)
      std::atomic_ref<uint8_t>(data[i]).store(static_cast<uint8_t>(v), std::memory_order_relaxed);
    else
      std::atomic_ref<uint8_t>(data[i >> 2]).fetch_or(static_cast<uint8_t>(v << (2 * (i & 3))), std::memory_order_relaxed);
  }
  // Gives an undecided WDL position its value; false when it had one, so
  // that exactly one thread goes on from each decided position.
  bool Decide(uint64_t i, int v) {
    std::atomic_ref<uint8_t> byte(data[i >> 2]);
    const int shift = 2 * (i & 3);
    uint8_t old = byte.load(std::memory_order_relaxed);
    do {
      if ((old >> shift & 3) != 0) return false;
    } while (!byte.compare_exchange_weak(old, static_cast<uint8_t>(old | v << shift), std::memory_order_relaxed));
    return true;
  }
};

// Binomial coefficients without the bounds checks of EdbBinomial, for the
// index of every predecessor; made at compile time, so that no order of
// static initialisation can find them empty.
struct TChoose {
  std::array<std::array<uint64_t, 8>, 64> c{};
  constexpr TChoose() {
    for (int n = 0; n < 64; ++n) {
      c[n][0] = 1;
      for (int k = 1; k < 8; ++k) c[n][k] = n == 0 ? 0 : c[n - 1][k - 1] + c[n - 1][k];
    }
  }
};
constexpr TChoose choose;

// The men of one pair of the current tables as one of the two tables sees
// them: the positions of the pair are indexed from their kings alone.
struct TKingFrame {
  TValues* table = nullptr;
  uint64_t base = 0;      // index of the pair's first position
  uint64_t perBlack = 0;  // placements of the kings of the side not to move
  std::array<uint8_t, 64> slot{};  // bit -> rank among the squares the men leave free

  // The colex ranks of IndexOf, with the men already taken out.
  uint64_t Index(const TBitBoard64& pos) const {
    const uint64_t wk = pos.w & pos.k;
    uint64_t kW = 0, kB = 0;
    int k = 1;
    for (uint64_t s = wk; s != 0; s &= s - 1, ++k) kW += choose.c[slot[std::countr_zero(s)]][k];
    k = 1;
    for (uint64_t s = pos.b & pos.k; s != 0; s &= s - 1, ++k) {
      const int q = std::countr_zero(s);
      kB += choose.c[slot[q] - std::popcount(wk & ((uint64_t{1} << q) - 1))][k];
    }
    return base + kW * perBlack + kB;
  }
};

double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

std::string Seconds(double s) {
  std::ostringstream out;
  out.setf(std::ios::fixed);
  out.precision(2);
  out << s << "s";
  return out.str();
}

std::string Counts(const TEdbMaterial& m) {
  return std::to_string(m.wk) + std::to_string(m.bk) + std::to_string(m.wm) + std::to_string(m.bm);
}

std::string LogFileName() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char text[64];
  std::strftime(text, sizeof text, "log%Y-%m-%d_%H-%M-%S.txt", &tm);
  return text;
}

// The splits (i, n - i) of n pieces that have tables: i from the larger
// half up, within the men limit of the board.
std::vector<std::pair<int, int>> SplitsOf(const TEdbBoard& board, int n) {
  std::vector<std::pair<int, int>> splits;
  for (int i = (n + 1) / 2; i <= n - 1; ++i)
    if (i <= board.MaxMen()) splits.emplace_back(i, n - i);
  return splits;
}

// The tables of the split a against b in solving order: the kings of each
// side from most to fewest, then the men row sums from largest to smallest.
// `table` stops the walk by returning false.
template <class Table>
bool WalkSplit(const TEdbBoard& board, int a, int b, Table table) {
  for (int k = a; k >= 0; --k)
    for (int j = b; j >= 0; --j) {
      if (a == b && k < j) continue;  // the mirror of a material already made
      const int am = a - k, bm = b - j;
      for (int rsb = board.MaxRowSum(bm); rsb >= board.MinRowSum(bm); --rsb)
        for (int rsa = board.MaxRowSum(am); rsa >= board.MinRowSum(am); --rsa) {
          // With the same pieces on both sides, the row sums swapped are the
          // mirror made together with the pair met first.
          if (a == b && k == j && rsa > rsb) continue;
          if (!table(TEdbMaterial{am, bm, k, j, rsa, rsb})) return false;
        }
    }
  return true;
}

// The split of a split run, larger side first; none when it has no tables.
std::optional<std::pair<int, int>> RequestedSplit(const TEdbBoard& board, const TEdbGenOptions& o) {
  const int a = std::max(o.splitStrong, o.splitWeak), b = std::min(o.splitStrong, o.splitWeak);
  if (b < 1 || a > board.MaxMen()) return std::nullopt;
  return std::make_pair(a, b);
}

class TGenerator {
 public:
  explicit TGenerator(const TEdbGenOptions& options)
      : o_(options),
        board_(options.gametype),
        shift_(GameTypes[options.gametype].FlipShift),
        shortKings_(ShortKings(options.gametype)),
        mask_(BitBoardMask(options.gametype)) {}

  TEdbGenStats Run();

 private:
  struct TThreadCtx {
    // Solved tables met lately, by table number: one look here in place of
    // the shared lock for nearly every capture or man move.
    static constexpr int Recent = 256;
    std::array<const TValues*, Recent> recent{};
    int maxExternal = 0;
    static int Slot(uint32_t number) { return static_cast<int>(number * 2654435761u >> 24) & (Recent - 1); }
    // The men pair being told of its decided positions, as its table
    // (`own`) and the mirror table (`other`) see it.
    const TValues* frameTable = nullptr;
    uint64_t framePair = ~uint64_t{0};
    TKingFrame own, other;
    struct TDecided {
      TBitBoard64 pos;
      bool inOwn;
      uint8_t value;
    };
    std::vector<TDecided> stack;
  };

  void Log(const std::string& line);
  void Fail(const std::string& message);
  bool Stopped() const { return failed_.load() || (o_.cancel && o_.cancel->load()); }

  bool GenerateTotal(int n);
  bool GenerateSplit(int a, int b);
  bool SolvePair(const TEdbMaterial& m);

  const TValues* Solved(uint32_t number, const TEdbMaterial& m, TThreadCtx& ctx);
  int Successor(const TBitBoard64& q, TThreadCtx& ctx);
  int EvalMtw(const TBitBoard64& pos, int round, TThreadCtx& ctx);
  // The first WDL look at a position: the value its moves out of the
  // current tables decide (a win, or a loss when it has no other moves),
  // else 0; `kingMoves` counts the other moves and `othersWon` says whether
  // every move out of the tables leads to a win for the opponent.
  int EvalOutside(const TBitBoard64& pos, TThreadCtx& ctx, int& kingMoves, bool& othersWon);
  // The men pair frames of the decided position `pos` of table `t` at `index`.
  bool SetFrames(const TValues& t, uint64_t index, const TBitBoard64& pos, TThreadCtx& ctx);
  bool Frame(TValues* table, const TBitBoard64& men, TKingFrame& frame);
  // Tells the predecessors of `pos` (decided as `v`, in the frame ctx.own)
  // through quiet king moves, and so on from every position this decides: a
  // loss wins each predecessor, a win counts down each predecessor's moves
  // that do not lose.
  void Propagate(const TBitBoard64& pos, int v, TThreadCtx& ctx);
  // Runs `work(table, first, last, ctx)` over chunks of the current tables
  // with the threads, each taking the next chunk when it is done.
  template <class Work>
  void ForChunks(const std::vector<TValues*>& tables, Work work);
  // Runs `visit(table, index, position, ctx)` over every undecided position
  // of the current tables; true when some visit changed a value.
  template <class Visit>
  bool Pass(Visit visit);
  bool SolveWdl();
  bool Solve();
  bool Finish(TValues& t);

  const TEdbGenOptions& o_;
  TEdbBoard board_;
  int shift_;
  bool shortKings_;
  uint64_t mask_;
  TEdbGenStats stats_;
  std::ofstream logFile_;
  std::vector<TValues*> current_;
  std::unordered_map<uint32_t, std::unique_ptr<TValues>> solved_;
  uint64_t solvedBytes_ = 0;
  std::shared_mutex solvedMutex_;
  std::mutex failMutex_;
  std::atomic<bool> failed_{false};
  int maxExternal_ = 0;
  int tablesDone_ = 0;
  int tablesPlanned_ = 0;
};

void TGenerator::Log(const std::string& line) {
  if (logFile_) logFile_ << line << '\n' << std::flush;
  if (o_.log) o_.log(line);
}

void TGenerator::Fail(const std::string& message) {
  std::lock_guard lock(failMutex_);
  if (failed_.exchange(true)) return;
  stats_.ok = false;
  stats_.error = message;
}

TEdbGenStats TGenerator::Run() {
  const auto start = Clock::now();
  if (!HasBitBoardGenerator(o_.gametype)) {
    stats_.ok = false;
    stats_.error = "no endgame tables for this game type";
    return stats_;
  }
  std::error_code ec;
  for (bool mtw : {false, true}) {
    fs::create_directories(WorkingFolder(o_.root, o_.gametype, mtw), ec);
    if (ec) {
      stats_.ok = false;
      stats_.error = "cannot create " + WorkingFolder(o_.root, o_.gametype, mtw).string() + ": " + ec.message();
      return stats_;
    }
  }
  logFile_.open(TableFolder(o_.root, o_.gametype, false).parent_path() / LogFileName(), std::ios::app);
  tablesPlanned_ = CountGenerationTables(o_);
  if (o_.fullPieces > 0) {
    for (int n = 2; n <= o_.fullPieces && !Stopped(); ++n) GenerateTotal(n);
  } else {
    const auto split = RequestedSplit(board_, o_);
    if (!split) {
      stats_.ok = false;
      stats_.error = "no tables for the split " + std::to_string(std::max(o_.splitStrong, o_.splitWeak)) + "-" +
                     std::to_string(std::min(o_.splitStrong, o_.splitWeak));
      return stats_;
    }
    GenerateSplit(split->first, split->second);
  }
  if (!failed_ && o_.cancel && o_.cancel->load()) stats_.cancelled = true;
  if (failed_) Log(stats_.error);
  stats_.seconds = Since(start);
  return stats_;
}

bool TGenerator::GenerateTotal(int n) {
  const auto start = Clock::now();
  const uint64_t before = stats_.positions;
  Log("EDB=" + std::to_string(n));
  for (const auto& [a, b] : SplitsOf(board_, n))
    if (Stopped() || !GenerateSplit(a, b)) break;
  Log("==" + std::to_string(stats_.positions - before) + " " + Seconds(Since(start)));
  if (o_.mtw)
    Log("Max=" + std::to_string(stats_.maxDistance) + " " + stats_.maxPosition + ", Runout:" +
        std::to_string(stats_.runout));
  return !Stopped();
}

bool TGenerator::GenerateSplit(int a, int b) {
  const uint64_t before = stats_.positions;
  Log(" " + std::to_string(a) + " vs " + std::to_string(b));
  const bool whole = WalkSplit(board_, a, b, [this](const TEdbMaterial& m) {
    if (Stopped() || !SolvePair(m)) return false;
    ++tablesDone_;
    if (o_.tableDone) o_.tableDone(tablesDone_, tablesPlanned_);
    return true;
  });
  if (!whole) return false;
  Log(" =" + std::to_string(stats_.positions - before));
  return true;
}

const TValues* TGenerator::Solved(uint32_t number, const TEdbMaterial& m, TThreadCtx& ctx) {
  const TValues*& recent = ctx.recent[TThreadCtx::Slot(number)];
  if (recent && recent->number == number) return recent;
  const TValues* found = nullptr;
  {
    std::shared_lock lock(solvedMutex_);
    auto it = solved_.find(number);
    if (it != solved_.end()) found = it->second.get();
  }
  if (!found) {
    std::unique_lock lock(solvedMutex_);
    auto it = solved_.find(number);
    if (it != solved_.end()) {
      found = it->second.get();
    } else {
      auto t = std::make_unique<TValues>();
      t->m = m;
      t->number = number;
      t->mtw = o_.mtw;
      t->size = board_.TableSize(m);
      std::string error;
      if (!ReadWorkingFile(WorkingFolder(o_.root, o_.gametype, o_.mtw) / TableFileName(m), t->Bytes(), t->data,
                           error)) {
        Fail(error);
        return nullptr;
      }
      solvedBytes_ += t->Bytes();
      found = t.get();
      solved_.emplace(number, std::move(t));
    }
  }
  recent = found;
  return found;
}

// The value of the position after a move, turned over so that the opponent
// is to move: WDL 0..2 or an MTW byte; -1 when its table cannot be read.
int TGenerator::Successor(const TBitBoard64& q, TThreadCtx& ctx) {
  if (q.w == 0) {
    ctx.maxExternal = std::max(ctx.maxExternal, 1);
    return o_.mtw ? 1 : WdlLoss;
  }
  TEdbMaterial m;
  uint64_t index = 0;
  if (!board_.Locate(q, m, index)) {
    Fail("a position outside the men tables was reached");
    return -1;
  }
  const uint32_t number = m.Number();
  for (const TValues* c : current_)
    if (c->number == number) return c->Get(index);
  const TValues* t = Solved(number, m, ctx);
  if (!t) return -1;
  const int v = t->Get(index);
  if (o_.mtw && v != MtwNever) ctx.maxExternal = std::max(ctx.maxExternal, v);
  return v;
}

int TGenerator::EvalOutside(const TBitBoard64& pos, TThreadCtx& ctx, int& kingMoves, bool& othersWon) {
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, o_.gametype);
  kingMoves = 0;
  othersWon = true;
  if (count == 0) return WdlLoss;
  const uint64_t men = pos.w & ~pos.k;
  for (int i = 0; i < count; ++i) {
    TBitBoard64 q = list[i];
    // A quiet king move keeps every man and takes nothing: its position is
    // in the mirror table, told later by Propagate.
    if ((q.w & ~q.k) == men && q.b == pos.b) {
      ++kingMoves;
      continue;
    }
    FlipBitBoardBy(q, shift_);
    const int v = Successor(q, ctx);
    if (v < 0) return -1;
    if (v == WdlLoss) return WdlWin;
    if (v != WdlWin) othersWon = false;
  }
  return othersWon && kingMoves == 0 ? WdlLoss : WdlDraw;
}

// In round r only positions won or lost in exactly r plies are decided, so
// every distance is the shortest win or the longest defence.
int TGenerator::EvalMtw(const TBitBoard64& pos, int round, TThreadCtx& ctx) {
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, o_.gametype);
  if (count == 0) return 1;
  int shortestLoss = 1000, longestWin = 0;
  bool allWon = true;
  for (int i = 0; i < count; ++i) {
    TBitBoard64 q = list[i];
    FlipBitBoardBy(q, shift_);
    const int v = Successor(q, ctx);
    if (v < 0) return -1;
    if (v == 0 || v == MtwNever) {
      allWon = false;
    } else if (v % 2 == 1) {
      shortestLoss = std::min(shortestLoss, v);
      allWon = false;
    } else {
      longestWin = std::max(longestWin, v);
    }
  }
  if (shortestLoss < 1000) return shortestLoss + 1 == round ? round : 0;
  if (allWon && longestWin + 1 == round) return round;
  return 0;
}

bool TGenerator::Frame(TValues* table, const TBitBoard64& men, TKingFrame& frame) {
  TEdbMaterial m;
  uint64_t pair = 0;
  if (!table || !board_.Locate(men, m, pair) || m.wm != table->m.wm || m.bm != table->m.bm ||
      m.rsw != table->m.rsw || m.rsb != table->m.rsb)
    return false;
  // A position of men alone has its men pair as index.
  frame.table = table;
  frame.base = pair * MenPairPositions(board_, table->m);
  const int free = board_.Squares() - m.wm - m.bm;
  frame.perBlack = EdbBinomial(free - table->m.wk, table->m.bk);
  int rank = 0;
  for (uint64_t s = mask_ & ~(men.w | men.b); s != 0; s &= s - 1)
    frame.slot[std::countr_zero(s)] = static_cast<uint8_t>(rank++);
  return true;
}

bool TGenerator::SetFrames(const TValues& t, uint64_t index, const TBitBoard64& pos, TThreadCtx& ctx) {
  const uint64_t pair = index / MenPairPositions(board_, t.m);
  if (ctx.frameTable == &t && ctx.framePair == pair) return true;
  ctx.frameTable = nullptr;
  TValues* mirror = nullptr;
  TValues* own = nullptr;
  for (TValues* c : current_) {
    if (c == &t) own = c;
    if (c->m == t.m.Mirror()) mirror = c;
  }
  TBitBoard64 men{pos.w & ~pos.k, pos.b & ~pos.k, 0};
  if (!Frame(own, men, ctx.own)) return false;
  FlipBitBoardBy(men, shift_);
  if (!Frame(mirror, men, ctx.other)) return false;
  ctx.frameTable = &t;
  ctx.framePair = pair;
  return true;
}

void TGenerator::Propagate(const TBitBoard64& start, int value, TThreadCtx& ctx) {
  auto& stack = ctx.stack;
  stack.clear();
  stack.push_back({start, true, static_cast<uint8_t>(value)});
  while (!stack.empty()) {
    const auto [pos, inOwn, v] = stack.back();
    stack.pop_back();
    // The predecessors lie in the other table of the pair.
    const TKingFrame& frame = inOwn ? ctx.other : ctx.own;
    TValues& target = *frame.table;
    const uint64_t empty = mask_ & ~(pos.w | pos.b);
    for (uint64_t kings = pos.b & pos.k; kings != 0; kings &= kings - 1) {
      const uint64_t from = kings & -kings;
      for (int d : {5, 6, -5, -6}) {
        // Each empty square behind the king along d, up to the first piece
        // (only the next for kings that step): where a quiet move to `pos`
        // may have started.
        for (uint64_t to = (d > 0 ? from << d : from >> -d) & empty; to != 0;
             to = shortKings_ ? 0 : (d > 0 ? to << d : to >> -d) & empty) {
          TBitBoard64 before = pos;
          before.b ^= from | to;
          before.k ^= from | to;
          FlipBitBoardBy(before, shift_);
          const uint64_t i = frame.Index(before);
          // The values are four to a byte, the counts one: the values are
          // the likelier to be in the cache, so they are asked first.
          if (target.Get(i) != 0) continue;
          const uint8_t count = target.Count(i);
          if (v == WdlLoss) {
            // The move is legal when the predecessor has quiet king moves at
            // all (no capture is due).
            if ((count & TValues::CanMoveKing) && target.Decide(i, WdlWin))
              stack.push_back({before, !inOwn, WdlWin});
          } else if ((count & TValues::Pending) != 0 && target.CountDown(i) && target.Decide(i, WdlLoss)) {
            stack.push_back({before, !inOwn, WdlLoss});
          }
        }
      }
    }
  }
}

template <class Work>
void TGenerator::ForChunks(const std::vector<TValues*>& tables, Work work) {
  // Chunks of whole 64-position words, so that no two threads write one word
  // of the seed bits.
  constexpr uint64_t Chunk = 1 << 16;
  struct TChunk {
    TValues* table;
    uint64_t first, last;
  };
  std::vector<TChunk> chunks;
  for (TValues* t : tables)
    for (uint64_t first = 0; first < t->size; first += Chunk)
      chunks.push_back({t, first, std::min(t->size, first + Chunk)});
  std::atomic<size_t> next{0};
  std::atomic<int> maxExternal{0};
  const int threads = std::clamp(o_.threads, 1, 16);
  const auto run = [&](int) {
    TThreadCtx ctx;
    for (size_t c = next++; c < chunks.size() && !Stopped(); c = next++)
      work(*chunks[c].table, chunks[c].first, chunks[c].last, ctx);
    int m = maxExternal.load();
    while (ctx.maxExternal > m && !maxExternal.compare_exchange_weak(m, ctx.maxExternal)) {
    }
  };
  if (threads == 1 || chunks.size() == 1) {
    run(0);
  } else {
    std::vector<std::jthread> pool;
    for (int t = 0; t < std::min<int>(threads, static_cast<int>(chunks.size())); ++t) pool.emplace_back(run, t);
  }
  maxExternal_ = std::max(maxExternal_, maxExternal.load());
}

template <class Visit>
bool TGenerator::Pass(Visit visit) {
  std::atomic<bool> changed{false};
  const uint8_t never = o_.mtw ? MtwNever : WdlNeverProbed;
  ForChunks(current_, [&](TValues& table, uint64_t first, uint64_t last, TThreadCtx& ctx) {
    bool any = false;
    WalkIndices(
        board_, table.m, first, last,
        [&](uint64_t i, const TBitBoard64& pos) {
          if (table.Get(i) == 0 && visit(table, i, pos, ctx)) any = true;
        },
        [&](uint64_t i, uint64_t count) {
          for (const uint64_t end = i + count; i < end; ++i) table.Set(i, never);
        });
    if (any) changed = true;
  });
  return changed.load();
}

// WDL in two steps. First every position is looked at once, its moves out of
// the current tables decide what they can. Then each decided position tells
// its predecessors within the tables (quiet king moves back), and each
// position those decide tells its own, until nothing more is decided. What
// is left undecided is a draw.
bool TGenerator::SolveWdl() {
  for (TValues* t : current_) {
    t->seeds.assign((t->size + 63) / 64, 0);
    t->counts.assign(t->size, 0);
  }
  if (o_.progress) o_.progress(TableFileName(current_[0]->m) + " pass 1");
  Pass([&](TValues& t, uint64_t i, const TBitBoard64& pos, TThreadCtx& ctx) {
    int kingMoves = 0;
    bool othersWon = true;
    const int v = EvalOutside(pos, ctx, kingMoves, othersWon);
    if (v < 0) return false;
    if (kingMoves > TValues::Pending) {
      Fail("too many king moves in " + TableFileName(t.m));
      return false;
    }
    t.counts[i] = static_cast<uint8_t>((kingMoves > 0 ? TValues::CanMoveKing : 0) |
                                       (v == WdlDraw && othersWon ? kingMoves : 0));
    if (v == WdlDraw) return false;
    t.Set(i, v);
    t.seeds[i >> 6] |= uint64_t{1} << (i & 63);
    return true;
  });
  if (Stopped()) return false;
  if (o_.progress) o_.progress(TableFileName(current_[0]->m) + " pass 2");
  ForChunks(current_, [&](TValues& table, uint64_t first, uint64_t last, TThreadCtx& ctx) {
    bool seeded = false;
    for (uint64_t w = first >> 6; w < (last + 63) >> 6 && !seeded; ++w) seeded = table.seeds[w] != 0;
    if (!seeded) return;
    WalkIndices(
        board_, table.m, first, last,
        [&](uint64_t i, const TBitBoard64& pos) {
          if (!table.Seed(i) || Stopped()) return;
          if (!SetFrames(table, i, pos, ctx)) {
            Fail("no mirror table for " + TableFileName(table.m));
            return;
          }
          Propagate(pos, table.Get(i), ctx);
        },
        [](uint64_t, uint64_t) {});
  });
  for (TValues* t : current_) {
    t->seeds = {};
    t->counts = {};
  }
  return !Stopped();
}

bool TGenerator::Solve() {
  if (!o_.mtw) return SolveWdl();
  const auto value = [&](TValues& t, uint64_t i, const TBitBoard64& pos, TThreadCtx& ctx, auto&& eval) {
    const int v = eval(pos, ctx);
    if (v <= 0) return false;
    t.Set(i, v);
    return true;
  };
  maxExternal_ = 0;
  for (int round = 1; round <= MtwLongest && !Stopped(); ++round) {
    if (o_.progress) o_.progress(TableFileName(current_[0]->m) + " round " + std::to_string(round));
    const bool changed = Pass([&](TValues& t, uint64_t i, const TBitBoard64& pos, TThreadCtx& ctx) {
      return value(t, i, pos, ctx, [&](const TBitBoard64& p, TThreadCtx& c) { return EvalMtw(p, round, c); });
    });
    if (!changed && round > maxExternal_) break;
    if (changed && round >= MtwLongest - 1) ++stats_.runout;
  }
  return !Stopped();
}

// Counts, cleans and compresses one solved table into its final file.
bool TGenerator::Finish(TValues& t) {
  const bool mtw = o_.mtw;
  const uint8_t never = mtw ? MtwNever : WdlNeverProbed;
  auto start = Clock::now();
  std::vector<uint8_t> out(t.size, never);
  uint64_t valid = 0, resolved = 0;
  // The longest distance and its first position; the threads clean chunks
  // of the table apart.
  int longest = 0;
  uint64_t longestAt = 0;
  TBitBoard64 longestPos{};
  std::mutex merge;
  ForChunks({&t}, [&](TValues& table, uint64_t first, uint64_t last, TThreadCtx&) {
    uint64_t chunkValid = 0, chunkResolved = 0;
    int chunkLongest = 0;
    uint64_t chunkAt = 0;
    TBitBoard64 chunkPos{};
    WalkIndices(
        board_, table.m, first, last,
        [&](uint64_t i, const TBitBoard64& pos) {
          const int v = table.Get(i);
          if (v == never) return;
          ++chunkValid;
          if (v != 0) ++chunkResolved;
          if (mtw && v > chunkLongest) {
            chunkLongest = v;
            chunkAt = i;
            chunkPos = pos;
          }
          // Positions the probe never asks about: a capture pending for the
          // side to move, and in WDL tables one pending for the other side.
          if (CaptureMask(pos, o_.gametype) != 0 || (!mtw && OpponentCaptureMask(pos, o_.gametype) != 0))
            out[i] = never;
          else
            out[i] = static_cast<uint8_t>(v);
        },
        [](uint64_t, uint64_t) {});
    std::lock_guard lock(merge);
    valid += chunkValid;
    resolved += chunkResolved;
    if (chunkLongest > longest || (chunkLongest == longest && chunkLongest > 0 && chunkAt < longestAt)) {
      longest = chunkLongest;
      longestAt = chunkAt;
      longestPos = chunkPos;
    }
  });
  if (mtw && longest > stats_.maxDistance) {
    stats_.maxDistance = longest;
    TBrd brd;
    Bit64toBoard(longestPos, brd, o_.gametype);
    std::string text[4];
    for (int s = 1; s <= board_.Squares(); ++s) {
      const int c = brd[s];
      if (c == 0) continue;
      std::string& list = text[(c < 0 ? 2 : 0) + (std::abs(c) == 2 ? 1 : 0)];
      list += (list.empty() ? "" : ",") + std::to_string(s);
    }
    stats_.maxPosition = "W:" + text[0] + " WK:" + text[1] + " B:" + text[2] + " BK:" + text[3];
  }
  if (Stopped()) return false;
  stats_.positions += valid;
  if (!o_.skipResolvedCount) Log("    Resolved=" + std::to_string(resolved) + ", " + Seconds(Since(start)));
  Log("    Cleaning.=" + Seconds(Since(start)));
  if (!o_.compress) return true;
  start = Clock::now();
  const std::vector<uint8_t> file = BuildTableFile(out, mtw);
  std::string error;
  if (!WriteWholeFile(TableFolder(o_.root, o_.gametype, mtw) / TableFileName(t.m), file, error)) {
    Fail(error);
    return false;
  }
  Log("    Compressing.=" + Seconds(Since(start)));
  return true;
}

bool TGenerator::SolvePair(const TEdbMaterial& m) {
  const auto start = Clock::now();
  std::vector<TEdbMaterial> tables{m};
  if (m.Mirror() != m) tables.push_back(m.Mirror());
  const fs::path gen = WorkingFolder(o_.root, o_.gametype, o_.mtw);
  const fs::path final = TableFolder(o_.root, o_.gametype, o_.mtw);
  std::error_code ec;
  bool worked = true, finished = true;
  for (const auto& t : tables) {
    worked = worked && fs::exists(gen / TableFileName(t), ec);
    finished = finished && fs::exists(final / TableFileName(t), ec);
  }
  if (worked && (finished || !o_.compress)) {
    ++stats_.tablesSkipped;
    return true;
  }

  std::vector<std::unique_ptr<TValues>> values;
  uint64_t size = 0;
  for (const auto& t : tables) {
    auto v = std::make_unique<TValues>();
    v->m = t;
    v->number = t.Number();
    v->mtw = o_.mtw;
    v->size = board_.TableSize(t);
    size += v->size;
    values.push_back(std::move(v));
  }
  const std::string name = Counts(m) + "-" + std::to_string(m.rsw) + "-" + std::to_string(m.rsb);
  if (worked) {
    // Solved by an earlier run that did not compress: read the working files back.
    for (auto& v : values) {
      std::string error;
      if (!ReadWorkingFile(gen / TableFileName(v->m), v->Bytes(), v->data, error)) {
        Fail(error);
        return false;
      }
    }
  } else {
    Log(" Start " + name + "; Sz=" + std::to_string(size));
    for (auto& v : values) {
      try {
        v->data.assign(v->Bytes(), 0);
      } catch (const std::bad_alloc&) {
        Fail("Error loading " + (gen / TableFileName(v->m)).string() + " getmem=" + std::to_string(v->Bytes()));
        return false;
      }
    }
    current_.clear();
    for (auto& v : values) current_.push_back(v.get());
    auto step = Clock::now();
    const bool solved = Solve();
    current_.clear();
    if (!solved) return false;
    Log("    Cnt.=" + Seconds(Since(step)));
    step = Clock::now();
    for (auto& v : values) {
      std::string error;
      if (!WriteWorkingFile(gen / TableFileName(v->m), v->data, error)) {
        Fail(error);
        return false;
      }
    }
    Log("    Save.=" + Seconds(Since(step)));
    ++stats_.tablesSolved;
  }
  for (auto& v : values)
    if (!Finish(*v)) return false;
  // Keep the solved tables for the tables that follow, within the budget.
  std::unique_lock lock(solvedMutex_);
  for (auto& v : values) {
    solvedBytes_ += v->Bytes();
    solved_[v->number] = std::move(v);
  }
  if (solvedBytes_ > o_.memoryBudget) {
    solved_.clear();
    solvedBytes_ = 0;
  }
  Log("  " + Counts(m) + "=" + std::to_string(size) + " " + Seconds(Since(start)));
  return true;
}

}  // namespace

TEdbGenStats GenerateEndgameTables(const TEdbGenOptions& options) { return TGenerator(options).Run(); }

int CountGenerationTables(const TEdbGenOptions& o) {
  if (!HasBitBoardGenerator(o.gametype)) return 0;
  const TEdbBoard board(o.gametype);
  int count = 0;
  auto counted = [&count](const TEdbMaterial&) { return ++count, true; };
  if (o.fullPieces > 0) {
    for (int n = 2; n <= o.fullPieces; ++n)
      for (const auto& [a, b] : SplitsOf(board, n)) WalkSplit(board, a, b, counted);
  } else if (const auto split = RequestedSplit(board, o)) {
    WalkSplit(board, split->first, split->second, counted);
  }
  return count;
}

}  // namespace kestrel
