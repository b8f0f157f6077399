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
  // WDL passes after the first visit only positions marked here: the
  // predecessors of positions decided in the pass before.
  std::vector<uint64_t> dirty, nextDirty;

  bool Dirty(uint64_t i) const { return dirty[i >> 6] >> (i & 63) & 1; }
  void MarkNext(uint64_t i) {
    std::atomic_ref<uint64_t>(nextDirty[i >> 6]).fetch_or(uint64_t{1} << (i & 63), std::memory_order_relaxed);
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
      : o_(options), board_(options.gametype), shift_(GameTypes[options.gametype].FlipShift) {}

  TEdbGenStats Run();

 private:
  struct TThreadCtx {
    // Solved tables met lately, by table number: one look here in place of
    // the shared lock for nearly every capture or man move.
    static constexpr int Recent = 256;
    std::array<const TValues*, Recent> recent{};
    int maxExternal = 0;
    static int Slot(uint32_t number) { return static_cast<int>(number * 2654435761u >> 24) & (Recent - 1); }
  };

  void Log(const std::string& line);
  void Fail(const std::string& message);
  bool Stopped() const { return failed_.load() || (o_.cancel && o_.cancel->load()); }

  bool GenerateTotal(int n);
  bool GenerateSplit(int a, int b);
  bool SolvePair(const TEdbMaterial& m);

  const TValues* Solved(uint32_t number, const TEdbMaterial& m, TThreadCtx& ctx);
  int Successor(const TBitBoard64& q, TThreadCtx& ctx);
  int EvalWdl(const TBitBoard64& pos, TThreadCtx& ctx);
  int EvalMtw(const TBitBoard64& pos, int round, TThreadCtx& ctx);
  // Whether all successors of `pos` are won for the opponent (a loss),
  // stopping at the first that is not: the question a marked position asks
  // again, since its marks come only from successors turned won.
  int EvalAllWon(const TBitBoard64& pos, TThreadCtx& ctx);
  // The positions of the current tables from which a quiet king move of the
  // side not to move in `pos` (of table `t`, just given value `v`) leads to
  // `pos`: after a win each is marked for the next pass; after a loss each
  // where that move is legal is won at once.
  void MarkPredecessors(const TBitBoard64& pos, const TValues& t, int v);
  // Runs `visit(table, index, position, ctx)` over every undecided position
  // of the current tables (only the dirty ones when `onlyDirty`) with the
  // threads; true when some visit changed a value.
  template <class Visit>
  bool Pass(Visit visit, bool onlyDirty = false);
  bool Solve();
  bool Finish(TValues& t);

  const TEdbGenOptions& o_;
  TEdbBoard board_;
  int shift_;
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

int TGenerator::EvalWdl(const TBitBoard64& pos, TThreadCtx& ctx) {
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, o_.gametype);
  if (count == 0) return WdlLoss;
  bool allWon = true;
  for (int i = 0; i < count; ++i) {
    TBitBoard64 q = list[i];
    FlipBitBoardBy(q, shift_);
    const int v = Successor(q, ctx);
    if (v < 0) return -1;
    if (v == WdlLoss) return WdlWin;
    if (v != WdlWin) allWon = false;
  }
  return allWon ? WdlLoss : WdlDraw;
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

int TGenerator::EvalAllWon(const TBitBoard64& pos, TThreadCtx& ctx) {
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, o_.gametype);
  for (int i = 0; i < count; ++i) {
    TBitBoard64 q = list[i];
    FlipBitBoardBy(q, shift_);
    const int v = Successor(q, ctx);
    if (v < 0) return -1;
    if (v != WdlWin) return 0;
  }
  return WdlLoss;
}

void TGenerator::MarkPredecessors(const TBitBoard64& pos, const TValues& t, int v) {
  // A king move keeps the men, so every predecessor lies in the mirror table.
  const TEdbMaterial mirror = t.m.Mirror();
  TValues* target = nullptr;
  for (TValues* c : current_)
    if (c->m == mirror) target = c;
  if (!target) return;
  const uint64_t mask = BitBoardMask(o_.gametype);
  const uint64_t occupied = pos.w | pos.b;
  // `pos` as a predecessor's mover sees it after his move.
  TBitBoard64 after = pos;
  FlipBitBoardBy(after, shift_);
  for (uint64_t kings = pos.b & pos.k; kings != 0; kings &= kings - 1) {
    const int from = std::countr_zero(kings);
    for (int d : {5, 6, -5, -6}) {
      // Every square behind the king along the diagonal, as far as it is
      // empty: a superset of the moves that may have brought it here.
      for (int to = from + d; to >= 0 && to < 64 && (mask >> to & 1) && !(occupied >> to & 1); to += d) {
        TBitBoard64 before = pos;
        const uint64_t move = (uint64_t{1} << from) | (uint64_t{1} << to);
        before.b ^= move;
        before.k ^= move;
        FlipBitBoardBy(before, shift_);
        const uint64_t i = board_.Index(before, mirror);
        if (v == WdlWin) {
          target->MarkNext(i);
          continue;
        }
        if (target->Get(i) != 0) continue;
        // Legal when the predecessor has no capture to make instead and its
        // king may go that far: both are the move generator's to say.
        TBitMoveList list;
        uint8_t count = 0;
        GenerateMoves(before, list, count, o_.gametype);
        bool legal = false;
        for (int j = 0; j < count && !legal; ++j) legal = list[j] == after;
        if (!legal) continue;
        target->Set(i, WdlWin);
        MarkPredecessors(before, *target, WdlWin);
      }
    }
  }
}

template <class Visit>
bool TGenerator::Pass(Visit visit, bool onlyDirty) {
  std::atomic<bool> changed{false};
  std::atomic<int> maxExternal{0};
  const int threads = std::clamp(o_.threads, 1, 16);
  const uint8_t never = o_.mtw ? MtwNever : WdlNeverProbed;
  const auto work = [&](int t) {
    TThreadCtx ctx;
    bool any = false, halt = false;
    for (TValues* table : current_) {
      // Threads share each table by blocks of men pairs.
      const uint64_t perPair = MenPairPositions(board_, table->m);
      const uint64_t pairs = table->size / perPair;
      const uint64_t share = pairs / threads;
      const uint64_t first = share * t, last = t == threads - 1 ? pairs : share * (t + 1);
      const auto one = [&](uint64_t i, const TBitBoard64& pos) {
        if ((i & 0xFFFF) == 0 && Stopped()) halt = true;
        if (halt || table->Get(i) != 0) return;
        if (visit(*table, i, pos, ctx)) any = true;
      };
      if (!onlyDirty) {
        WalkTable(board_, table->m, first, last, one, [&](uint64_t i, uint64_t count) {
          for (const uint64_t end = i + count; i < end; ++i) table->Set(i, never);
        });
      } else {
        // Only the marked positions, each decoded from its index.
        const uint64_t begin = first * perPair, end = last * perPair;
        for (uint64_t word = begin >> 6; word << 6 < end && !halt; ++word) {
          uint64_t bits = table->dirty[word];
          for (; bits != 0; bits &= bits - 1) {
            const uint64_t i = word << 6 | std::countr_zero(bits);
            TBitBoard64 pos;
            if (i >= begin && i < end && board_.Position(table->m, i, pos)) one(i, pos);
          }
        }
      }
      if (halt) return;
    }
    if (any) changed = true;
    int m = maxExternal.load();
    while (ctx.maxExternal > m && !maxExternal.compare_exchange_weak(m, ctx.maxExternal)) {
    }
  };
  if (threads == 1) {
    work(0);
  } else {
    std::vector<std::jthread> pool;
    for (int t = 0; t < threads; ++t) pool.emplace_back(work, t);
  }
  maxExternal_ = std::max(maxExternal_, maxExternal.load());
  return changed.load();
}

bool TGenerator::Solve() {
  const auto value = [&](TValues& t, uint64_t i, const TBitBoard64& pos, TThreadCtx& ctx, auto&& eval) {
    const int v = eval(pos, ctx);
    if (v <= 0) return false;
    t.Set(i, v);
    if (!o_.mtw) MarkPredecessors(pos, t, v);
    return true;
  };
  if (!o_.mtw) {
    for (TValues* t : current_) {
      t->dirty.assign((t->size + 63) / 64, 0);
      t->nextDirty.assign((t->size + 63) / 64, 0);
    }
    for (int pass = 1; !Stopped(); ++pass) {
      if (o_.progress) o_.progress(TableFileName(current_[0]->m) + " pass " + std::to_string(pass));
      const bool changed = Pass(
          [&](TValues& t, uint64_t i, const TBitBoard64& pos, TThreadCtx& ctx) {
            return value(t, i, pos, ctx, [&](const TBitBoard64& p, TThreadCtx& c) {
              return pass == 1 ? EvalWdl(p, c) : EvalAllWon(p, c);
            });
          },
          pass > 1);
      if (!changed) break;
      for (TValues* t : current_) {
        t->dirty.swap(t->nextDirty);
        std::fill(t->nextDirty.begin(), t->nextDirty.end(), 0);
      }
    }
    for (TValues* t : current_) {
      t->dirty = {};
      t->nextDirty = {};
    }
    return !Stopped();
  }
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
  bool halt = false;
  const uint64_t pairs = t.size / MenPairPositions(board_, t.m);
  WalkTable(board_, t.m, 0, pairs, [&](uint64_t i, const TBitBoard64& pos) {
    if ((i & 0xFFFF) == 0 && Stopped()) halt = true;
    const int v = t.Get(i);
    if (halt || v == never) return;
    ++valid;
    if (v != 0) ++resolved;
    if (mtw && v > stats_.maxDistance) {
      stats_.maxDistance = v;
      TBrd brd;
      Bit64toBoard(pos, brd, o_.gametype);
      std::string text[4];
      for (int s = 1; s <= board_.Squares(); ++s) {
        const int c = brd[s];
        if (c == 0) continue;
        std::string& list = text[(c < 0 ? 2 : 0) + (std::abs(c) == 2 ? 1 : 0)];
        list += (list.empty() ? "" : ",") + std::to_string(s);
      }
      stats_.maxPosition = "W:" + text[0] + " WK:" + text[1] + " B:" + text[2] + " BK:" + text[3];
    }
    // Positions the probe never asks about: a capture pending for the side
    // to move, and in WDL tables one pending for the other side.
    if (CaptureMask(pos, o_.gametype) != 0 || (!mtw && OpponentCaptureMask(pos, o_.gametype) != 0))
      out[i] = never;
    else
      out[i] = static_cast<uint8_t>(v);
  }, [](uint64_t, uint64_t) {});
  if (halt) return false;
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
