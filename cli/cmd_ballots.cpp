// kestrel-cli ballots build OUT_DIR [--lists FILE]: the ballot databases
// made from the lists kept as text (by default OUT_DIR/ballot_lists.txt).
// The same lists always give the same bytes.
#include <fstream>
#include <iostream>
#include <iterator>

#include "cli/command_registry.h"
#include "database/db_error.h"
#include "formats/ballot_lists.h"

namespace kestrel::cli {
namespace {

int Build(const std::string& out, std::string lists) {
  if (lists.empty()) lists = out + "/ballot_lists.txt";
  std::ifstream in(lists, std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << lists << '\n';
    return ExitFailure;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> errors;
  const std::vector<TBallotFile> files = ParseBallotLists(text, errors);
  int written = 0;
  try {
    written = BuildBallotDatabases(files, out, errors);
  } catch (const TDatabaseError& e) {
    std::cerr << e.what() << '\n';
    return ExitFailure;
  }
  for (const TBallotFile& f : files) std::cout << f.name << ": " << f.lines.size() << " ballots\n";
  for (const std::string& e : errors) std::cerr << e << '\n';
  std::cout << written << " games written\n";
  return errors.empty() ? ExitOk : ExitFailure;
}

const CommandRegistrar registrar("ballots", [](CLI::App& app, int& exitCode) {
  auto* ballots = app.add_subcommand("ballots", "Ballot databases");
  ballots->require_subcommand(1);
  static std::string out, lists;
  auto* build = ballots->add_subcommand("build", "Make 3move.abd, 2move.abd and fly.abd from the ballot lists");
  build->add_option("OUT_DIR", out, "Folder of the databases")->required()->check(CLI::ExistingDirectory);
  build->add_option("--lists", lists, "The lists (default OUT_DIR/ballot_lists.txt)");
  build->callback([&exitCode] { exitCode = Build(out, lists); });
});

}  // namespace
}  // namespace kestrel::cli
