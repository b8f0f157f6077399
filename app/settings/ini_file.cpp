#include "app/settings/ini_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>

#include "app/settings/atomic_file.h"

namespace kestrel {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::string& out, char16_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

// A value is one line of the file: line breaks inside it would start new keys.
std::string OneLine(std::string_view value) {
  std::string v(value);
  std::replace(v.begin(), v.end(), '\r', ' ');
  std::replace(v.begin(), v.end(), '\n', ' ');
  return v;
}

}  // namespace

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() / 2);
  const size_t units = bytes.size() / 2;
  auto unit = [&](size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  for (size_t i = 0; i < units; ++i) {
    const char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = 0xFFFD;
    int len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
    }
    if (len > 1) {
      if (i + len > s.size()) {
        len = 1;
      } else {
        cp = c & (0x7F >> len);
        for (int k = 1; k < len; ++k) {
          const unsigned char cc = static_cast<unsigned char>(s[i + k]);
          if ((cc & 0xC0) != 0x80) {
            cp = 0xFFFD;
            len = 1;
            break;
          }
          cp = (cp << 6) | (cc & 0x3F);
        }
      }
    }
    i += len;
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      cp -= 0x10000;
      AppendUtf16(out, static_cast<char16_t>(0xD800 + (cp >> 10)));
      AppendUtf16(out, static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      AppendUtf16(out, static_cast<char16_t>(cp > 0xFFFF ? 0xFFFD : cp));
    }
  }
  return out;
}

bool IniFile::Load(const std::filesystem::path& path) {
  sections_.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Parse(bytes);
  return true;
}

void IniFile::Parse(std::string_view bytes) {
  sections_.clear();
  std::string text;
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    text = std::string(bytes.substr(3));
  } else {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') bytes.remove_prefix(2);
    text = Utf16LeToUtf8(bytes);
  }
  Section* current = nullptr;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string_view raw(text.data() + pos, end - pos);
    pos = end + 1;
    const std::string_view line = Trim(raw);
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      current = FindSection(name);
      if (!current) {
        sections_.push_back(Section{std::string(name), {}});
        current = &sections_.back();
      }
      continue;
    }
    if (!current) {
      sections_.push_back(Section{"", {}});
      current = &sections_.back();
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || line[0] == ';') {
      current->entries.push_back(Entry{std::string(line), "", false});
      continue;
    }
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string_view value = line.substr(eq + 1);
    auto it = std::find_if(current->entries.begin(), current->entries.end(),
                           [&](const Entry& e) { return e.isKey && EqualNoCase(e.key, key); });
    if (it != current->entries.end())
      it->value = std::string(value);  // a repeated key: the last one wins
    else
      current->entries.push_back(Entry{std::string(key), std::string(value), true});
  }
}

std::string IniFile::Serialize() const {
  std::string text;
  for (const Section& s : sections_) {
    if (!s.name.empty() || !s.entries.empty()) {
      if (!text.empty()) text += "\r\n";
      if (!s.name.empty()) text += "[" + s.name + "]\r\n";
    }
    for (const Entry& e : s.entries) text += (e.isKey ? e.key + "=" + e.value : e.key) + "\r\n";
  }
  return std::string("\xFF\xFE", 2) + Utf8ToUtf16Le(text);
}

bool IniFile::Save(const std::filesystem::path& path, std::string* error, unsigned mode) const {
  return WriteFileAtomically(path, Serialize(), error, mode);
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
  for (Section& s : sections_)
    if (EqualNoCase(s.name, name)) return &s;
  return nullptr;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  return const_cast<IniFile*>(this)->FindSection(name);
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  for (const Entry& e : s->entries)
    if (e.isKey && EqualNoCase(e.key, key)) return e.value;
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  auto v = Get(section, key);
  return v ? *v : std::string(def);
}

long long IniFile::ReadInt(std::string_view section, std::string_view key, long long def) const {
  auto v = Get(section, key);
  if (!v) return def;
  const std::string_view t = Trim(*v);
  long long result = 0;
  const char* first = t.data();
  if (!t.empty() && t.front() == '+') ++first;
  auto [end, ec] = std::from_chars(first, t.data() + t.size(), result);
  if (ec != std::errc() || end != t.data() + t.size() || t.empty()) return def;
  return result;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInt(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = FindSection(section);
  if (!s) {
    sections_.push_back(Section{std::string(section), {}});
    s = &sections_.back();
  }
  for (Entry& e : s->entries)
    if (e.isKey && EqualNoCase(e.key, key)) {
      e.key = std::string(key);
      e.value = OneLine(value);
      return;
    }
  s->entries.push_back(Entry{std::string(key), OneLine(value), true});
}

void IniFile::WriteInt(std::string_view section, std::string_view key, long long value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace kestrel
