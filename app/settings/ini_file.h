// An INI file kept whole in memory: sections and keys match without regard
// to case, order and unknown keys are preserved. Stored as UTF-16 LE with BOM.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

class IniFile {
 public:
  // Loads `path`; a missing file gives an empty set. Text is held as UTF-8.
  bool Load(const std::filesystem::path& path);
  // Parses file bytes: UTF-16 LE with or without BOM (UTF-8 with a BOM too).
  void Parse(std::string_view bytes);
  // The whole file as UTF-16 LE bytes with a byte-order mark and CR LF lines.
  std::string Serialize() const;
  // Writes atomically: a temporary file beside the target, then a rename.
  bool Save(const std::filesystem::path& path, std::string* error = nullptr, unsigned mode = 0644) const;

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // Decimal text; anything that is not a number gives `def`.
  long long ReadInt(std::string_view section, std::string_view key, long long def) const;
  // Any non-zero integer is true.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  // Sets a value; an existing key keeps its place (its spelling becomes `key`).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInt(std::string_view section, std::string_view key, long long value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  struct Entry {
    std::string key, value;
    bool isKey = true;  // false: a line kept as it was (comment or stray text)
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;

  std::vector<Section> sections_;
};

// UTF-8 <-> UTF-16 LE byte strings (unpaired surrogates become U+FFFD).
std::string Utf16LeToUtf8(std::string_view bytes);
std::string Utf8ToUtf16Le(std::string_view utf8);

}  // namespace kestrel
