// kestrel-cli db copy SRC RANGE DEST and db merge DEST SRC...: games appended
// to another database (created when missing); merge takes whole databases and
// PDN files.
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/maintenance/game_transfer.h"

namespace kestrel::cli {
namespace {

int Copy(const std::string& source, const std::string& range, const std::string& target) {
  TKestrelDB db;
  if (!OpenForReading(source, db)) return ExitFailure;
  const auto games = ParseGameRange(range, db.DBSize);
  if (!games) return ExitBadInput;
  const TTransferReport r = CopyGames(db, *games, target, NoProgress());
  for (const std::string& note : r.notes) std::cerr << note << '\n';
  std::cout << r.copied << " games copied\n";
  return ExitOk;
}

int Merge(const std::string& target, const std::vector<std::string>& sources) {
  TKestrelDB db;
  if (!OpenForWriting(target, db)) return ExitFailure;
  const TTransferReport r = MergeIntoDatabase(db, sources, NoProgress());
  for (const std::string& note : r.notes) std::cerr << note << '\n';
  std::cout << r.copied << " games added, " << db.DBSize << " games in " << db.DBNameIdx << '\n';
  return r.notes.empty() ? ExitOk : ExitFailure;
}

const SubcommandRegistrar copyCommand("db", "copy", [](CLI::App& db, int& exitCode) {
  struct Args {
    std::string source, range, target;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("copy", "Append games of one database to another");
  cmd->add_option("SRC", args->source, "Database to copy from")->required();
  cmd->add_option("RANGE", args->range, "Games: all, N, N-M, or a comma-separated list")->required();
  cmd->add_option("DEST", args->target, "Database to append to (created when missing)")->required();
  cmd->callback([args, &exitCode] {
    exitCode = RunGuarded([&] { return Copy(args->source, args->range, args->target); });
  });
});

const SubcommandRegistrar mergeCommand("db", "merge", [](CLI::App& db, int& exitCode) {
  struct Args {
    std::string target;
    std::vector<std::string> sources;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("merge", "Append whole databases (.abd) and PDN files (.pdn), in the order given");
  cmd->add_option("DEST", args->target, "Database to append to")->required();
  cmd->add_option("SRC", args->sources, "Databases and PDN files")->required();
  cmd->callback([args, &exitCode] { exitCode = RunGuarded([&] { return Merge(args->target, args->sources); }); });
});

}  // namespace
}  // namespace kestrel::cli
