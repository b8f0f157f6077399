// kestrel-cli export: positions and games out of the program.
//   export text --variant V --fen FEN      the text diagram for the diagram font
//   export words --variant V --fen FEN     the position in words
//   export rtf DB RANGE OUT.rtf [--diagrams font|picture]
//   export gif --variant V [--fen FEN] [--size N] [--reversed] OUT.gif
//   export upload FILE.gif                 to the gallery of the settings file
// The subcommands live in cmd_export_*.cpp.
#include "cli/command_registry.h"
#include "cli/export_position.h"

#include <iostream>

#include "formats/fen.h"
#include "rules/game_types.h"

namespace kestrel::cli {

std::optional<TExportPosition> ReadExportPosition(const std::string& variant, const std::string& fen) {
  const auto type = ParseGameType(variant);
  if (!type) {
    std::cerr << "unknown variant " << variant << '\n';
    return std::nullopt;
  }
  TExportPosition position{*type, InitialPosition(*type), TDColor::white};
  if (fen.empty()) return position;
  std::string error;
  const auto read = ReadFEN(fen, *type, &error);
  if (!read) {
    std::cerr << "bad FEN: " << error << '\n';
    return std::nullopt;
  }
  position.board = read->board;
  position.sideToMove = read->firstMover;
  return position;
}

namespace {

const CommandRegistrar registrar("export", [](CLI::App& app, int& exitCode) {
  auto* cmd = app.add_subcommand("export", "Diagrams, RTF documents, GIF pictures and gallery uploads");
  cmd->require_subcommand(1);
  AddRegisteredSubcommands("export", *cmd, exitCode);
});

}  // namespace
}  // namespace kestrel::cli
