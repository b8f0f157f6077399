// kestrel-cli bench: the fixed positions searched to a fixed depth (or, for
// Kestrel 4, a fixed number of nodes). With one thread the node total is a
// signature of the search and the evaluation.
#include <array>
#include <chrono>
#include <iostream>
#include <optional>

#include "cli/bench_positions.h"
#include "cli/command_registry.h"
#include "cli/engine_setup.h"
#include "engine/score_text.h"
#include "formats/fen.h"
#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel::cli {
namespace {

struct TBenchOptions {
  int depth = 0;       // 0: 9, or no limit for the Kestrel 4 positions of a --nodes bench
  uint64_t nodes = 0;  // Kestrel 4: nodes per position
  int threads = 1;
  // Kestrel 3.0 where the variant has it, so that the signature stays that
  // generation's whatever the variants' defaults are.
  int generation = EngineNew;
};

// The asked generation where the variant has it, its default elsewhere.
int GenerationFor(int asked, int gametype) {
  if ((asked == EngineGen2 && !HasGen2Engine(gametype)) || (asked == EngineNew && !HasNewEngine(gametype))) return -1;
  return asked;
}

int RunBench(const TBenchOptions& o) {
  std::array<std::optional<TEngineParams>, GameTypeCount + 1> params;
  TEngine engine(16);
  engine.SetThreadsCount(o.threads);
  TSearchLimits limits;
  limits.maxNodes = o.nodes;
  uint64_t nodes = 0;
  const auto started = std::chrono::steady_clock::now();
  int number = 0;
  for (const TBenchPosition& p : BenchPositions()) {
    ++number;
    std::string error;
    const auto position = ReadFEN(p.fen, p.gametype, &error);
    if (!position) {
      std::cerr << "bench position " << number << ": " << error << "\n";
      return ExitFailure;
    }
    if (!params[p.gametype]) {
      params[p.gametype] = CommandEngineParams(p.gametype, GenerationFor(o.generation, p.gametype), "");
      if (!params[p.gametype]) return ExitFailure;
    }
    // Only Kestrel 4 counts nodes; the other generations' positions keep a depth.
    const bool byNodes = o.nodes > 0 && params[p.gametype]->Engine == EngineGen2;
    limits.maxDepth = o.depth > 0 ? o.depth : byNodes ? MaxSearchPly + 1 : 9;
    const TSearchResult r =
        engine.SearchRoot(position->board, position->firstMover, p.gametype, limits, *params[p.gametype]);
    nodes += r.stats.counters.nodes;
    std::cout << "position " << number << ' ' << GameTypeNames[p.gametype] << " depth " << r.depth << " score "
              << ScoreText(r.score) << " nodes " << r.stats.counters.nodes << " time " << r.stats.elapsedMs
              << " bestmove " << (r.hasMove ? PlainMoveTextAt(r.bestMove, position->board, position->firstMover, p.gametype) : "none") << '\n';
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
                      .count();
  const uint64_t nps = nodes * 1000 / static_cast<uint64_t>(ms > 0 ? ms : 1);
  std::cout << "bench " << nodes << " nodes " << nps << " nps " << ms << " ms" << std::endl;
  return ExitOk;
}

const CommandRegistrar registrar("bench", [](CLI::App& app, int& exitCode) {
  auto options = std::make_shared<TBenchOptions>();
  auto* cmd = app.add_subcommand("bench", "Search the fixed bench positions; last line: bench NODES nodes NPS nps MS ms");
  cmd->add_option("--depth", options->depth, "Iterations up to this depth (default 9)")
      ->check(CLI::Range(1, MaxSearchPly + 1));
  cmd->add_option("--nodes", options->nodes,
                  "Kestrel 4: nodes per position (with no --depth, no depth limit where Kestrel 4 searches)")
      ->check(CLI::Range(uint64_t{1}, uint64_t{1} << 50));
  cmd->add_option("--threads", options->threads, "Threads of a parallel batch (default 1)")
      ->check(CLI::Range(1, MaxSearchThreads));
  cmd->add_option("--generation", options->generation,
                  "Engine generation where the variant has it (elsewhere its default): 1 (Kestrel 3.0, default) or 2 (Kestrel 4)")
      ->check(CLI::Range(1, 2));
  cmd->callback([options, &exitCode] {
    if (options->nodes > 0 && options->generation != EngineGen2) {
      std::cerr << "--nodes belongs to --generation 2\n";
      exitCode = ExitBadInput;
      return;
    }
    exitCode = RunBench(*options);
  });
});

}  // namespace
}  // namespace kestrel::cli
