// kestrel-cli db replace DB N FILE.pdn: the first game of a PDN file takes
// the place of game N. The old game stays readable until the new one is
// stored whole.
#include <fstream>
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "database/db_error.h"
#include "database/game_io.h"
#include "formats/pdn_game_reader.h"
#include "formats/pdn_source.h"

namespace kestrel::cli {
namespace {

int Replace(const std::string& dbPath, int n, const std::string& pdnPath) {
  std::ifstream in(pdnPath, std::ios::binary);
  TPdnSource source(in);
  TPdnRawGame raw;
  if (!in || !source.Next(raw)) {
    std::cerr << pdnPath << ": no game in the file\n";
    return ExitBadInput;
  }
  TKestrelDB db;
  if (!OpenForWriting(dbPath, db)) return ExitFailure;
  if (n < 1 || n > db.DBSize) {
    std::cerr << dbPath << " has no game " << n << " (it has " << db.DBSize << ")\n";
    return ExitBadInput;
  }
  TGame game;
  const TPdnGameReport report = ReadPdnGame(raw, 0, game);
  if (!report.complete) std::cerr << "the game is damaged: " << report.reason << '\n';
  try {
    WriteDBGame(game, n, db, true);
    CloseDatabase(db);
  } catch (const TDatabaseError& e) {
    std::cerr << e.what() << '\n';
    return ExitFailure;
  }
  std::cout << "game " << n << " replaced\n";
  return report.complete ? ExitOk : ExitFailure;
}

const SubcommandRegistrar registrar("db", "replace", [](CLI::App& db, int& exitCode) {
  static std::string dbPath, pdnPath;
  static int n = 0;
  auto* cmd = db.add_subcommand("replace", "Replace game N by the first game of a PDN file");
  cmd->add_option("DB", dbPath, "Database file")->required();
  cmd->add_option("N", n, "Game number")->required();
  cmd->add_option("FILE", pdnPath, "PDN file")->required()->check(CLI::ExistingFile);
  cmd->callback([&exitCode] { exitCode = Replace(dbPath, n, pdnPath); });
});

}  // namespace
}  // namespace kestrel::cli
