// One line of the Hub protocol: a command word and name=value arguments in
// any order. Values with spaces or "=" are double-quoted (no escapes); a
// name without "=value" is a flag with an empty value.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrel {

struct THubArg {
  std::string name;
  std::string value;
  bool flag = false;  // written without "=value"
};

struct THubLine {
  THubLine() = default;
  explicit THubLine(std::string cmd) : command(std::move(cmd)) {}

  std::string command;
  std::vector<THubArg> args;

  bool Has(std::string_view name) const;
  // The value of the first argument `name`, or nullopt.
  std::optional<std::string> Get(std::string_view name) const;

  // Appends name=value, quoting the value where it needs it.
  THubLine& Add(std::string name, std::string value);
  THubLine& Flag(std::string name);
  std::string Text() const;
};

// Nullopt, with the reason in `error`, for an empty line, a line that starts
// with an argument, or an unterminated quote.
std::optional<THubLine> ParseHubLine(std::string_view text, std::string& error);

}  // namespace kestrel
