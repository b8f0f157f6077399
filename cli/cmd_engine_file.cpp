// kestrel-cli engine-file: writes the default engine files, checks an engine
// file, and shows the static evaluation of a position.
//   engine-file defaults --out DIR [--variant V]   DIR/<Variant>/<Variant>.eng
//   engine-file check FILE                         NAME, patterns, parameters
//   engine-file eval --variant V [--fen FEN] [--eval FILE]
// Further subcommands register from files of their own.
#include <filesystem>
#include <iostream>

#include "cli/command_registry.h"
#include "cli/engine_setup.h"
#include "engine/bitboard.h"
#include "engine/default_eval.h"
#include "engine/engine_params.h"
#include "formats/fen.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

namespace fs = std::filesystem;

int WriteDefaults(const std::string& outDir, const std::string& variant) {
  int only = 0;
  if (!variant.empty()) {
    const auto type = ParseGameType(variant);
    if (!type) {
      std::cerr << "unknown variant " << variant << '\n';
      return ExitBadInput;
    }
    only = *type;
  }
  for (int t = 1; t <= GameTypeCount; ++t) {
    if (only != 0 && t != only) continue;
    const fs::path folder = fs::path(outDir) / std::string(GameTypeNames[t]);
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path file = folder / DefaultEngineFileName(t);
    if (const TEngineFileResult r = WriteEngine(file, DefaultEvalFunc(t)); !r) {
      std::cerr << r.message << '\n';
      return ExitFailure;
    }
    std::cout << file.string() << '\n';
  }
  return ExitOk;
}

int Check(const std::string& path) {
  TEvalFuncNew func;
  const TEngineFileResult r = ReadEngine(path, func);
  if (!r) {
    std::cerr << r.message << '\n';
    return ExitBadInput;
  }
  std::cout << "name " << func.Name << '\n'
            << "patterns " << func.Size() << " compiled " << func.RealSize() << '\n'
            << "man " << func.P(0, prManValue) << " king " << func.P(0, prKingValue) << '\n'
            << "stages " << func.P(0, prStageMinCount) << ' ' << func.P(1, prStageMinCount) << ' '
            << func.P(2, prStageMinCount) << ' ' << func.P(3, prStageMinCount) << '\n';
  return ExitOk;
}

int Eval(const std::string& variant, const std::string& fen, const std::string& evalFile) {
  const auto type = BitBoardVariant(variant);
  if (!type) return ExitBadInput;
  TEvalFuncNew func = DefaultEvalFunc(*type);
  if (!evalFile.empty()) {
    if (const TEngineFileResult r = ReadEngine(evalFile, func); !r) {
      std::cerr << r.message << '\n';
      return ExitBadInput;
    }
  }
  TBoard board = InitialPosition(*type);
  TDColor side = TDColor::white;
  if (!fen.empty()) {
    std::string error;
    const auto pos = ReadFEN(fen, *type, &error);
    if (!pos) {
      std::cerr << "bad FEN: " << error << '\n';
      return ExitBadInput;
    }
    board = pos->board;
    side = pos->firstMover;
  }
  TBitBoard64 bb;
  BoardToBit64(board, bb, *type);
  if (side == TDColor::black) FlipBitBoard(bb, *type);
  const int stage = StageOf(bb, func);
  std::cout << "stage " << stage << " eval " << Evaluate(bb, 0, stage, func, *type) << '\n';
  return ExitOk;
}

const CommandRegistrar registrar("engine-file", [](CLI::App& app, int& exitCode) {
  auto* cmd = app.add_subcommand("engine-file", "Default engine files, checking engine files, static evaluation");
  cmd->require_subcommand(1);

  auto* defaults = cmd->add_subcommand("defaults", "Write the default engine file of every variant");
  static std::string outDir, variant;
  defaults->add_option("--out", outDir, "Folder that receives <Variant>/<Variant>.eng")->required();
  defaults->add_option("--variant", variant, "Only this variant");
  defaults->callback([&exitCode] { exitCode = WriteDefaults(outDir, variant); });

  auto* check = cmd->add_subcommand("check", "Read an engine file and describe it");
  static std::string checkPath;
  check->add_option("file", checkPath, "Engine file")->required();
  check->callback([&exitCode] { exitCode = Check(checkPath); });

  auto* eval = cmd->add_subcommand("eval", "Static evaluation of a position for the side to move");
  static std::string evalVariant, fen, evalFile;
  eval->add_option("--variant", evalVariant, "Variant name or number")->required();
  eval->add_option("--fen", fen, "Position (default: the start position)");
  eval->add_option("--eval", evalFile, "Engine file (default: the variant's built-in default)");
  eval->callback([&exitCode] { exitCode = Eval(evalVariant, fen, evalFile); });

  AddRegisteredSubcommands("engine-file", *cmd, exitCode);
});

}  // namespace
}  // namespace kestrel::cli
