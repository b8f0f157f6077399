#include "app/settings/kestrel_app.h"

#include "app/settings/program_folder.h"
#include "app/settings/code_page_setting.h"
#include "rules/current_game_type.h"

namespace kestrel {

namespace fs = std::filesystem;

KestrelApp::KestrelApp(fs::path programFolder, fs::path configFolder, fs::path dataFolder)
    : programFolder_(std::move(programFolder)),
      configFolder_(std::move(configFolder)),
      dataFolder_(dataFolder.empty() ? programFolder_ : std::move(dataFolder)) {
  settings_ = Settings::Defaults(programFolder_, dataFolder_);
}

KestrelApp KestrelApp::ForRunningProgram() {
  const TProgramFolders f = RunningProgramFolders();
  return KestrelApp(f.program, f.config, f.data);
}

void KestrelApp::InitKestrel() {
  log_.Open(LogPath());
  log_.Write(".");
  log_.Write("Program started.");
  if (fs::path(configFolder_) / "" != fs::path(programFolder_) / "")
    log_.Write("The program folder is installed or read-only; settings and log are kept in " +
               configFolder_.string() + ", databases and tables in " + dataFolder_.string());
  ini_.Load(SettingsPath());
  settings_.Load(ini_, programFolder_, dataFolder_);
  // Every stored name and comment is read in this code page from now on.
  std::string problem;
  SetCodePage(CodePageOfSetting(settings_.CodePage, &problem));
  if (!problem.empty()) {
    log_.Write(problem);
    settings_.CodePage = DefaultCodePageName;
  }
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
  // The gallery's password is readable by its owner only.
  const bool ok = ini_.Save(SettingsPath(), &why, settings_.FtpPass.empty() ? 0644 : 0600);
  if (!ok) log_.Write("Settings file not written: " + why);
  if (error) *error = why;
  log_.Close();
  return ok;
}

}  // namespace kestrel
