// Where the program lives and where it keeps its settings and log.
#pragma once

#include <filesystem>

namespace kestrel {

// Folder of the running executable, with a trailing separator.
std::filesystem::path ProgramFolder();

// Folder for the settings file and the log: the program folder when it is
// writable, otherwise $XDG_CONFIG_HOME/kestrel/ (or ~/.config/kestrel/),
// created on demand. Never loses settings in an installed, read-only program.
std::filesystem::path ConfigFolder(const std::filesystem::path& programFolder);
// The same choice, with the writability of the program folder given.
std::filesystem::path ConfigFolder(const std::filesystem::path& programFolder, bool programFolderWritable);

bool IsWritableFolder(const std::filesystem::path& folder);

}  // namespace kestrel
