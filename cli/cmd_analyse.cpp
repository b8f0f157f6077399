// kestrel-cli analyse: the root search on one position, one line per
// finished iteration and the best move at the end.
#include <iostream>
#include <optional>
#include <string>

#include "cli/command_registry.h"
#include "cli/engine_setup.h"
#include "engine/endgame/endgame_cache.h"
#include "engine/engine.h"
#include "engine/gen2/gen2_patterns.h"
#include "engine/gen2/gen2_search_shape.h"
#include "engine/system_memory.h"
#include "formats/fen.h"
#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel::cli {
namespace {

struct TAnalyseOptions {
  std::string variant;
  std::string fen;
  int depth = 0;
  int64_t timeMs = 0;
  uint64_t nodes = 0;
  int threads = 1;
  uint64_t hashMb = 16;
  int engine = -1;
  std::string evalFile;
  std::string weights;
  std::string search;  // Kestrel 4 search settings
  std::string egdb;  // endgame folder; empty: no tables
};

class TPrintingListener : public TSearchListener {
 public:
  TPrintingListener(int gametype, TDColor side) : gametype_(gametype), side_(side) {}
  // The same move texts as the bestmove line.
  void IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats& stats) override {
    PrintIteration(std::cout, depth, moves[0], stats, gametype_, side_);
  }

 private:
  int gametype_;
  TDColor side_;
};

int RunAnalyse(const TAnalyseOptions& o) {
  const auto gametype = ParseGameType(o.variant);
  if (!gametype) {
    std::cerr << "unknown variant " << o.variant << "\n";
    return ExitBadInput;
  }
  if (o.depth <= 0 && o.timeMs <= 0 && o.nodes == 0) {
    std::cerr << "give --depth, --time or --nodes\n";
    return ExitBadInput;
  }
  const uint64_t memoryMb = GetMemoryTotalPhys() >> 20;
  if (memoryMb > 0 && o.hashMb > memoryMb / 2) {
    std::cerr << "--hash is limited to half of the memory, " << memoryMb / 2 << " MB\n";
    return ExitBadInput;
  }
  TBoard board = InitialPosition(*gametype);
  TDColor side = TDColor::white;
  if (!o.fen.empty()) {
    std::string error;
    const auto position = ReadFEN(o.fen, *gametype, &error);
    if (!position) {
      std::cerr << "bad FEN: " << error << "\n";
      return ExitBadInput;
    }
    board = position->board;
    side = position->firstMover;
  }
  auto params = CommandEngineParams(*gametype, o.engine, o.evalFile);
  if (!params) return ExitBadInput;

  if (o.nodes > 0 && params->Engine != EngineGen2) {
    std::cerr << "--nodes belongs to --generation 2\n";
    return ExitBadInput;
  }
  if (!o.weights.empty()) {
    TEngineParams& p = *params;
    if (p.Engine != EngineGen2) {
      std::cerr << "--weights belongs to --generation 2\n";
      return ExitBadInput;
    }
    gen2::TPatternWeights check;
    std::string error;
    if (!gen2::ReadWeights(o.weights, check, error) || check.gametype != *gametype) {
      std::cerr << (error.empty() ? "the weights are for another variant" : error) << "\n";
      return ExitBadInput;
    }
    p.PatternWeights = o.weights;
  }
  if (!o.search.empty()) {
    gen2::TSearchShape check;
    std::string error;
    if (params->Engine != EngineGen2) {
      std::cerr << "--search belongs to --generation 2\n";
      return ExitBadInput;
    }
    if (!gen2::ParseSearchShape(o.search, check, error)) {
      std::cerr << error << "\n";
      return ExitBadInput;
    }
    params->SearchSettings = o.search;
  }
  TEngine engine(0);
  if (!AllocateHash(engine, o.hashMb)) return ExitFailure;
  engine.SetThreadsCount(o.threads);
  if (!o.egdb.empty()) {
    auto tables = std::make_shared<TEndgameCache>();
    tables->Configure(o.egdb, 512);
    tables->SetGameType(*gametype);
    tables->SetMessageSink([](const std::string& m) { std::cerr << m << "\n"; });
    engine.SetEndgameProber(tables);
  }
  TSearchLimits limits;
  limits.maxDepth = o.depth > 0 ? o.depth : MaxSearchPly + 1;
  limits.maxNodes = o.nodes;
  if (o.timeMs > 0) limits.hardLimit = limits.softLimit = std::max<int64_t>(1, o.timeMs / 10);
  // Kestrel 4's table and weights are made ready before the clock starts,
  // as the play controller does: a short --time would otherwise go on them.
  engine.PrepareGeneration(*gametype, *params);
  TPrintingListener listener(*gametype, side);
  const TSearchResult result = engine.SearchRoot(board, side, *gametype, limits, *params, &listener);
  std::cout << "bestmove " << (result.hasMove ? PlainMoveTextAt(result.bestMove, board, side, *gametype) : "none")
            << std::endl;
  return ExitOk;
}

const CommandRegistrar registrar("analyse", [](CLI::App& app, int& exitCode) {
  auto options = std::make_shared<TAnalyseOptions>();
  auto* cmd = app.add_subcommand("analyse", "Search a position: one line per iteration, then the best move");
  cmd->add_option("--variant", options->variant, "Game type: name or number 1..12")->required();
  cmd->add_option("--fen", options->fen, "Position to search (default: the start position)");
  auto* depth = cmd->add_option("--depth", options->depth, "Iterations up to this depth (5, 7, 9, ...)")
                    ->check(CLI::Range(1, MaxSearchPly + 1));
  auto* time = cmd->add_option("--time", options->timeMs, "Search time in milliseconds")
                   ->check(CLI::Range(int64_t{1}, int64_t{1} << 40));
  depth->excludes(time);
  cmd->add_option("--nodes", options->nodes, "Kestrel 4: stop after this many nodes (the same answer every run)")
      ->check(CLI::Range(uint64_t{1}, uint64_t{1} << 50));
  cmd->add_option("--threads", options->threads, "Threads of a parallel batch")
      ->check(CLI::Range(1, MaxSearchThreads));
  cmd->add_option("--hash", options->hashMb, "Transposition table size in MB")->check(CLI::Range(0, 1 << 20));
  cmd->add_option("--engine,--generation", options->engine,
                  "Engine generation: 0 (Kestrel 2.11), 1 (Kestrel 3.0) or 2 (Kestrel 4)")
      ->check(CLI::Range(0, 2));
  cmd->add_option("--weights", options->weights, "Kestrel 4 pattern weights file (default: the variant's own)");
  cmd->add_option("--search", options->search,
                  "Kestrel 4 search settings KEY=VALUE,... (" + gen2::SearchShapeKeys() + ")");
  cmd->add_option("--eval", options->evalFile, "Engine parameter file (default: the variant's own)");
  cmd->add_option("--egdb", options->egdb, "Endgame database folder (one folder per variant below it)");
  cmd->callback([options, &exitCode] { exitCode = RunAnalyse(*options); });
});

}  // namespace
}  // namespace kestrel::cli
