// kestrel-cli db headers DB RANGE --set FIELD=VALUE...: header fields of many
// games at once; in texts "[#]" is the game number, "[@]" the position in the
// range and "[$]" the running count.
#include <iostream>

#include "cli/command_registry.h"
#include "database/code_page.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/maintenance/bulk_edit.h"

namespace kestrel::cli {
namespace {

int SetFields(const std::string& file, const std::string& range, const std::vector<std::string>& sets) {
  THeaderFields fields;
  for (const std::string& s : sets) {
    std::string error;
    // Values come as UTF-8; the headers keep stored text.
    if (!ParseHeaderField(Utf8ToAnsi(s), fields, error)) {
      std::cerr << error << '\n';
      return ExitBadInput;
    }
  }
  TKestrelDB db;
  if (!OpenForWriting(file, db)) return ExitFailure;
  const auto games = ParseGameRange(range, db.DBSize);
  if (!games) return ExitBadInput;
  std::vector<TListEntry> entries;
  for (std::size_t i = 0; i < games->size(); ++i) entries.push_back({static_cast<int32_t>(i + 1), (*games)[i]});
  std::cout << SetHeaders(db, entries, fields) << " headers written\n";
  return ExitOk;
}

const SubcommandRegistrar registrar("db", "headers", [](CLI::App& db, int& exitCode) {
  struct Args {
    std::string file, range;
    std::vector<std::string> sets;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("headers", "Set header fields of games");
  cmd->add_option("DB", args->file, "Database file")->required();
  cmd->add_option("RANGE", args->range, "Games: all, N, N-M, or a comma-separated list")->required();
  cmd->add_option("--set", args->sets,
                  "FIELD=VALUE: White, Black, Tournament, Site, Annotator, Result (0-5), Round, Game, Day, Month, Year")
      ->required();
  cmd->callback([args, &exitCode] {
    exitCode = RunGuarded([&] { return SetFields(args->file, args->range, args->sets); });
  });
});

}  // namespace
}  // namespace kestrel::cli
