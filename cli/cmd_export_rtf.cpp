// kestrel-cli export rtf DB RANGE OUT.rtf [--diagrams font|picture]: games
// of a database as one RTF document.
#include <iostream>
#include <memory>

#include "app/export/rtf_writer.h"
#include "cli/command_registry.h"
#include "cli/db_open.h"
#include "cli/db_range.h"
#include "database/game_io.h"

namespace kestrel::cli {
namespace {

const SubcommandRegistrar registrar("export", "rtf", [](CLI::App& parent, int& exitCode) {
  struct Args {
    std::string db, range, out, diagrams = "font";
  };
  auto args = std::make_shared<Args>();
  auto* cmd = parent.add_subcommand("rtf", "Games of a database as an RTF document");
  cmd->add_option("DB", args->db, "Database file")->required();
  cmd->add_option("RANGE", args->range, "Games: all, N, N-M, or a comma-separated list")->required();
  cmd->add_option("OUT", args->out, "The document (its extension becomes .rtf)")->required();
  cmd->add_option("--diagrams", args->diagrams, "font: characters of the Kestrel Draughts font; picture: PNG pictures")
      ->check(CLI::IsMember({"font", "picture"}));
  cmd->callback([args, &exitCode] {
    exitCode = RunGuarded([&] {
      TKestrelDB db;
      if (!OpenForReading(args->db, db)) return ExitFailure;
      const auto games = ParseGameRange(args->range, db.DBSize);
      if (!games) return ExitBadInput;
      TRtfOptions options;
      options.diagrams = args->diagrams == "picture" ? TRtfDiagrams::picture : TRtfDiagrams::font;
      TRtfDocument document(options);
      int written = 0, n = 0;
      TGame game;
      for (const int32_t number : *games) {
        std::string message;
        if (!ReadDBGame(db, number, false, game, &message) || !message.empty()) {
          std::cerr << "game " << number << " skipped: " << message << '\n';
          continue;
        }
        document.AddGame(++n, game);
        ++written;
      }
      const std::string path = RtfExportFileName(args->out);
      std::string error;
      if (!WriteRtfFile(path, document, &error)) {
        std::cerr << error << '\n';
        return ExitFailure;
      }
      std::cout << written << " games written to " << path << '\n';
      return written == static_cast<int>(games->size()) ? ExitOk : ExitFailure;
    });
  });
});

}  // namespace
}  // namespace kestrel::cli
