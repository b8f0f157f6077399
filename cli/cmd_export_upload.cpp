// kestrel-cli export upload FILE.gif: a picture to the diagram gallery that
// the settings file names (section [FTP], set in the program under Options >
// FTP gallery), printing the picture's public address.
#include <sys/stat.h>

#include <iostream>
#include <memory>
#include <random>

#include "app/export/ftp_upload.h"
#include "app/settings/program_folder.h"
#include "app/settings/settings.h"
#include "cli/command_registry.h"

namespace kestrel::cli {
namespace {

namespace fs = std::filesystem;

// A remote name is a file name, not a path.
bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == '/' || c == '\\') return false;
  return true;
}

// The password should not be readable by other users of the machine.
void WarnIfOthersCanRead(const fs::path& settings) {
  struct stat st{};
  if (::stat(settings.c_str(), &st) == 0 && (st.st_mode & (S_IRGRP | S_IROTH)))
    std::cerr << "warning: " << settings.string()
              << " holds the gallery password and other users can read it; run chmod 600 on it\n";
}

const SubcommandRegistrar registrar("export", "upload", [](CLI::App& parent, int& exitCode) {
  struct Args {
    std::string file, settings, name;
    bool allowPlain = false;
  };
  auto args = std::make_shared<Args>();
  auto* cmd = parent.add_subcommand("upload", "Upload a picture to the diagram gallery of the settings file");
  cmd->add_option("FILE", args->file, "The picture (a GIF file)")->required();
  cmd->add_option("--settings", args->settings, "Settings file (default: the program's own)");
  cmd->add_option("--name", args->name, "Name on the server (default: ten random characters and .gif)");
  cmd->add_flag("--allow-plain", args->allowPlain,
                "Send unencrypted (plain FTP) when the server offers no TLS, as AllowPlain=1 does");
  cmd->callback([args, &exitCode] {
    exitCode = [&] {
      const fs::path settingsPath =
          args->settings.empty()
              ? ResolveProgramFolders(ExecutableFolder(), SystemFolderProbe()).config / SettingsFileName
              : fs::path(args->settings);
      std::error_code ec;
      if (!args->settings.empty() && !fs::is_regular_file(settingsPath, ec)) {
        std::cerr << "settings file " << settingsPath.string() << " not found\n";
        return ExitBadInput;
      }
      IniFile ini;
      ini.Load(settingsPath);
      Settings settings;
      settings.Load(ini, ExecutableFolder());
      TFtpTarget target{settings.FtpSite,     settings.FtpFolder,   settings.FtpUser,
                        settings.FtpPass,     settings.FtpWebFolder, settings.FtpAllowPlain || args->allowPlain};
      if (!IsGalleryConfigured(target)) {
        std::cerr << "no gallery is set in " << settingsPath.string()
                  << ": give Site and WebFolder (and Folder, User, Pass as the server needs) in its [FTP] section, "
                     "or use Options > FTP gallery in the program\n";
        return ExitBadInput;
      }
      if (!fs::is_regular_file(args->file, ec)) {
        std::cerr << "cannot read " << args->file << ": no such file\n";
        return ExitBadInput;
      }
      std::string name = args->name;
      if (name.empty()) {
        std::mt19937 random{std::random_device{}()};
        name = RandomGalleryName(random);
      } else if (!IsPlainFileName(name)) {
        std::cerr << "--name must be a file name without folders: " << name << '\n';
        return ExitBadInput;
      }
      if (!target.password.empty()) WarnIfOthersCanRead(settingsPath);

      const TUploadResult result = UploadFile(target, args->file, name);
      switch (result.status) {
        case TUploadStatus::done:
          std::cout << GalleryAddress(target, name) << '\n';
          return ExitOk;
        case TUploadStatus::noTls:
          std::cerr << target.site << " offers no encrypted connection (FTPS), so nothing was sent. To send the "
                    << "account, the password and the picture unencrypted, set AllowPlain=1 in the [FTP] section of "
                    << settingsPath.string() << " (Options > FTP gallery in the program) or pass --allow-plain\n";
          return ExitFailure;
        case TUploadStatus::cancelled:
        case TUploadStatus::failed:
          break;
      }
      std::cerr << "upload to " << target.site << " failed: " << result.message << '\n';
      return ExitFailure;
    }();
  });
});

}  // namespace
}  // namespace kestrel::cli
