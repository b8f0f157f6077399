// The application's start-up and close sequences, without any window: the
// windows call InitKestrel once they exist and Close from their close query.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "app/settings/ini_file.h"
#include "app/settings/log.h"
#include "app/settings/settings.h"

namespace kestrel {

inline constexpr const char* ApplicationTitle = "Kestrel Thornby 3.6";

class KestrelApp {
 public:
  // `programFolder` holds the executable and shipped data; `configFolder` the
  // settings file and the log (the program folder unless it is read-only).
  // `dataFolder` the user's databases, books and tables (empty: the program
  // folder).
  KestrelApp(std::filesystem::path programFolder, std::filesystem::path configFolder,
             std::filesystem::path dataFolder = {});
  // The folders of the running executable.
  static KestrelApp ForRunningProgram();

  // Start-up: opens the log, loads the settings, switches to the saved game
  // type. Returns the settings to apply to the windows.
  void InitKestrel();
  // First start: clears the flag so the welcome dialogs are shown only once.
  // Returns whether they should be shown now.
  bool TakeFirstRunFlag();

  // Close, after the windows have agreed to it: writes the settings file in
  // one piece and closes the log. Returns false when the file could not be
  // written (the old file then stays as it was).
  bool Close(std::string* error = nullptr);

  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }
  Log& log() { return log_; }
  const std::filesystem::path& programFolder() const { return programFolder_; }
  const std::filesystem::path& configFolder() const { return configFolder_; }
  const std::filesystem::path& dataFolder() const { return dataFolder_; }
  std::filesystem::path SettingsPath() const { return configFolder_ / SettingsFileName; }
  std::filesystem::path LogPath() const { return configFolder_ / LogFileName; }

 private:
  std::filesystem::path programFolder_;
  std::filesystem::path configFolder_;
  std::filesystem::path dataFolder_;
  Log log_;
  IniFile ini_;
  Settings settings_;
};

}  // namespace kestrel
