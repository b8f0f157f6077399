// kestrel-cli db backup DB OUT.zip: the three files in one zip archive.
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/maintenance/backup.h"

namespace kestrel::cli {
namespace {

const SubcommandRegistrar registrar("db", "backup", [](CLI::App& db, int& exitCode) {
  struct Args {
    std::string file, zip;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("backup", "Zip the three files of a database");
  cmd->add_option("DB", args->file, "Database file")->required();
  cmd->add_option("OUT", args->zip, "Archive to write (replaced when it exists)")->required();
  cmd->callback([args, &exitCode] {
    exitCode = RunGuarded([&] {
      TKestrelDB d;
      if (!OpenForReading(args->file, d)) return ExitFailure;
      BackupDatabase(d, args->zip);
      std::cout << args->zip << '\n';
      return ExitOk;
    });
  });
});

}  // namespace
}  // namespace kestrel::cli
