#include "app/language/language_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <shared_mutex>

namespace kestrel {

namespace fs = std::filesystem;

namespace {

struct Table {
  std::shared_mutex mutex;
  std::array<std::string, LanguageEntryCount + 1> texts;  // index 0 unused
  Table() {
    for (int n = 1; n <= LanguageEntryCount; ++n) texts[n] = std::string(BuiltinLanguageText(n));
  }
};

Table& TheTable() {
  static Table table;
  return table;
}

constexpr std::array<std::string_view, LastSpareEntry - FirstSpareEntry + 1> SpareDesign = {
    "Move mark", "Position mark", "min", "Figures", "Version", "Licence",
    "Libraries", "Program folder", "Game panel", "Select ED directory location", "Language", "Code page",
};

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Calls `f` with each line of `text`, without its CR LF and trimmed of blanks.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!f(TrimBlanks(line))) return;
  }
}

}  // namespace

std::string_view SpareDesignText(int n) {
  if (n < FirstSpareEntry || n > LastSpareEntry) return {};
  return SpareDesign[static_cast<size_t>(n - FirstSpareEntry)];
}

void InitLanguageTable() {
  Table& t = TheTable();
  std::unique_lock lock(t.mutex);
  for (int n = 1; n <= LanguageEntryCount; ++n) t.texts[n] = std::string(BuiltinLanguageText(n));
}

std::string LangText(int n) {
  if (n < 1 || n > LanguageEntryCount) return {};
  Table& t = TheTable();
  std::shared_lock lock(t.mutex);
  return t.texts[n];
}

std::string LangTextOrDesign(int n) {
  std::string text = LangText(n);
  if (text.empty()) text = std::string(SpareDesignText(n));
  return text;
}

int ApplyLanguageText(std::string_view text) {
  Table& t = TheTable();
  std::unique_lock lock(t.mutex);
  int set = 0;
  ForEachLine(text, [&](std::string_view line) {
    if (line.empty() || line.front() != '[') return true;
    const size_t close = line.find(']');
    if (close == std::string_view::npos) return true;
    const std::string_view digits = TrimBlanks(line.substr(1, close - 1));
    int n = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    // A number that is not a whole number names no entry.
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size()) return true;
    if (n < 1 || n > LanguageEntryCount) return true;
    const size_t open = line.find('"');
    if (open == std::string_view::npos) return true;
    const size_t second = line.find('"', open + 1);
    if (second == std::string_view::npos || second == open + 1) return true;
    t.texts[n] = std::string(line.substr(open + 1, second - open - 1));
    ++set;
    return true;
  });
  return set;
}

fs::path LanguageFilePath(const fs::path& programFolder, std::string_view name) {
  return programFolder / LanguagesFolder / fs::path(std::string(name) + ".txt");
}

namespace {
// The whole file, or nothing when it is missing, not a file or too large.
std::optional<std::string> ReadSmallFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  const auto size = fs::file_size(path, ec);
  if (ec || size > MaxLanguageFileBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
}  // namespace

std::string LanguageOwnName(std::string_view text) {
  std::string name;
  ForEachLine(text, [&](std::string_view line) {
    if (line.substr(0, OwnNamePrefix.size()) != OwnNamePrefix) return true;
    name = std::string(TrimBlanks(line.substr(OwnNamePrefix.size())));
    return false;
  });
  return name;
}

bool ReadLanguage(const fs::path& programFolder, std::string_view name) {
  // A name is a file name, never a path of its own.
  if (name.empty() || name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos ||
      name == "." || name == "..")
    return false;
  const std::optional<std::string> text = ReadSmallFile(LanguageFilePath(programFolder, name));
  if (!text) return false;
  ApplyLanguageText(*text);
  return true;
}

std::vector<TLanguageEntry> LanguageList(const fs::path& programFolder) {
  std::vector<TLanguageEntry> names;
  std::error_code ec;
  for (fs::directory_iterator it(programFolder / LanguagesFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    const std::string file = p.filename().string();
    if (file.empty() || file.front() == '.' || p.extension() != ".txt") continue;
    std::error_code kind;
    if (it->is_directory(kind)) continue;
    TLanguageEntry entry{p.stem().string(), {}};
    if (const auto text = ReadSmallFile(p)) entry.ownName = LanguageOwnName(*text);
    if (entry.ownName.empty()) entry.ownName = entry.file;
    names.push_back(std::move(entry));
  }
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return a.file < b.file; });
  return names;
}

fs::path HelpDocumentPath(const fs::path& programFolder, std::string_view language) {
  const fs::path docs = programFolder / DocsFolder;
  std::error_code ec;
  if (!language.empty() && language.find('/') == std::string_view::npos) {
    fs::path own = docs / fs::path(std::string(language) + ".htm");
    if (fs::is_regular_file(own, ec)) return own;
  }
  return docs / "NoLang.htm";
}

}  // namespace kestrel
