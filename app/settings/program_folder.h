// Where the program lives, where its shipped data is, and where it keeps the
// user's settings, log, databases and generated tables.
//
// Two ways to run: from a build or unpacked folder, where the data sits beside
// the executable ("portable"), and installed under a prefix, where the
// executable is in PREFIX/bin and the data in PREFIX/share/kestrel. A portable
// folder that can be written keeps everything beside the program; otherwise
// the settings and log go to $XDG_CONFIG_HOME/kestrel and the user's own files
// (databases, books, endgame tables) to $XDG_DATA_HOME/kestrel.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace kestrel {

struct TProgramFolders {
  std::filesystem::path program;  // shipped data (read-only when installed)
  std::filesystem::path config;   // settings file and log
  std::filesystem::path data;     // databases, books, endgame tables the user makes
  bool installed = false;
};

// What the choice depends on, so that it can be tested without touching the
// real machine.
struct TFolderProbe {
  std::function<bool(const std::filesystem::path&)> isDirectory;
  std::function<bool(const std::filesystem::path&)> isWritable;
  std::function<std::string(const char*)> environment;  // "" when unset
};
TFolderProbe SystemFolderProbe();

// The folders of a program whose executable is in `exeFolder`. Pure: creates
// nothing.
TProgramFolders ResolveProgramFolders(const std::filesystem::path& exeFolder, const TFolderProbe& probe);
// The folders of the running program, with the user folders created.
TProgramFolders RunningProgramFolders();

// Folder of the running executable, with a trailing separator.
std::filesystem::path ExecutableFolder();
// Folder of the shipped data of the running program, with a trailing
// separator: the executable's folder or, installed, PREFIX/share/kestrel.
std::filesystem::path ProgramFolder();

// Folder for the settings file and the log: the program folder when it is
// writable, otherwise $XDG_CONFIG_HOME/kestrel/ (or ~/.config/kestrel/),
// created on demand. Never loses settings in an installed, read-only program.
std::filesystem::path ConfigFolder(const std::filesystem::path& programFolder);
// The same choice, with the writability of the program folder given.
std::filesystem::path ConfigFolder(const std::filesystem::path& programFolder, bool programFolderWritable);

bool IsWritableFolder(const std::filesystem::path& folder);

}  // namespace kestrel
