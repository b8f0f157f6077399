// Perft throughput of the engine's bitboard generator against the rules
// core's, from the start positions. Both count capture routes to the same
// position once; "leaves/s" is the number of leaf nodes counted per second.
#include <benchmark/benchmark.h>

#include "engine/bitboard_perft.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "rules/perft.h"

namespace kestrel {
namespace {

void Report(benchmark::State& state, int type, uint64_t leaves) {
  state.SetLabel(std::string(GameTypeNames[type]));
  state.counters["leaves"] = static_cast<double>(leaves);
  state.counters["leaves/s"] =
      benchmark::Counter(static_cast<double>(leaves) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}

void BM_BitBoardPerft(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  const int depth = static_cast<int>(state.range(1));
  uint64_t leaves = 0;
  for (auto _ : state) {
    leaves = BitBoardPerft(InitialPosition(type), TDColor::white, type, depth);
    benchmark::DoNotOptimize(leaves);
  }
  Report(state, type, leaves);
}

void BM_RulesCorePerft(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  const int depth = static_cast<int>(state.range(1));
  SetGameType(type);
  uint64_t leaves = 0;
  for (auto _ : state) {
    leaves = Perft(InitialPosition(type), TDColor::white, type, depth);
    benchmark::DoNotOptimize(leaves);
  }
  Report(state, type, leaves);
}

// Russian, English, Brazilian to depth 8; International to depth 7.
#define KESTREL_PERFT_ARGS ->Args({gtRussian, 8})->Args({gtEnglish, 8})->Args({gtBrazilian, 8})->Args({gtInternational, 7})
BENCHMARK(BM_BitBoardPerft) KESTREL_PERFT_ARGS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RulesCorePerft) KESTREL_PERFT_ARGS->Unit(benchmark::kMillisecond);
#undef KESTREL_PERFT_ARGS

}  // namespace
}  // namespace kestrel
