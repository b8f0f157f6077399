#include <algorithm>
#include <iostream>

#include "app/settings/code_page_setting.h"
#include "app/settings/program_folder.h"
#include "app/settings/settings.h"
#include "cli/command_registry.h"
#include "engine/gen2/gen2_engine.h"

namespace kestrel::cli {

std::vector<RegisteredCommand>& RegisteredCommands() {
  static std::vector<RegisteredCommand> commands;
  return commands;
}

CommandRegistrar::CommandRegistrar(std::string name, CommandSetup setup) {
  RegisteredCommands().push_back({std::move(name), std::move(setup)});
}

namespace {
struct RegisteredSubcommand {
  std::string parent;
  RegisteredCommand command;
};
std::vector<RegisteredSubcommand>& RegisteredSubcommands() {
  static std::vector<RegisteredSubcommand> subcommands;
  return subcommands;
}
}  // namespace

SubcommandRegistrar::SubcommandRegistrar(std::string parent, std::string name, CommandSetup setup) {
  RegisteredSubcommands().push_back({std::move(parent), {std::move(name), std::move(setup)}});
}

void AddRegisteredSubcommands(const std::string& parent, CLI::App& parentApp, int& exitCode) {
  std::vector<RegisteredCommand*> mine;
  for (auto& s : RegisteredSubcommands())
    if (s.parent == parent) mine.push_back(&s.command);
  std::sort(mine.begin(), mine.end(), [](const auto* a, const auto* b) { return a->name < b->name; });
  for (auto* c : mine) c->setup(parentApp, exitCode);
}

}  // namespace kestrel::cli

int main(int argc, char** argv) {
  using namespace kestrel::cli;
  kestrel::gen2::RegisterKestrel4();
  CLI::App app{"kestrel-cli: the command-line tool of Kestrel Thornby, draughts in twelve variants"};
  app.require_subcommand(1);
  int exitCode = ExitOk;
  // Databases read here as in the windows: in the code page of the program's
  // settings file.
  {
    const auto folders = kestrel::ResolveProgramFolders(kestrel::ExecutableFolder(), kestrel::SystemFolderProbe());
    std::string problem;
    kestrel::SetCodePage(kestrel::SettingsFileCodePage(folders.config / kestrel::SettingsFileName, &problem));
    if (!problem.empty()) std::cerr << "kestrel-cli: " << problem << '\n';
  }
  // Set while the command line is read, so that every command, wherever the
  // option stands, reads and writes its databases' texts in that code page.
  app.add_option_function<std::string>(
         "--db-code-page",
         [](const std::string& name) { kestrel::SetCodePage(*kestrel::ParseCodePage(name)); },
         "Code page of names and comments in databases: Windows-1251, Windows-1252 or UTF-8 (default: the "
         "settings file's CodePage, else Windows-1251)")
      ->check([](const std::string& name) {
        return kestrel::ParseCodePage(name) ? std::string() : "unknown code page " + name;
      })
      ->trigger_on_parse();
  app.fallthrough();
  auto& commands = RegisteredCommands();
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  for (auto& c : commands) c.setup(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return ExitBadInput;
  }
  return exitCode;
}
