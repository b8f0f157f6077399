// kestrel-cli folders: where the program finds its data and keeps the user's
// settings, log, databases and tables.
#include <iostream>

#include "app/settings/program_folder.h"
#include "cli/command_registry.h"

namespace kestrel::cli {
namespace {

const CommandRegistrar registrar("folders", [](CLI::App& app, int& exitCode) {
  auto* cmd = app.add_subcommand("folders", "Where the shipped data, the settings and log, and the user's files are");
  cmd->callback([&exitCode] {
    const TProgramFolders f = ResolveProgramFolders(ExecutableFolder(), SystemFolderProbe());
    std::cout << "program " << f.program.string() << '\n'
              << "settings " << f.config.string() << '\n'
              << "data " << f.data.string() << '\n'
              << "installed " << (f.installed ? "yes" : "no") << '\n';
    exitCode = ExitOk;
  });
});

}  // namespace
}  // namespace kestrel::cli
