// The engine: one object owns a transposition table, the evaluation function
// of the search in progress, the stop flag and the counters, so several
// engines (the two sides of a match) can live side by side.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/bitboard_movegen.h"
#include "engine/endgame_probe.h"
#include "engine/engine_params.h"
#include "engine/evaluation.h"
#include "engine/generation_search.h"
#include "engine/search_listener.h"
#include "engine/search_types.h"
#include "engine/transposition_table.h"
#include "rules/board.h"

namespace kestrel {

// What a root search found.
struct TSearchResult {
  bool hasMove = false;      // false: the position has no legal move
  TMove bestMove;
  int depth = 0;             // the last iteration finished; 0 if none
  int16_t score = 0;         // of the best move, from the side to move's view
  TPV pv;                    // the best line, starting with the best move
  TSearchStats stats;
  bool stopped = false;      // ended by the stop flag or the hard limit
};

// Limits of a root search. Times are centiseconds.
struct TSearchLimits {
  int maxDepth = 49;
  int64_t hardLimit = 100000000;  // a running search stops after this
  int64_t softLimit = 100000000;  // no iteration starts after half of this
  bool singleMove = true;         // search even when only one move is legal
  uint64_t maxNodes = 0;          // Kestrel 4: stop after this many nodes (0: no limit)
};

class TEngine {
 public:
  explicit TEngine(uint64_t hashMegabytes = 16);
  ~TEngine();
  TEngine(const TEngine&) = delete;
  TEngine& operator=(const TEngine&) = delete;

  // AllocateHashTable. Waits for a running search to end. False, with the
  // old table kept, when the memory is not available.
  bool AllocateHashTable(uint64_t megabytes);
  TTranspositionTable& Table() { return table_; }
  const TTranspositionTable& Table() const { return table_; }

  // Threads of a parallel batch, 1..MaxSearchThreads ("ThreadsCount").
  void SetThreadsCount(int threads);
  int ThreadsCount() const { return threads_.load(std::memory_order_relaxed); }
  // Every root move is searched with a full window.
  void SetExtendedAnalysis(bool on) { extendedAnalysis_.store(on, std::memory_order_relaxed); }
  // The endgame databases the search asks; nullptr for none.
  void SetEndgameProber(std::shared_ptr<TEndgameProber> prober);

  // Makes every running search of this engine return as soon as it next
  // checks; callable from any thread. A search start clears it.
  void Stop() { stop_.store(true, std::memory_order_relaxed); }
  bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }

  // The root driver: iterative deepening over the rules core's moves of
  // `board` with `side` to move. Generation as `params.Engine`, except that
  // variants without a bitboard generator always use the older one.
  TSearchResult SearchRoot(const TBoard& board, TDColor side, int gametype, const TSearchLimits& limits,
                           const TEngineParams& params, TSearchListener* listener = nullptr);

  // The common entry of the root driver, on a position reached from the
  // root: `turn` 1 means the second side (Black) is to move. Uses the
  // current evaluation function, so it belongs inside a search (or after
  // PrepareSearch).
  int16_t SearchPosition(const TBoard& board, int alpha, int beta, const TExcludedTables& excluded, int turn,
                         int depth, int ply, uint8_t generation, int gametype, TSearchCounters& counters);

  // For a later generation: makes its searcher and lets it set up its table
  // and evaluation now, off the clock of the first move. Nothing otherwise.
  void PrepareGeneration(int gametype, const TEngineParams& params);

  // Sets the current evaluation function, clears the table, the counters and
  // the stop flag and starts the clock: what a root search does first.
  void PrepareSearch(const TEvalFuncNew& func, int64_t hardLimit);

  // The current generation's node search.
  void AlphaBeta(SearchNode& node, TSearchCounters& counters);
  // The older generation's search on the mailbox board, for `side` to move.
  int16_t AlphaBetaOld(const TNewBoard& board, int alpha, int beta, int gametype, TDColor side, int depth, int ply,
                       TSearchCounters& counters);
  // Searches only forcing moves: at odd plies the captures, or else the
  // moves after which the opponent must capture. Ends where none is left.
  int16_t FindCombination(const TBitBoard64& pos, int alpha, int beta, int gametype, int turn, int ply,
                          TSearchCounters& counters);

  // The line that starts with `first` played in `board` by `side`, read back
  // from the table.
  TPV ReadPV(const TBoard& board, TDColor side, const TMove& first, int gametype) const;

  const TEvalFuncNew& CurrentEvalFunc() const { return *evalFunc_; }
  // Centiseconds since the search began.
  int64_t ElapsedCs() const;

 private:
  int16_t EvaluateLeaf(const TBitBoard64& pos, int ply, int stage, int gametype, TSearchCounters& counters);
  void CheckTime();
  void SearchBatch(const SearchNode& parent, const TBitMoveList& list, const uint8_t* indices, int batch, int depth,
                   int best, int stage, int16_t* values, TSearchCounters& counters);

  // The searcher of `generation` (made when missing) and what it borrows.
  TGenerationContext GenerationContext(uint8_t generation);

  TTranspositionTable table_;
  uint64_t hashMegabytes_;
  // A later generation's searcher, made on its first search.
  std::unique_ptr<TGenerationSearch> generation_;
  uint8_t generationNumber_ = 0;
  std::unique_ptr<TEvalFuncNew> evalFunc_;
  std::shared_ptr<TEndgameProber> prober_;
  // Most pieces the prober's tables answer for the current search; larger
  // positions are not asked about at all.
  std::atomic<int> probePieces_{0};
  std::atomic<bool> stop_{false};
  std::chrono::steady_clock::time_point start_;
  int64_t hardLimit_ = 100000000;
  // Settings the application may change while a search runs.
  std::atomic<int> threads_{1};
  std::atomic<bool> extendedAnalysis_{false};
  std::mutex searchMutex_;  // one search at a time; no reallocation during one
};

// The generation that searches the variant with these settings: later
// generations need a bitboard generator and a registered searcher, the
// current one a bitboard generator; everything else falls to the older one.
uint8_t SearchGeneration(const TEngineParams& params, int gametype);

}  // namespace kestrel
