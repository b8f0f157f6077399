#include "engine/tools/edb_verify.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/bitboard_movegen.h"
#include "engine/endgame/edb_tables.h"
#include "engine/endgame/table_file.h"
#include "engine/endgame/wdl_runs.h"
#include "engine/tools/edb_generator.h"
#include "engine/tools/working_file.h"
#include "rules/game_types.h"

namespace kestrel {

namespace fs = std::filesystem;

void ForEachEndgameTable(int gametype, int pieces, const std::function<void(uint32_t)>& visit) {
  const TEdbBoard board(gametype);
  if (!board.Valid()) return;
  const int limit = board.MaxMen();
  for (int n = 2; n <= pieces; ++n)
    for (int a = 1; a < n; ++a) {
      const int b = n - a;
      if (a > limit || b > limit) continue;
      for (int k = a; k >= 0; --k)
        for (int j = b; j >= 0; --j)
          for (int rsb = board.MaxRowSum(b - j); rsb >= board.MinRowSum(b - j); --rsb)
            for (int rsa = board.MaxRowSum(a - k); rsa >= board.MinRowSum(a - k); --rsa)
              visit(TEdbMaterial{a - k, b - j, k, j, rsa, rsb}.Number());
    }
}

namespace {

class TVerifier {
 public:
  TVerifier(const fs::path& root, int gametype, bool mtw)
      : root_(root), gametype_(gametype), mtw_(mtw), board_(gametype), shift_(GameTypes[gametype].FlipShift) {}

  TEdbVerifyStats Run(int pieces, const std::function<void(const std::string&)>& progress) {
    ForEachEndgameTable(gametype_, pieces, [&](uint32_t number) {
      if (!stats_.ok) return;
      TEdbMaterial m;
      MaterialFromNumber(number, m);
      if (progress) progress(TableFileName(m));
      CheckTable(m);
      // Tables are read back as successors need them; keep memory in bounds.
      if (loadedBytes_ > (1ull << 30)) {
        tables_.clear();
        loadedBytes_ = 0;
      }
    });
    return stats_;
  }

 private:
  struct TTable {
    std::vector<uint8_t> data;
    int Get(uint64_t i, bool mtw) const { return mtw ? data[i] : data[i >> 2] >> (2 * (i & 3)) & 3; }
  };

  const TTable* Table(const TEdbMaterial& m) {
    const uint32_t number = m.Number();
    auto it = tables_.find(number);
    if (it != tables_.end()) return it->second.get();
    auto t = std::make_unique<TTable>();
    const uint64_t size = board_.TableSize(m);
    std::string error;
    if (!ReadWorkingFile(WorkingFolder(root_, gametype_, mtw_) / TableFileName(m), mtw_ ? size : (size + 3) / 4,
                         t->data, error)) {
      stats_.ok = false;
      stats_.error = error;
      return nullptr;
    }
    loadedBytes_ += t->data.size();
    return tables_.emplace(number, std::move(t)).first->second.get();
  }

  // The value of a successor seen by the opponent; -1 when unreadable.
  int Value(const TBitBoard64& q) {
    if (q.w == 0) return mtw_ ? 1 : WdlLoss;
    TEdbMaterial m;
    if (!board_.MaterialOf(q, m)) return -1;
    const TTable* t = Table(m);
    return t ? t->Get(board_.Index(q, m), mtw_) : -1;
  }

  bool Consistent(const TBitBoard64& pos, int v) {
    TBitMoveList list;
    uint8_t count = 0;
    GenerateMoves(pos, list, count, gametype_);
    if (count == 0) return mtw_ ? v == 1 : v == WdlLoss;
    bool anyLost = false, allWon = true;
    int shortestLoss = 1000, longestWin = 0;
    for (int i = 0; i < count; ++i) {
      TBitBoard64 q = list[i];
      FlipBitBoardBy(q, shift_);
      const int s = Value(q);
      if (s < 0) return false;
      const bool lost = mtw_ ? s != 0 && s != 255 && s % 2 == 1 : s == WdlLoss;
      const bool won = mtw_ ? s != 0 && s != 255 && s % 2 == 0 : s == WdlWin;
      if (lost) {
        anyLost = true;
        shortestLoss = std::min(shortestLoss, s);
      }
      if (won)
        longestWin = std::max(longestWin, s);
      else
        allWon = false;
    }
    if (!mtw_) {
      if (v == WdlWin) return anyLost;
      if (v == WdlLoss) return allWon;
      return !anyLost && !allWon;
    }
    if (v == 0) return !anyLost && !allWon;
    if (v % 2 == 0) return anyLost && shortestLoss + 1 == v;
    return allWon && longestWin + 1 == v;
  }

  void CheckTable(const TEdbMaterial& m) {
    const TTable* t = Table(m);
    if (!t) return;
    const uint64_t size = board_.TableSize(m);
    // The final file, when present, must hold the same values wherever the
    // probe may ask.
    std::vector<uint8_t> finalBytes;
    TTableFileView view;
    std::string error;
    const fs::path finalPath = TableFolder(root_, gametype_, mtw_) / TableFileName(m);
    bool haveFinal = fs::exists(finalPath) && ReadWholeFile(finalPath, finalBytes, error);
    if (haveFinal && !view.Open(finalBytes, size, mtw_, error)) {
      stats_.ok = false;
      stats_.error = finalPath.string() + ": " + error;
      return;
    }
    std::vector<uint8_t> block(WdlBlockPositions);
    uint64_t decoded = UINT64_MAX;
    const uint8_t never = mtw_ ? 255 : WdlNeverProbed;
    ++stats_.tables;
    for (uint64_t i = 0; i < size && stats_.ok; ++i) {
      TBitBoard64 pos;
      if (!board_.Position(m, i, pos)) continue;
      const int v = t->Get(i, mtw_);
      ++stats_.positions;
      if (v == never || !Consistent(pos, v)) {
        if (stats_.wrong++ == 0) stats_.firstWrong = TableFileName(m) + " index " + std::to_string(i);
      }
      if (!haveFinal || CaptureMask(pos, gametype_) != 0 ||
          (!mtw_ && OpponentCaptureMask(pos, gametype_) != 0))
        continue;
      const uint64_t b = i / view.BlockPositions();
      if (b != decoded) {
        if (!view.DecodeBlock(b, block.data())) {
          stats_.ok = false;
          stats_.error = finalPath.string() + ": damaged block " + std::to_string(b);
          return;
        }
        decoded = b;
      }
      if (block[i % view.BlockPositions()] != v) ++stats_.mismatched;
    }
  }

  fs::path root_;
  int gametype_;
  bool mtw_;
  TEdbBoard board_;
  int shift_;
  TEdbVerifyStats stats_;
  std::unordered_map<uint32_t, std::unique_ptr<TTable>> tables_;
  uint64_t loadedBytes_ = 0;
};

}  // namespace

TEdbVerifyStats VerifyEndgameTables(const fs::path& root, int gametype, int pieces, bool mtw,
                                    const std::function<void(const std::string&)>& progress) {
  if (!HasBitBoardGenerator(gametype)) {
    TEdbVerifyStats s;
    s.ok = false;
    s.error = "no endgame tables for this game type";
    return s;
  }
  TEdbVerifyStats stats = TVerifier(root, gametype, mtw).Run(pieces, progress);
  if (stats.wrong > 0 || stats.mismatched > 0) stats.ok = false;
  return stats;
}

}  // namespace kestrel
