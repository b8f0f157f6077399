#include "cli/db_range.h"

#include <charconv>
#include <iostream>

#include "cli/command_registry.h"
#include "database/db_error.h"

namespace kestrel::cli {
namespace {

bool Number(std::string_view text, int64_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<std::vector<int32_t>> ParseGameRange(const std::string& text, int32_t size) {
  std::vector<int32_t> out;
  std::vector<bool> seen(static_cast<std::size_t>(size) + 1, false);
  const auto add = [&](int64_t from, int64_t to) {
    if (from < 1 || to > size || from > to) return false;
    for (int64_t n = from; n <= to; ++n)
      if (!seen[n]) {
        seen[n] = true;
        out.push_back(static_cast<int32_t>(n));
      }
    return true;
  };
  if (text == "all") {
    add(1, size);
    return out;
  }
  std::string_view rest = text;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view part = rest.substr(0, comma);
    const std::size_t dash = part.find('-');
    int64_t from = 0, to = 0;
    const bool read = dash == std::string_view::npos
                          ? Number(part, from) && ((to = from), true)
                          : Number(part.substr(0, dash), from) && Number(part.substr(dash + 1), to);
    if (!read || !add(from, to)) {
      std::cerr << "bad game range '" << text << "': use all, N, N-M or a comma-separated list, numbers 1 to " << size
                << '\n';
      return std::nullopt;
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return out;
}

int RunGuarded(const std::function<int()>& command) {
  try {
    return command();
  } catch (const TDatabaseError& e) {
    std::cerr << e.what() << '\n';
    return ExitFailure;
  }
}

void PrintRenumbering(const TRenumbering& r) {
  std::cout << r.removed << " games removed";
  if (r.removed > 0) std::cout << "; the numbers of later games moved down";
  std::cout << '\n';
}

}  // namespace kestrel::cli
