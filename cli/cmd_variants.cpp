// kestrel-cli variants: one line per game type.
#include <iostream>

#include "cli/command_registry.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

const CommandRegistrar registrar("variants", [](CLI::App& app, int& exitCode) {
  auto* cmd = app.add_subcommand("variants", "List the game types: NUMBER NAME FILESxRANKS SQUARES MEN");
  cmd->callback([&exitCode] {
    for (int t = 1; t <= GameTypeCount; ++t) {
      const TBoardShape shape = BoardShape(t);
      std::cout << t << ' ' << GameTypeNames[t] << ' ' << shape.files << 'x' << shape.ranks << ' '
                << int(GameTypes[t].SquareCount) << ' ' << MenPerSide(t) << '\n';
    }
    exitCode = ExitOk;
  });
});

}  // namespace
}  // namespace kestrel::cli
