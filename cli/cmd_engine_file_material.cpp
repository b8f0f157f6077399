// kestrel-cli engine-file material --variant V --out FILE: the material-only
// function of a variant.
#include <iostream>

#include "app/match/material_eval.h"
#include "cli/command_registry.h"
#include "cli/engine_setup.h"
#include "engine/engine_params.h"

namespace kestrel::cli {
namespace {

int WriteMaterial(const std::string& variant, const std::string& out) {
  const auto type = BitBoardVariant(variant);
  if (!type) return ExitBadInput;
  if (const TEngineFileResult r = WriteEngine(out, MaterialEvalFunc(*type)); !r) {
    std::cerr << r.message << '\n';
    return ExitFailure;
  }
  std::cout << out << '\n';
  return ExitOk;
}

const SubcommandRegistrar registrar("engine-file", "material", [](CLI::App& parent, int& exitCode) {
  auto* cmd = parent.add_subcommand("material", "Write the material-only function of a variant");
  static std::string variant, out;
  cmd->add_option("--variant", variant, "Variant name or number")->required();
  cmd->add_option("--out", out, "Engine file to write")->required();
  cmd->callback([&exitCode] { exitCode = WriteMaterial(variant, out); });
});

}  // namespace
}  // namespace kestrel::cli
