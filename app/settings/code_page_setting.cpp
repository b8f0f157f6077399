#include "app/settings/code_page_setting.h"

#include "app/settings/ini_file.h"

namespace kestrel {

TCodePage CodePageOfSetting(std::string_view name, std::string* problem) {
  if (const auto page = ParseCodePage(name)) return *page;
  if (problem)
    *problem = "Unknown code page \"" + std::string(name) + "\" in the settings; " + DefaultCodePageName + " is used";
  return *ParseCodePage(DefaultCodePageName);
}

TCodePage SettingsFileCodePage(const std::filesystem::path& settingsFile, std::string* problem) {
  IniFile ini;
  ini.Load(settingsFile);
  return CodePageOfSetting(ini.ReadString("Main", "CodePage", DefaultCodePageName), problem);
}

}  // namespace kestrel
