// The code page of stored texts as the settings file names it ("CodePage").
// The windows and kestrel-cli take it from the same file, so a database reads
// alike in both.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "database/code_page.h"

namespace kestrel {

// The code page `name` names; an unknown name gives the default and says so
// in `problem`.
TCodePage CodePageOfSetting(std::string_view name, std::string* problem = nullptr);

// The code page a settings file names; the default when the file or the key
// is missing.
TCodePage SettingsFileCodePage(const std::filesystem::path& settingsFile, std::string* problem = nullptr);

}  // namespace kestrel
