// A batch of moves searched side by side, one thread per move, all with the
// window the parent had before the batch.
#include <array>
#include <system_error>
#include <thread>

#include "engine/bitboard.h"
#include "engine/engine.h"

namespace kestrel {

void TEngine::SearchBatch(const SearchNode& parent, const TBitMoveList& list, const uint8_t* indices, int batch,
                          int depth, int best, int stage, int16_t* values, TSearchCounters& counters) {
  const int gametype = parent.gametype;
  const int ply = parent.ply;
  std::array<SearchNode, MaxSearchThreads> children;
  std::array<bool, MaxSearchThreads> searched{};
  std::array<TSearchCounters, MaxSearchThreads> childCounters{};
  std::array<std::thread, MaxSearchThreads> threads;

  for (int j = 0; j < batch; ++j) {
    const int index = indices[j];
    TBitBoard64 childPos = list[index - 1];
    FlipBitBoard(childPos, gametype);
    if ((ply < depth || CaptureMask(childPos, gametype) != 0) && ply <= MaxSearchPly) {
      SearchNode& child = children[j];
      child.position = childPos;
      child.alpha = static_cast<int16_t>(-parent.beta);
      child.beta = static_cast<int16_t>(-best);
      child.ply = static_cast<uint8_t>(ply + 1);
      child.depth = static_cast<uint8_t>(depth);
      child.turn = 0;
      child.excluded = parent.excluded;
      child.gametype = parent.gametype;
      child.moveIndex = static_cast<uint8_t>(index);
      searched[j] = true;
    } else {
      values[j] = static_cast<int16_t>(-EvaluateLeaf(childPos, ply + 1, stage, gametype, counters));
    }
  }

  // The first searched move runs here; the others each on a thread of
  // their own, or here too when no thread can be had.
  int here = -1;
  for (int j = 0; j < batch; ++j) {
    if (!searched[j]) continue;
    if (here < 0) {
      here = j;
      continue;
    }
    try {
      threads[j] = std::thread([this, &children, &childCounters, j] { AlphaBeta(children[j], childCounters[j]); });
      ++counters.threadsStarted;
    } catch (const std::system_error&) {
      AlphaBeta(children[j], childCounters[j]);
    }
  }
  if (here >= 0) AlphaBeta(children[here], childCounters[here]);
  for (int j = 0; j < batch; ++j) {
    if (threads[j].joinable()) threads[j].join();
    if (searched[j]) {
      counters += childCounters[j];
      values[j] = static_cast<int16_t>(-children[j].result);
    }
  }
}

}  // namespace kestrel
