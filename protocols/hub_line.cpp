#include "protocols/hub_line.h"

namespace kestrel {

namespace {

bool IsSpace(char c) { return static_cast<unsigned char>(c) <= ' ' || c == 127; }
bool IsWordChar(char c) { return !IsSpace(c) && c != '=' && c != '"'; }

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return true;
  for (char c : value)
    if (!IsWordChar(c)) return true;
  return false;
}

}  // namespace

bool THubLine::Has(std::string_view name) const { return Get(name).has_value(); }

std::optional<std::string> THubLine::Get(std::string_view name) const {
  for (const auto& a : args)
    if (a.name == name) return a.value;
  return std::nullopt;
}

THubLine& THubLine::Add(std::string name, std::string value) {
  args.push_back({std::move(name), std::move(value), false});
  return *this;
}

THubLine& THubLine::Flag(std::string name) {
  args.push_back({std::move(name), {}, true});
  return *this;
}

std::string THubLine::Text() const {
  std::string text = command;
  for (const auto& a : args) {
    text += ' ' + a.name;
    if (a.flag) continue;
    // A value cannot hold a quote; it is dropped rather than break the line.
    std::string clean;
    for (char c : a.value)
      if (c != '"' && c != '\n' && c != '\r') clean += c;
    text += '=' + (NeedsQuotes(clean) ? '"' + clean + '"' : clean);
  }
  return text;
}

std::optional<THubLine> ParseHubLine(std::string_view text, std::string& error) {
  size_t pos = 0;
  const auto skipSpace = [&] {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
  };
  const auto word = [&] {
    const size_t start = pos;
    while (pos < text.size() && IsWordChar(text[pos])) ++pos;
    return std::string(text.substr(start, pos - start));
  };
  THubLine line;
  skipSpace();
  line.command = word();
  if (line.command.empty()) {
    error = pos < text.size() ? "a line starts with a command" : "missing command";
    return std::nullopt;
  }
  for (skipSpace(); pos < text.size(); skipSpace()) {
    std::string name = word();
    if (name.empty()) {
      error = "bad argument at column " + std::to_string(pos + 1);
      return std::nullopt;
    }
    std::string value;
    const bool flag = pos >= text.size() || text[pos] != '=';
    if (!flag) {
      ++pos;
      if (pos < text.size() && text[pos] == '"') {
        const size_t close = text.find('"', pos + 1);
        if (close == std::string_view::npos) {
          error = "unterminated quote in argument " + name;
          return std::nullopt;
        }
        value = std::string(text.substr(pos + 1, close - pos - 1));
        pos = close + 1;
      } else {
        value = word();
        if (value.empty()) {
          error = "missing value of argument " + name;
          return std::nullopt;
        }
      }
    }
    line.args.push_back({std::move(name), std::move(value), flag});
  }
  return line;
}

}  // namespace kestrel
