// kestrel-cli export text / export words: the clipboard's text diagram and
// the position in words.
#include <iostream>
#include <memory>

#include "app/export/diagram_text.h"
#include "cli/command_registry.h"
#include "cli/export_position.h"

namespace kestrel::cli {
namespace {

struct TPositionArgs {
  std::string variant, fen;
};

CLI::App* PositionCommand(CLI::App& parent, const char* name, const char* about,
                          const std::shared_ptr<TPositionArgs>& args) {
  auto* cmd = parent.add_subcommand(name, about);
  cmd->add_option("--variant", args->variant, "Game type: name or number 1..12")->required();
  cmd->add_option("--fen", args->fen, "The position")->required();
  return cmd;
}

const SubcommandRegistrar text("export", "text", [](CLI::App& parent, int& exitCode) {
  auto args = std::make_shared<TPositionArgs>();
  PositionCommand(parent, "text", "The text diagram (for the Kestrel Draughts font)", args)->callback([args, &exitCode] {
    const auto position = ReadExportPosition(args->variant, args->fen);
    if (!position) {
      exitCode = ExitBadInput;
      return;
    }
    std::cout << TextDiagram(position->board.b, position->type) << std::flush;
    exitCode = ExitOk;
  });
});

const SubcommandRegistrar words("export", "words", [](CLI::App& parent, int& exitCode) {
  auto args = std::make_shared<TPositionArgs>();
  PositionCommand(parent, "words", "The position in words", args)->callback([args, &exitCode] {
    const auto position = ReadExportPosition(args->variant, args->fen);
    if (!position) {
      exitCode = ExitBadInput;
      return;
    }
    std::cout << PositionInWords(position->board.b, position->sideToMove, position->type) << '\n';
    exitCode = ExitOk;
  });
});

}  // namespace
}  // namespace kestrel::cli
