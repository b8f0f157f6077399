// kestrel-cli db cleanup DB [--full]: removes the games marked deleted; with
// --full the three files are also rebuilt without holes or unused names.
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/maintenance/full_cleanup.h"

namespace kestrel::cli {
namespace {

int CleanUp(const std::string& file, bool full) {
  TKestrelDB db;
  if (!OpenForWriting(file, db)) return ExitFailure;
  if (full) {
    const TFullCleanUpReport r = FullCleanUp(db, NoProgress());
    PrintRenumbering(r.renumbering);
    if (r.unreadable > 0) std::cout << r.unreadable << " unreadable games were kept as empty games\n";
  } else {
    PrintRenumbering(QuickCleanUp(db));
  }
  std::cout << db.DBSize << " games\n";
  return ExitOk;
}

const SubcommandRegistrar registrar("db", "cleanup", [](CLI::App& db, int& exitCode) {
  struct Args {
    std::string file;
    bool full = false;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("cleanup", "Remove the games marked deleted (--full: rebuild all three files)");
  cmd->add_option("DB", args->file, "Database file")->required();
  cmd->add_flag("--full", args->full, "Also rebuild the main and names files");
  cmd->callback([args, &exitCode] { exitCode = RunGuarded([&] { return CleanUp(args->file, args->full); }); });
});

}  // namespace
}  // namespace kestrel::cli
