#include "formats/pdn_tags.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "rules/game_types.h"
#include "rules/plain_text.h"

namespace kestrel {
namespace {

constexpr std::array<std::pair<int, int>, GameTypeCount> TypeCodes = {{
    {gtRussian, 25}, {gtEnglish, 21}, {gtBrazilian, 26}, {gtPool, 23}, {gtItalian, 22}, {gtInternational, 20},
    {gtCzech, 29}, {gtSpanish, 24}, {gtFrisian, 40}, {gtSpantsiretti, 41}, {gtCanadian, 27}, {gtThai, 31},
}};

bool IsBlank(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u <= ' ';
}

// First separator of a date: ".", or "-" when there is no ".".
size_t DateSeparator(std::string_view text) {
  const size_t dot = text.find('.');
  return dot != std::string_view::npos ? dot : text.find('-');
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<TPdnTag> SplitTagLine(std::string_view line) {
  line = TrimBlanks(line);
  if (!line.empty() && line.front() == '[') line.remove_prefix(1);
  std::string_view key, value;
  const size_t first = line.find('"');
  if (first != std::string_view::npos) {
    const size_t last = line.rfind('"');
    key = line.substr(0, first);
    value = last > first ? line.substr(first + 1, last - first - 1) : std::string_view{};
  } else {
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    key = line.substr(0, blank);
    // The closing bracket is the last character.
    value = line.substr(blank + 1);
    if (!value.empty()) value.remove_suffix(1);
  }
  key = TrimBlanks(key);
  if (!key.empty() && key.back() == '=') key = TrimBlanks(key.substr(0, key.size() - 1));
  return TPdnTag{Lowered(key), std::string(TrimBlanks(value))};
}

int PdnGameTypeCode(int type) {
  for (const auto& [t, code] : TypeCodes)
    if (t == type) return code;
  return 0;
}

std::optional<int> GameTypeFromPdnCode(int code) {
  for (const auto& [t, c] : TypeCodes)
    if (c == code) return t;
  return std::nullopt;
}

std::optional<int> GameTypeFromTagValue(std::string_view value) {
  const std::string_view code = TrimBlanks(value.substr(0, value.find(',')));
  const int64_t n = PdnInteger(code);
  if (n <= 0 || n > 1000) return std::nullopt;
  return GameTypeFromPdnCode(static_cast<int>(n));
}

uint8_t ResultFromTagValue(std::string_view value) {
  static constexpr std::array<std::pair<std::string_view, uint8_t>, 32> table = {{
      {"1:0", 1},       {"1-0", 1},       {"2:0", 1},         {"2-0", 1},         {"1 : 0", 1},     {"1 - 0", 1},
      {"2 : 0", 1},     {"2 - 0", 1},     {"1/2:1/2", 2},     {"1/2-1/2", 2},     {"1:1", 2},       {"1-1", 2},
      {"1/2 : 1/2", 2}, {"1/2 - 1/2", 2}, {"1 : 1", 2},       {"1 - 1", 2},       {"0:1", 3},       {"0-1", 3},
      {"0:2", 3},       {"0-2", 3},       {"0 : 1", 3},       {"0 - 1", 3},       {"0 : 2", 3},     {"0 - 2", 3},
      {"1:0t", 4},      {"1-0t", 4},      {"2:0t", 4},        {"2-0t", 4},        {"0:1t", 5},      {"0-1t", 5},
      {"0:2t", 5},      {"0-2t", 5},
  }};
  for (const auto& [text, code] : table)
    if (text == value) return code;
  return 0;
}

std::string PdnResultText(uint8_t result, int style) {
  static constexpr std::array<std::array<std::string_view, 6>, 2> texts = {{
      {"*", "1-0", "1/2-1/2", "0-1", "1-0t", "0-1t"},
      {"*", "2-0", "1-1", "0-2", "2-0t", "0-2t"},
  }};
  if (result >= texts[0].size()) return "*";
  return std::string(texts[style == 1 ? 1 : 0][result]);
}

bool IsResultToken(std::string_view token) {
  static constexpr std::array<std::string_view, 24> tokens = {
      "1:0",  "1-0",  "2:0",  "2-0",  "1/2:1/2", "1/2-1/2", "1:1",  "1-1",  "0:1",  "0-1",  "0:2",  "0-2",
      "1:0t", "1-0t", "0:1t", "0-1t", "2:0t",    "2-0t",    "0:2t", "0-2t", "*",    "0-0",  "0:0",  "1/2"};
  return std::find(tokens.begin(), tokens.end(), token) != tokens.end();
}

int64_t PdnInteger(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 9) return 0;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

TGameDate DateFromTagValue(std::string_view value) {
  value = TrimBlanks(value);
  // d1, then d2 and d3 from the rest the same way; a part without any
  // separator is the last one.
  int64_t d1 = 0, d2 = 0, d3 = 0;
  const size_t s1 = DateSeparator(value);
  if (s1 == std::string_view::npos) {
    d3 = PdnInteger(value);
  } else {
    d1 = PdnInteger(value.substr(0, s1));
    const std::string_view rest = value.substr(s1 + 1);
    const size_t s2 = DateSeparator(rest);
    if (s2 == std::string_view::npos) {
      d3 = PdnInteger(rest);
    } else {
      d2 = PdnInteger(rest.substr(0, s2));
      d3 = PdnInteger(rest.substr(s2 + 1));
    }
  }
  int64_t day, year;
  if (d1 < 32) {
    day = d1;
    year = d3;
  } else {
    day = d3;
    year = d1;
  }
  TGameDate date;
  // A part that is no day, month or year of a calendar stays unknown.
  date.Day = static_cast<uint8_t>(day >= 1 && day <= 31 ? day : 0);
  date.Month = static_cast<uint8_t>(d2 >= 1 && d2 <= 12 ? d2 : 0);
  date.Year = static_cast<uint16_t>(std::clamp<int64_t>(year, 0, 2100));
  return date;
}

std::string PdnDateText(const TGameDate& date) {
  if (date.Month == 0 && date.Day == 0) return date.Year != 0 ? std::to_string(date.Year) : std::string();
  const auto part = [](int v) { return v != 0 ? std::to_string(v) : std::string("??"); };
  // Always three parts, so that the month is never taken for a day; the
  // reader takes a first part below 32 for the day, so small and unknown
  // years go last.
  if (date.Year < 32) return part(date.Day) + "." + part(date.Month) + "." + part(date.Year);
  return part(date.Year) + "." + part(date.Month) + "." + part(date.Day);
}

void RoundFromTagValue(std::string_view value, int32_t& round, int32_t& subround) {
  value = TrimBlanks(value);
  const size_t dot = value.find('.');
  const auto mod256 = [](int64_t v) { return static_cast<int32_t>(((v % 256) + 256) % 256); };
  if (dot == std::string_view::npos) {
    round = mod256(PdnInteger(value));
    subround = 0;
  } else {
    round = mod256(PdnInteger(value.substr(0, dot)));
    subround = mod256(PdnInteger(value.substr(dot + 1)));
  }
}

std::string PdnRoundText(int32_t round, int32_t subround) {
  std::string text = round != 0 ? std::to_string(round) : std::string();
  if (subround != 0) text += "." + std::to_string(subround);
  return text;
}

}  // namespace kestrel
