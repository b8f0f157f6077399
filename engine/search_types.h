// The records of a search: a node of the current generation's tree, the
// counters, the principal variation and the root moves it publishes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/bitboard.h"
#include "engine/endgame_probe.h"
#include "rules/move.h"

namespace kestrel {

// A side without moves at ply p scores p + NoMovesScore.
constexpr int NoMovesScore = -2001;
// Worse than any score: a root move that was not searched to an exact score.
constexpr int16_t UnsearchedScore = -32000;
// The deepest ply a node may search its children at.
constexpr int MaxSearchPly = 98;
// Parallel batches hold at most this many moves.
constexpr int MaxSearchThreads = 32;
// Parallel batches are used at plies 2 and 3 of iterations this deep.
constexpr int ParallelMinDepth = 12;

// One node of the current generation's search. The parent fills it, the node
// writes `result`.
struct SearchNode {
  TBitBoard64 position;       // side to move in `w` unless `turn` is set
  int16_t alpha = -2000;
  int16_t beta = 2000;
  uint8_t ply = 1;            // the root's children have ply 2
  uint8_t depth = 0;          // full-width search goes up to this ply
  uint8_t turn = 0;           // 1: the node turns the position over first
  TExcludedTables excluded{};
  uint8_t gametype = 1;
  uint8_t moveIndex = 0;      // 1-based index in the parent's move list
  int16_t result = 0;
};

// Statistics of a search. Each search thread counts for itself; the counts
// are added together when its batch ends.
struct TSearchCounters {
  uint64_t nodes = 0;           // positions searched or evaluated
  uint64_t evaluations = 0;
  uint64_t edbAnswers = 0;      // endgame database answers
  uint64_t threadsStarted = 0;

  TSearchCounters& operator+=(const TSearchCounters& o) {
    nodes += o.nodes;
    evaluations += o.evaluations;
    edbAnswers += o.edbAnswers;
    threadsStarted += o.threadsStarted;
    return *this;
  }
};

struct TSearchStats {
  TSearchCounters counters;
  int64_t elapsedMs = 0;     // since the search began
  int64_t elapsedCs = 1;     // the same in centiseconds, at least 1

  uint64_t NodesPerSecond() const { return counters.nodes * 1000 / static_cast<uint64_t>(elapsedMs > 0 ? elapsedMs : 1); }
};

// A principal variation: up to 100 moves in rules-core form.
struct TPV {
  static constexpr int MaxLength = 100;
  uint8_t Length = 0;
  std::array<TMove, MaxLength + 1> Mvs{};
  // The line ended where a position repeated (shown as "=").
  bool Repeated = false;
  // The position before the first move, so that the text of each move can
  // name one move only; without it the moves show from and to squares.
  bool HasRoot = false;
  TBoard Root;
};

// A legal move of the root position with what the search knows of it.
struct TRootMove {
  TMove move;
  std::string text;                  // the move in full notation
  int16_t score = UnsearchedScore;   // sort key, best first
  int16_t lower = UnsearchedScore;   // score pair; -32000 / 32000 are open bounds
  int16_t upper = 32000;
  TPV pv;
};

}  // namespace kestrel
