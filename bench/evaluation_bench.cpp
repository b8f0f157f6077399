// Static evaluations per second with the default function of a variant, over
// a fixed set of positions reached by random play from the start.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/bitboard_movegen.h"
#include "engine/default_eval.h"
#include "engine/evaluation.h"
#include "engine/gen2/gen2_patterns.h"
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

// Kestrel 4's pattern evaluation of each region family, with weights drawn
// at random (every weight read counts the same as a trained one's).
void BM_PatternEvaluate(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0)), family = static_cast<int>(state.range(1));
  gen2::TPatternWeights w = gen2::TPatternWeights::Plain(type, family);
  std::mt19937 rng(5);
  for (auto& phase : w.region)
    for (int16_t& v : phase) v = static_cast<int16_t>(static_cast<int>(rng() % 101) - 50);
  for (auto& phase : w.term)
    for (int16_t& v : phase) v = static_cast<int16_t>(static_cast<int>(rng() % 101) + 1);
  const gen2::TPatternEval eval(w);
  const std::vector<TBitBoard64> positions = PlayedPositions(type, 4096);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(eval(positions[i++ & 4095]));
  state.SetLabel(std::string(GameTypeNames[type]) + " " + std::string(gen2::FamilyName(family)) +
                 (gen2::ExtractsWithPext() ? " pext" : " shifts"));
  state.counters["evals/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PatternEvaluate)->ArgsProduct({{gtRussian, gtInternational}, {0, 1, 2}});

}  // namespace
}  // namespace kestrel
