// kestrel-cli db delete|undelete DB RANGE: sets or clears the deleted mark.
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/maintenance/deleted_marks.h"

namespace kestrel::cli {
namespace {

int Mark(const std::string& file, const std::string& range, bool deleted) {
  TKestrelDB db;
  if (!OpenForWriting(file, db)) return ExitFailure;
  const auto games = ParseGameRange(range, db.DBSize);
  if (!games) return ExitBadInput;
  for (const int32_t n : *games) SetDeletedMark(db, n, deleted);
  std::cout << games->size() << (deleted ? " games marked deleted\n" : " games no longer marked deleted\n");
  return ExitOk;
}

void Add(CLI::App& db, int& exitCode, const char* name, bool deleted) {
  struct Args {
    std::string file, range;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = db.add_subcommand(name, deleted ? "Mark games deleted (a clean-up removes them)"
                                              : "Clear the deleted mark of games");
  cmd->add_option("DB", args->file, "Database file")->required();
  cmd->add_option("RANGE", args->range, "Games: all, N, N-M, or a comma-separated list")->required();
  cmd->callback([args, &exitCode, deleted] {
    exitCode = RunGuarded([&] { return Mark(args->file, args->range, deleted); });
  });
}

const SubcommandRegistrar deleteCommand("db", "delete", [](CLI::App& db, int& exitCode) {
  Add(db, exitCode, "delete", true);
});
const SubcommandRegistrar undeleteCommand("db", "undelete", [](CLI::App& db, int& exitCode) {
  Add(db, exitCode, "undelete", false);
});

}  // namespace
}  // namespace kestrel::cli
