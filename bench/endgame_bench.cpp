// Endgame databases: probes per second from cached tables, and the search's
// speed with the tables present and without them. The tables (Russian, up
// to four pieces) are generated once into a scratch folder.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

#include "engine/bitboard_movegen.h"
#include "engine/default_eval.h"
#include "engine/endgame/edb_tables.h"
#include "engine/endgame/endgame_cache.h"
#include "engine/engine.h"
#include "engine/tools/edb_generator.h"
#include "formats/fen.h"
#include "rules/game_types.h"

namespace {

using namespace kestrel;
namespace fs = std::filesystem;

const fs::path& Tables() {
  static const fs::path root = [] {
    const fs::path dir = fs::temp_directory_path() / "kestrel-bench-egdb";
    TEdbGenOptions o;
    o.gametype = gtRussian;
    o.root = dir;
    o.threads = 2;
    o.fullPieces = 4;  // resumes: only the first run generates
    GenerateEndgameTables(o);
    o.mtw = true;
    o.fullPieces = 3;
    GenerateEndgameTables(o);
    return dir;
  }();
  return root;
}

// Quiet positions spread over the four-piece WDL tables (ply 9: WDL).
void BM_EndgameProbe(benchmark::State& state) {
  TEndgameCache cache;
  cache.Configure(Tables(), 1024);
  cache.SetGameType(gtRussian);
  const TEdbBoard board(gtRussian);
  std::mt19937_64 random(3);
  std::vector<TBitBoard64> positions;
  const TEdbMaterial materials[] = {{0, 0, 3, 1, 0, 0}, {1, 1, 1, 1, 4, 5}, {2, 0, 1, 1, 5, 0}, {0, 2, 2, 0, 0, 9}};
  for (const auto& m : materials)
    while (positions.size() % 5000 != 0 || positions.size() < 5000 * static_cast<size_t>(&m - materials + 1)) {
      TBitBoard64 pos;
      if (board.Position(m, random() % board.TableSize(m), pos) && CaptureMask(pos, gtRussian) == 0 &&
          OpponentCaptureMask(pos, gtRussian) == 0)
        positions.push_back(pos);
    }
  size_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    int16_t score = 0;
    found += cache.ProbeEDB(positions[i], gtRussian, 9, score, TExcludedTables{});
    i = (i + 1) % positions.size();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["answered"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_EndgameProbe);

// Fixed-depth searches of endgames with more pieces than the tables hold,
// so that most nodes are searched and only some are answered by a probe; arg
// 1: with the tables. "items_per_second" is the nodes per CPU second, the
// figure to compare between the two.
void BM_SearchEndgame(benchmark::State& state) {
  const bool withTables = state.range(0) == 1;
  TEngineParams params;
  params.Engine = EngineNew;
  params.EvalFunc = DefaultEvalFunc(gtRussian);
  const char* fens[] = {"W:W18,22,K5:BK29,24,K32.", "W:W21,22,23,K7:B9,10,12,K28.", "B:W19,21,26,K3:B6,11,13,K30."};
  uint64_t nodes = 0, answers = 0;
  // The tables stay loaded from one search to the next, as in a game.
  auto cache = std::make_shared<TEndgameCache>();
  cache->Configure(Tables(), 1024);
  cache->SetGameType(gtRussian);
  for (auto _ : state) {
    for (const char* text : fens) {
      const auto fen = ReadFEN(text, gtRussian);
      TEngine engine(16);
      if (withTables) engine.SetEndgameProber(cache);
      TSearchLimits limits;
      limits.maxDepth = 13;
      const TSearchResult r = engine.SearchRoot(fen->board, fen->firstMover, gtRussian, limits, params);
      nodes += r.stats.counters.nodes;
      answers += r.stats.counters.edbAnswers;
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(nodes));
  state.counters["nodes"] = static_cast<double>(nodes) / static_cast<double>(state.iterations());
  state.counters["answers"] = static_cast<double>(answers) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SearchEndgame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
