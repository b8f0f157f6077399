#include "app/settings/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace kestrel {

namespace fs = std::filesystem;

namespace {

fs::path WithSeparator(fs::path p) {
  p /= "";
  return p;
}

// A folder with the shipped data: the engine files are always there.
bool HoldsData(const fs::path& folder, const TFolderProbe& probe) { return probe.isDirectory(folder / "EvalFunc"); }

// $NAME, else $HOME/fallback, else the temporary folder.
fs::path XdgFolder(const TFolderProbe& probe, const char* name, const char* fallback) {
  if (std::string v = probe.environment(name); !v.empty() && fs::path(v).is_absolute()) return fs::path(v) / "kestrel";
  if (std::string home = probe.environment("HOME"); !home.empty()) return fs::path(home) / fallback / "kestrel";
  std::error_code ec;
  return fs::temp_directory_path(ec) / "kestrel";
}

}  // namespace

TFolderProbe SystemFolderProbe() {
  return {[](const fs::path& p) {
            std::error_code ec;
            return fs::is_directory(p, ec);
          },
          [](const fs::path& p) { return IsWritableFolder(p); },
          [](const char* name) {
            const char* v = std::getenv(name);
            return std::string(v ? v : "");
          }};
}

TProgramFolders ResolveProgramFolders(const fs::path& exeFolder, const TFolderProbe& probe) {
  TProgramFolders f;
  const fs::path share = (exeFolder / ".." / "share" / "kestrel").lexically_normal();
  if (!HoldsData(exeFolder, probe) && HoldsData(share, probe)) {
    f.installed = true;
    f.program = WithSeparator(share);
  } else {
    f.program = WithSeparator(exeFolder);
  }
  if (!f.installed && probe.isWritable(f.program)) {
    f.config = f.program;
    f.data = f.program;
  } else {
    f.config = WithSeparator(XdgFolder(probe, "XDG_CONFIG_HOME", ".config"));
    f.data = WithSeparator(XdgFolder(probe, "XDG_DATA_HOME", ".local/share"));
  }
  return f;
}

TProgramFolders RunningProgramFolders() {
  TProgramFolders f = ResolveProgramFolders(ExecutableFolder(), SystemFolderProbe());
  std::error_code ec;
  fs::create_directories(f.config, ec);
  fs::create_directories(f.data, ec);
  return f;
}

fs::path ExecutableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::current_path(ec) / "kestrel";
  return WithSeparator(exe.parent_path());
}

fs::path ProgramFolder() { return ResolveProgramFolders(ExecutableFolder(), SystemFolderProbe()).program; }

bool IsWritableFolder(const fs::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path ConfigFolder(const fs::path& programFolder) {
  return ConfigFolder(programFolder, IsWritableFolder(programFolder));
}

fs::path ConfigFolder(const fs::path& programFolder, bool programFolderWritable) {
  if (programFolderWritable) return WithSeparator(programFolder);
  fs::path folder = XdgFolder(SystemFolderProbe(), "XDG_CONFIG_HOME", ".config");
  std::error_code ec;
  fs::create_directories(folder, ec);
  return WithSeparator(folder);
}

}  // namespace kestrel
