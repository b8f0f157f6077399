// kestrel-cli txt2pdn FILE: games written as plain text into FILE.pdn.
#include <iostream>
#include <string>

#include "cli/command_registry.h"
#include "formats/pdn_import.h"
#include "formats/text_import.h"

namespace kestrel::cli {
namespace {

const CommandRegistrar registrar("txt2pdn", [](CLI::App& app, int& exitCode) {
  auto* cmd = app.add_subcommand("txt2pdn", "Convert a text file of games into FILE.pdn (replacing it)");
  static std::string file;
  cmd->add_option("FILE", file, "Text file: a line with the players, then lines of moves")->required();
  cmd->callback([&exitCode] {
    try {
      const int games = ConvertTextFile(file);
      std::cout << file << ".pdn: " << games << " games\n";
      exitCode = ExitOk;
    } catch (const TPdnFileError& e) {
      std::cerr << e.what() << '\n';
      exitCode = ExitFailure;
    }
  });
});

}  // namespace
}  // namespace kestrel::cli
