// kestrel-cli db repair-names DB: placeholder names for indexes beyond the lists.
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/name_repair.h"

namespace kestrel::cli {
namespace {

const SubcommandRegistrar registrar("db", "repair-names", [](CLI::App& db, int& exitCode) {
  auto file = std::make_shared<std::string>();
  auto* cmd = db.add_subcommand("repair-names", "Add placeholder names so that every game shows a name");
  cmd->add_option("DB", *file, "Database file")->required();
  cmd->callback([file, &exitCode] {
    exitCode = RunGuarded([&] {
      TKestrelDB d;
      if (!OpenForWriting(*file, d)) return ExitFailure;
      const TNameRepairReport r = RepairNameLists(d);
      std::cout << "players added: " << r.playersAdded << "\ntournaments added: " << r.tournamentsAdded
                << "\nsites added: " << r.sitesAdded << '\n';
      for (const std::string& m : r.messages) std::cout << m << '\n';
      return ExitOk;
    });
  });
});

}  // namespace
}  // namespace kestrel::cli
