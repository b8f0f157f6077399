// kestrel-cli db append DB FILE.pdn: every game of a PDN file added at the
// end of an existing database. Prints the number of games and of damaged
// games with the first reason; exit 1 when a game was damaged.
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "database/db_error.h"
#include "formats/pdn_import.h"

namespace kestrel::cli {
namespace {

int Append(const std::string& dbPath, const std::string& pdnPath) {
  TKestrelDB db;
  if (!OpenForWriting(dbPath, db)) return ExitFailure;
  try {
    const TPdnImportSummary s = ImportPDN(pdnPath, db, {});
    CloseDatabase(db);
    std::cout << s.games << " games appended, " << s.damaged << " damaged\n";
    if (!s.notes.empty())
      std::cout << "first damaged: game " << s.notes.front().game << " (line " << s.notes.front().line
                << "): " << s.notes.front().reason << '\n';
    return s.damaged == 0 ? ExitOk : ExitFailure;
  } catch (const TPdnFileError& e) {
    std::cerr << e.what() << '\n';
  } catch (const TDatabaseError& e) {
    std::cerr << e.what() << '\n';
  }
  return ExitFailure;
}

const SubcommandRegistrar registrar("db", "append", [](CLI::App& db, int& exitCode) {
  static std::string dbPath, pdnPath;
  auto* cmd = db.add_subcommand("append", "Add every game of a PDN file at the end of a database");
  cmd->add_option("DB", dbPath, "Database file")->required();
  cmd->add_option("FILE", pdnPath, "PDN file")->required()->check(CLI::ExistingFile);
  cmd->callback([&exitCode] { exitCode = Append(dbPath, pdnPath); });
});

}  // namespace
}  // namespace kestrel::cli
