#include "app/kestrel_app.h"

#include "app/program_folder.h"
#include "rules/current_game_type.h"

namespace kestrel {

namespace fs = std::filesystem;

KestrelApp::KestrelApp(fs::path programFolder, fs::path configFolder)
    : programFolder_(std::move(programFolder)), configFolder_(std::move(configFolder)) {
  settings_ = Settings::Defaults(programFolder_);
}

KestrelApp KestrelApp::ForRunningProgram() {
  fs::path program = ProgramFolder();
  fs::path config = ConfigFolder(program);
  return KestrelApp(program, config);
}

void KestrelApp::InitKestrel() {
  log_.Open(LogPath());
  log_.Write(".");
  log_.Write("Program started.");
  if (fs::path(configFolder_) / "" != fs::path(programFolder_) / "")
    log_.Write("The program folder is read-only; settings and log are kept in " + configFolder_.string());
  ini_.Load(SettingsPath());
  settings_.Load(ini_, programFolder_);
  CurrentGameType = 0;  // force the listeners of the first switch to run
  SetGameType(settings_.TypeOfGame);
}

bool KestrelApp::TakeFirstRunFlag() {
  const bool first = settings_.Tuning;
  settings_.Tuning = false;
  return first;
}

bool KestrelApp::Close(std::string* error) {
  settings_.TypeOfGame = CurrentGameType;
  settings_.Store(ini_);
  std::string why;
  const bool ok = ini_.Save(SettingsPath(), &why);
  if (!ok) log_.Write("Settings file not written: " + why);
  if (error) *error = why;
  log_.Close();
  return ok;
}

}  // namespace kestrel
