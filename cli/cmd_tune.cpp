// kestrel-cli tune: fits an engine file's weights to the results of
// self-play games at a fixed depth and writes the tuned file, named after
// the run, and the run's row in the tuning record.
//   tune --variant V [--engine BASE.eng (default: the built-in function)] [--games N] [--depth D] [--seed S]
//        [--epochs E] [--opening-plies P] [--concurrency K] [--name RUN]
//        [--out DIR] [--record FILE] [--hold-kings] [--score-weight W] [--l2 L]
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/settings/program_folder.h"
#include "app/tuning/tuning_run.h"
#include "cli/command_registry.h"
#include "cli/engine_setup.h"
#include "cli/tune_patterns.h"
#include "engine/bitboard.h"
#include "engine/default_eval.h"
#include "engine/engine_params.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

namespace fs = std::filesystem;

struct TTuneArgs {
  std::string variant;
  std::string engine;
  int games = 2000;
  int depth = 4;
  uint64_t seed = 1;
  int epochs = 300;
  int openingPlies = 6;
  int concurrency = 1;
  std::string name;
  std::string out;
  std::string record;
  bool holdKings = false;
  double scoreWeight = 0;
  double l2 = TTuneSettings{}.l2;
  int generation = 1;
  TPatternTuneArgs patterns;  // generation 2
};

int RunTune(const TTuneArgs& a) {
  const auto type = ParseGameType(a.variant);
  if (!type) {
    std::cerr << "unknown variant " << a.variant << '\n';
    return ExitBadInput;
  }
  if (!HasBitBoardForm(*type)) {
    std::cerr << GameTypeNames[*type] << " has no bitboard evaluation to tune\n";
    return ExitBadInput;
  }
  if (a.games < 2 || a.depth < 1 || a.depth > 20 || a.epochs < 0 || a.openingPlies < 0 || !(a.scoreWeight >= 0) ||
      a.scoreWeight > 1 || !(a.l2 >= 0)) {
    std::cerr << "--games at least 2, --depth 1 to 20, --epochs and --opening-plies not negative, "
                 "--score-weight 0 to 1, --l2 not negative\n";
    return ExitBadInput;
  }
  std::string error;
  TTuneSettings s;
  // Without --engine the run starts from the built-in function, not from
  // the shipped file (which may itself be a tuned one): the recorded command
  // then makes the same file again whatever is installed.
  s.base = DefaultEvalFunc(*type);
  if (!a.engine.empty()) {
    const auto params = VariantEngineParams(*type, EngineNew, a.engine, error);
    if (!params) {
      std::cerr << error << '\n';
      return ExitBadInput;
    }
    s.base = params->EvalFunc;
  }
  s.play.gametype = *type;
  s.play.games = a.games;
  s.play.depth = a.depth;
  s.play.seed = a.seed;
  s.play.openingPlies = a.openingPlies;
  s.play.concurrency = std::max(a.concurrency, 1);
  s.epochs = a.epochs;
  s.holdKings = a.holdKings;
  s.scoreWeight = a.scoreWeight;
  s.l2 = a.l2;
  s.runName = a.name.empty() ? DefaultRunName(s.play) : a.name;
  const std::string baseName = a.engine.empty() ? "built-in" : fs::path(a.engine).filename().string();

  TTuneOutcome r = RunTuning(s, [](const std::string& line) { std::cerr << line << std::endl; });
  if (r.positions == 0) {
    std::cerr << "no positions to fit: the games ended without results\n";
    return ExitFailure;
  }
  const fs::path folder = a.out.empty() ? EngineFolder(ProgramFolder(), *type) : fs::path(a.out);
  const fs::path file = folder / TunedFileName(*type, s.runName);
  // The function carries its file's name, so that a copy installed as the
  // variant's default still says which run made it.
  r.tuned.Name = file.stem().string();
  if (const TEngineFileResult w = WriteEngine(file, r.tuned); !w) {
    std::cerr << "cannot write " << file.string() << ": " << w.message << '\n';
    return ExitFailure;
  }
  std::printf("games %d (%d decisive)  positions %zu  k %.6f  loss %.6f -> %.6f\n", r.games, r.decisive,
              r.positions, r.k, r.lossBefore, r.lossAfter);
  const std::string hash = ContentHash(EngineFileText(r.tuned));
  std::cout << "wrote " << file.string() << "  hash " << hash << '\n';
  if (!a.record.empty()) {
    TTuningRecord rec;
    rec.file = file.filename().string();
    rec.variant = GameTypeNames[*type];
    rec.base = baseName;
    rec.seed = a.seed;
    rec.games = a.games;
    rec.depth = a.depth;
    rec.epochs = a.epochs;
    rec.hash = hash;
    rec.command = "kestrel-cli tune --variant " + std::string(GameTypeNames[*type]) +
                  (a.engine.empty() ? "" : " --engine " + baseName) + " --games " + std::to_string(a.games) +
                  " --depth " + std::to_string(a.depth) + " --seed " + std::to_string(a.seed) + " --epochs " +
                  std::to_string(a.epochs) + " --opening-plies " + std::to_string(a.openingPlies) +
                  (a.holdKings ? " --hold-kings" : "") + (a.scoreWeight > 0 ? " --score-weight " + WeightText(a.scoreWeight) : "") +
                  (a.l2 != TTuneSettings{}.l2 ? " --l2 " + WeightText(a.l2) : "") +
                  (a.name.empty() ? "" : " --name " + a.name);
    if (!AddToRecord(a.record, rec, error)) {
      std::cerr << "cannot write " << a.record << ": " << error << '\n';
      return ExitFailure;
    }
    std::cout << "recorded in " << a.record << '\n';
  }
  return ExitOk;
}

const CommandRegistrar registrar("tune", [](CLI::App& app, int& exitCode) {
  auto* cmd = app.add_subcommand("tune", "Fit an engine file's weights to self-play results");
  static TTuneArgs a;
  cmd->add_option("--variant", a.variant, "Variant name or number")->required();
  cmd->add_option("--engine", a.engine, "Engine file to start from (default: the variant's built-in function)");
  cmd->add_option("--games", a.games, "Self-play games");
  cmd->add_option("--depth", a.depth, "Fixed depth of the self-play searches");
  cmd->add_option("--seed", a.seed, "Seed of the random openings");
  cmd->add_option("--epochs", a.epochs, "Passes of the fit");
  cmd->add_option("--opening-plies", a.openingPlies, "Random plies before the engines play");
  cmd->add_option("--concurrency", a.concurrency, "Games played at once (the result does not depend on it)");
  cmd->add_option("--name", a.name, "Name of the run (default s<seed>-g<games>-d<depth>)");
  cmd->add_option("--out", a.out, "Folder of the tuned file (default: the variant's engine folder)");
  cmd->add_option("--record", a.record, "Tuning record that receives the run's row");
  cmd->add_flag("--hold-kings", a.holdKings, "Keep the king values of the base function");
  cmd->add_option("--score-weight", a.scoreWeight,
                  "Share of each target taken from the game's search score of the position (0: results only)");
  // The fit's curvature grows with k squared: variants whose results the
  // evaluation predicts weakly (small k) want a weaker pull.
  cmd->add_option("--l2", a.l2, "Pull of every weight towards its starting value");
  cmd->add_option("--generation", a.generation,
                  "1: an engine file of Kestrel 3.0 (default); 2: the pattern weights of Kestrel 4")
      ->check(CLI::Range(1, 2));
  AddPatternTuneOptions(cmd, a.patterns);
  cmd->callback([cmd, &exitCode] {
    if (a.generation != 2) {
      exitCode = RunTune(a);
      return;
    }
    TPatternTuneArgs p = a.patterns;
    p.variant = a.variant;
    p.games = a.games;
    p.depth = a.depth;
    p.seed = a.seed;
    p.openingPlies = a.openingPlies;
    p.concurrency = a.concurrency;
    // Minibatch passes: far fewer than the full-batch fit of engine files needs.
    if (cmd->count("--epochs") > 0) p.epochs = a.epochs;
    p.scoreWeight = a.scoreWeight;
    if (cmd->count("--l2") > 0) p.l2 = a.l2;
    exitCode = RunPatternTune(p);
  });
});

}  // namespace
}  // namespace kestrel::cli
