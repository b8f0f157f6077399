// Static evaluations per second with the default function of a variant, over
// a fixed set of positions reached by random play from the start.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/bitboard_movegen.h"
#include "engine/default_eval.h"
#include "engine/evaluation.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

std::vector<TBitBoard64> PlayedPositions(int type, int count) {
  std::mt19937 rng(77);
  std::vector<TBitBoard64> out;
  while (static_cast<int>(out.size()) < count) {
    TBitBoard64 pos;
    BoardToBit64(InitialPosition(type), pos, type);
    for (int ply = 0; ply < 80 && static_cast<int>(out.size()) < count; ++ply) {
      TBitMoveList list;
      uint8_t n = 0;
      GenerateMoves(pos, list, n, type);
      if (n == 0) break;
      pos = list[rng() % n];
      FlipBitBoard(pos, type);
      out.push_back(pos);
    }
  }
  return out;
}

void BM_Evaluate(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  const TEvalFuncNew func = DefaultEvalFunc(type);
  const std::vector<TBitBoard64> positions = PlayedPositions(type, 4096);
  size_t i = 0;
  for (auto _ : state) {
    const TBitBoard64& pos = positions[i++ & 4095];
    benchmark::DoNotOptimize(Evaluate(pos, 5, StageOf(pos, func), func, type));
  }
  state.SetLabel(std::string(GameTypeNames[type]));
  state.counters["evals/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Evaluate)->Arg(gtRussian)->Arg(gtEnglish)->Arg(gtInternational)->Arg(gtSpantsiretti);

}  // namespace
}  // namespace kestrel
