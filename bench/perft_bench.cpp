// Perft throughput of the rules core's move generator: leaf nodes counted
// per second from the start positions of Russian, English and International,
// capture routes to the same position counted once at every node.
#include <benchmark/benchmark.h>

#include <string>

#include "rules/game_types.h"
#include "rules/perft.h"

namespace kestrel {
namespace {

void BM_RulesPerftFromStart(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  const int depth = static_cast<int>(state.range(1));
  uint64_t leaves = 0;
  for (auto _ : state) {
    leaves = Perft(InitialPosition(type), TDColor::white, type, depth);
    benchmark::DoNotOptimize(leaves);
  }
  state.SetLabel(std::string(GameTypeNames[type]) + " depth " + std::to_string(depth));
  state.counters["leaves"] = static_cast<double>(leaves);
  state.counters["leaves/s"] = benchmark::Counter(static_cast<double>(leaves) * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

BENCHMARK(BM_RulesPerftFromStart)
    ->Args({gtRussian, 9})
    ->Args({gtEnglish, 9})
    ->Args({gtInternational, 8})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace kestrel
