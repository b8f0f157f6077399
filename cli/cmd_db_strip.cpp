// kestrel-cli db strip DB RANGE --comments|--variations.
#include <iostream>

#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/maintenance/bulk_edit.h"

namespace kestrel::cli {
namespace {

const SubcommandRegistrar registrar("db", "strip", [](CLI::App& db, int& exitCode) {
  struct Args {
    std::string file, range;
    bool comments = false, variations = false;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = db.add_subcommand("strip", "Remove the move comments or the variations of games");
  cmd->add_option("DB", args->file, "Database file")->required();
  cmd->add_option("RANGE", args->range, "Games: all, N, N-M, or a comma-separated list")->required();
  auto* c = cmd->add_flag("--comments", args->comments, "Remove move comments (glyphs and the game comment stay)");
  auto* v = cmd->add_flag("--variations", args->variations, "Remove every line but the main one");
  c->excludes(v);
  cmd->callback([args, &exitCode] {
    exitCode = RunGuarded([&] {
      if (!args->comments && !args->variations) {
        std::cerr << "say --comments or --variations\n";
        return ExitBadInput;
      }
      TKestrelDB d;
      if (!OpenForWriting(args->file, d)) return ExitFailure;
      const auto games = ParseGameRange(args->range, d.DBSize);
      if (!games) return ExitBadInput;
      const TBulkReport r = args->comments ? RemoveComments(d, *games) : RemoveVariations(d, *games);
      std::cout << r.changed << " games rewritten";
      if (r.unreadable > 0) std::cout << ", " << r.unreadable << " unreadable games left alone";
      std::cout << '\n';
      return r.unreadable == 0 ? ExitOk : ExitFailure;
    });
  });
});

}  // namespace
}  // namespace kestrel::cli
