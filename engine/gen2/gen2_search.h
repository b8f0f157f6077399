// The node search of "Kestrel 4": principal-variation search over bitboard
// positions with a shared transposition table, killer and history move
// ordering, late-move reductions and pruning, a single-move extension and a
// capture quiescence search. One TThreadSearch per search thread; all of
// them share one TSharedSearch.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/bitboard.h"
#include "engine/bitboard_movegen.h"
#include "engine/bitboard_variants.h"
#include "engine/endgame_probe.h"
#include "engine/gen2/gen2_eval.h"
#include "engine/gen2/gen2_search_shape.h"
#include "engine/gen2/gen2_table.h"

namespace kestrel::gen2 {

constexpr int Infinity = 2000;
constexpr int MaxPly = 120;

// A position met again along the searched line scores as a draw: whoever
// repeats it once can repeat it until the game's repetition rule ends it.
constexpr int RepetitionScore = 0;

struct TSharedSearch {
  int gametype = 1;
  TTable* table = nullptr;
  const TEvaluator* eval = nullptr;
  TEndgameProber* prober = nullptr;  // nullptr: no endgame tables
  TExcludedTables excluded{};
  TSearchShape shape;
  std::atomic<bool>* stop = nullptr;  // set: every thread returns at once
  int probePieces = 0;  // most pieces the prober's tables answer
};

// The moves of a node in search order: highest key first, equal keys in the
// generator's order (as a stable sort would give). Only the first move is
// found (by one pass, or given); the rest is sorted when a second move is
// asked for, since most nodes are cut off by their first move.
class TMovePicker {
 public:
  void Add(int index, int32_t key) { keys_[count_++] = int64_t{key} * 256 + (255 - index); }
  // The move at `index` is known to have the highest key (the table move).
  void SetFirst(int index) {
    std::swap(keys_[0], keys_[index]);
    first_ = true;
  }
  // Index in the move list of the k-th move to search (k < the moves added).
  [[gnu::always_inline]] int At(int k) {
    if (!first_) PickFirst();
    if (k > 0 && !sorted_) SortRest();
    return IndexOf(keys_[k]);
  }

 private:
  static int IndexOf(int64_t key) { return 255 - static_cast<int>(key & 255); }
  void PickFirst() {
    int best = 0;
    for (int j = 1; j < count_; ++j)
      if (keys_[j] > keys_[best]) best = j;
    std::swap(keys_[0], keys_[best]);
    first_ = true;
  }
  // Insertion sort, highest first; the keys are unique, so the order is the
  // same whatever the sort.
  void SortRest() {
    for (int i = 2; i < count_; ++i) {
      const int64_t key = keys_[i];
      int j = i;
      for (; j > 1 && keys_[j - 1] < key; --j) keys_[j] = keys_[j - 1];
      keys_[j] = key;
    }
    sorted_ = true;
  }

  std::array<int64_t, MaxMoves> keys_;  // key * 256 + 255 - index: unique, ordered as wanted
  int count_ = 0;
  bool first_ = false;
  bool sorted_ = false;
};

class TThreadSearch {
 public:
  explicit TThreadSearch(const TSharedSearch& shared);

  // Score of `pos` (side to move in `w`) at `ply` searched to `depth`
  // further plies; 0 and meaningless once the stop flag is set.
  // `skip` (1-based, 0 none) leaves that move out: the search of the other
  // moves that decides whether the table move is singular.
  int Search(const TBitBoard64& pos, int alpha, int beta, int depth, int ply, bool pvNode, int skip = 0);
  // Resolves the captures: a side that must capture searches every capture,
  // a side that need not takes the static score.
  int Quiesce(const TBitBoard64& pos, int alpha, int beta, int ply);

  // Clears killers and history (a new search).
  void Reset();
  // The position at ply 1, against which lines are checked for repetitions.
  void SetRoot(const TBitBoard64& root);
  // Before searching a root move: whether it was a king's quiet move (the
  // only kind of move after which a position can come again).
  void SetRootMoveReversible(bool reversible) { reversible_[2] = reversible; }
  // The thread stops the search once it has counted this many nodes (0: no limit).
  void SetNodeLimit(uint64_t nodes) { nodeLimit_ = nodes; }
  uint64_t Nodes() const { return nodes_.load(std::memory_order_relaxed); }
  uint64_t EdbAnswers() const { return edbAnswers_; }
  // The best line found by the last Search at `ply`: positions with the
  // side to move in `w`, each after one more move.
  const std::vector<TBitBoard64>& Line(int ply) const { return lines_[ply]; }
  // Called every few thousand nodes on the thread that owns the clock.
  void SetTimeCheck(bool (*check)(void*), void* arg) {
    timeCheck_ = check;
    timeArg_ = arg;
  }

 private:
  // Search and Quiesce for the rules V; NodeT takes the position's table key
  // when the caller has it (0: not known).
  template <bitgen::TBitVariant V>
  int NodeT(const TBitBoard64& pos, uint64_t key, int alpha, int beta, int depth, int ply, bool pvNode, int skip = 0);
  template <bitgen::TBitVariant V>
  int QuiesceT(const TBitBoard64& pos, int alpha, int beta, int ply, int threats = 0);
  bool Stopped() const { return shared_.stop->load(std::memory_order_relaxed); }
  void CountNode();
  void OrderMoves(const TBitBoard64& pos, const TBitMoveList& list, int count, int ttMove, int ply, bool capture,
                  TMovePicker& picker) const;
  void RewardQuiet(const TBitBoard64& pos, const TBitBoard64& child, int depth, int ply);
  // History 1: the quiet moves searched before the cutoff move lose what it gains.
  void PunishQuiet(const TBitBoard64& pos, const TBitBoard64& child, int depth);
  void SetLine(int ply, const TBitBoard64& child);
  bool Repeats(uint64_t key, int ply) const;

  const TSharedSearch& shared_;
  std::atomic<uint64_t> nodes_{0};
  uint64_t edbAnswers_ = 0;
  std::array<std::array<uint64_t, 2>, MaxPly + 2> killers_{};
  std::array<std::array<int32_t, 64>, 64> history_{};
  // Logarithmic late-move reductions by depth and move number.
  std::array<std::array<int8_t, 64>, 64> reduction_{};
  std::array<std::vector<TBitBoard64>, MaxPly + 2> lines_;
  // Keys of the positions along the current line, and whether the move into
  // each was a king's quiet move.
  std::array<uint64_t, MaxPly + 2> pathKeys_{};
  std::array<bool, MaxPly + 2> reversible_{};
  uint64_t nodeLimit_ = 0;
  bool (*timeCheck_)(void*) = nullptr;
  void* timeArg_ = nullptr;
  int flipShift_ = 0;
  uint64_t boardMask_ = 0;
};

}  // namespace kestrel::gen2
