// Each kestrel-cli command lives in its own cmd_*.cpp and registers itself
// here, so commands can be added without touching main.cpp.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace kestrel::cli {

// Exit codes shared by every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitBadInput = 2;

// Adds the command's subcommand to `app`. The callback it installs runs the
// command and stores its exit code in `exitCode`.
using CommandSetup = std::function<void(CLI::App& app, int& exitCode)>;

struct CommandRegistrar {
  CommandRegistrar(std::string name, CommandSetup setup);
};

struct RegisteredCommand {
  std::string name;
  CommandSetup setup;
};
std::vector<RegisteredCommand>& RegisteredCommands();

// Subcommands of a command that live in files of their own (for example
// "db search" in cmd_db_search.cpp): each registers under its parent's name,
// and the parent adds them with AddRegisteredSubcommands.
struct SubcommandRegistrar {
  SubcommandRegistrar(std::string parent, std::string name, CommandSetup setup);
};
void AddRegisteredSubcommands(const std::string& parent, CLI::App& parentApp, int& exitCode);

}  // namespace kestrel::cli
