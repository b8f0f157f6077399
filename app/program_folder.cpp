#include "app/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace kestrel {

namespace fs = std::filesystem;

static fs::path WithSeparator(fs::path p) {
  p /= "";
  return p;
}

fs::path ProgramFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::current_path(ec) / "kestrel";
  return WithSeparator(exe.parent_path());
}

bool IsWritableFolder(const fs::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path ConfigFolder(const fs::path& programFolder) {
  return ConfigFolder(programFolder, IsWritableFolder(programFolder));
}

fs::path ConfigFolder(const fs::path& programFolder, bool programFolderWritable) {
  if (programFolderWritable) return WithSeparator(programFolder);
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".config";
  } else {
    base = fs::temp_directory_path();
  }
  fs::path folder = base / "kestrel";
  std::error_code ec;
  fs::create_directories(folder, ec);
  return WithSeparator(folder);
}

}  // namespace kestrel
