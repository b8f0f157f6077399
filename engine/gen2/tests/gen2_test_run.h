// What a direct call of TKestrel4::SearchRoot needs beside the engine: a
// stop flag, no endgame tables, a small table.
#pragma once

#include <atomic>

#include "engine/endgame_probe.h"
#include "engine/gen2/gen2_engine.h"
#include "engine/generation_search.h"

namespace kestrel::gen2 {

struct TRun {
  std::atomic<bool> stop{false};
  TNullEndgameProber prober;
  TGenerationContext Context(int threads = 1) {
    TGenerationContext c;
    c.stop = &stop;
    c.threads = threads;
    c.hashMegabytes = 4;
    c.prober = &prober;
    return c;
  }
  // A fixed-depth search of `engine`, as a caller without a listener makes it.
  TSearchResult ToDepth(TKestrel4& engine, const TBoard& board, TDColor side, int type, int depth,
                        const TEngineParams& params, int threads = 1) {
    TSearchLimits limits;
    limits.maxDepth = depth;
    TSearchListener silent;
    return engine.SearchRoot(board, side, type, limits, params, silent, Context(threads));
  }
};

}  // namespace kestrel::gen2
