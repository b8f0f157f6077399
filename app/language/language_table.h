// The language table: numbered texts that every window, menu and message
// takes its words from: the 320 entries every language file has, then the
// entries this program added (321 on), which have built-in English too. It starts with built-in English; a language file
// ("Languages/<name>.txt") replaces the entries it names. Texts are kept as
// 8-bit text in the program's code page, as the files hold them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The last spare entry; the program's own entries with built-in English
// follow it.
inline constexpr int LastSpareEntry = 321;
inline constexpr int LanguageEntryCount = 497;
// Entries from here to LastSpareEntry have no built-in text: a file may set
// them; while it does not, the windows keep the captions they were designed
// with.
inline constexpr int FirstSpareEntry = 310;
inline constexpr const char* DefaultLanguageName = "English";
inline constexpr const char* LanguagesFolder = "Languages";
inline constexpr const char* DocsFolder = "Docs";
// Language files are small; anything larger is not one.
inline constexpr std::uintmax_t MaxLanguageFileBytes = 1 << 20;

// The built-in English of entry n; empty for the spare entries and outside
// the table.
std::string_view BuiltinLanguageText(int n);
// The caption a window was designed with for a spare entry (310..321).
std::string_view SpareDesignText(int n);

// Every entry takes its built-in text again (start-up).
void InitLanguageTable();
// The current text of entry n (8-bit); empty outside the table. Safe to call
// from any thread.
std::string LangText(int n);
// The current text, or the design text of a spare entry that no file set.
std::string LangTextOrDesign(int n);

// Applies the lines of a language file to the table; returns how many lines
// set an entry. Lines that do not follow the form `[n] "text"` are skipped.
int ApplyLanguageText(std::string_view text);

std::filesystem::path LanguageFilePath(const std::filesystem::path& programFolder, std::string_view name);
// Reads the named language over the current texts. A missing or unreadable
// file changes nothing and answers false.
bool ReadLanguage(const std::filesystem::path& programFolder, std::string_view name);
// A language as the list shows it: the file's name (what "LanguageName"
// stores) and the language's own name, which the file gives on a line
// "Language name: <name>" (8-bit; the file name when it gives none).
struct TLanguageEntry {
  std::string file;
  std::string ownName;
};
inline constexpr std::string_view OwnNamePrefix = "Language name:";
// The own name given in language file text; empty when there is none.
std::string LanguageOwnName(std::string_view text);
// The language files, sorted by file name (names beginning with "." and
// folders skipped).
std::vector<TLanguageEntry> LanguageList(const std::filesystem::path& programFolder);
// "Docs/<language>.htm", or "Docs/NoLang.htm" when the language has none.
std::filesystem::path HelpDocumentPath(const std::filesystem::path& programFolder, std::string_view language);

}  // namespace kestrel
