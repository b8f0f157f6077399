// kestrel-cli db ballot --variant V --kind 2move|full [--folder DIR] [--seed S]:
// a ballot drawn as "New (ballot)" draws it, printed as PDN.
#include <iostream>
#include <random>

#include "cli/command_registry.h"
#include "database/ballots.h"
#include "formats/pdn_writer.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

int Ballot(const std::string& variant, const std::string& kind, std::string folder, unsigned seed) {
  const auto type = ParseGameType(variant);
  if (!type) {
    std::cerr << "unknown variant " << variant << '\n';
    return ExitBadInput;
  }
  if (kind != "2move" && kind != "full") {
    std::cerr << "--kind takes 2move or full\n";
    return ExitBadInput;
  }
  if (!folder.empty() && folder.back() != '/') folder += '/';
  std::mt19937 rng(seed != 0 ? seed : std::random_device{}());
  TGame game;
  std::string message;
  if (!DrawBallot(folder, *type, kind == "full" ? TBallotKind::full : TBallotKind::twoMove, rng, game, &message)) {
    std::cerr << (message.empty() ? std::string(GameTypeNames[*type]) + " has no ballots" : message) << '\n';
    return ExitFailure;
  }
  std::cout << PdnTagSection(game, {}) << PdnMoveSection(game, {}) << '\n';
  return ExitOk;
}

const SubcommandRegistrar registrar("db", "ballot", [](CLI::App& db, int& exitCode) {
  static std::string variant, kind = "full", folder = "Ballots";
  static unsigned seed = 0;
  auto* cmd = db.add_subcommand("ballot", "Draw a ballot and print it as PDN");
  cmd->add_option("--variant", variant, "Game type, e.g. Russian or English")->required();
  cmd->add_option("--kind", kind, "2move or full");
  cmd->add_option("--folder", folder, "Folder of the ballot databases")->capture_default_str();
  cmd->add_option("--seed", seed, "Seed of the draw; 0 draws a new one each time");
  cmd->callback([&exitCode] { exitCode = Ballot(variant, kind, folder, seed); });
});

}  // namespace
}  // namespace kestrel::cli
