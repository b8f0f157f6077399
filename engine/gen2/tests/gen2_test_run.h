// What a direct call of TKestrel4::SearchRoot needs beside the engine: a
// stop flag, no endgame tables, a small table.
#pragma once

#include <atomic>

#include "engine/endgame_probe.h"
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
};

}  // namespace kestrel::gen2
