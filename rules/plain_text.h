// Small helpers for the plain texts the program reads by keyword (move
// notation, FEN, PDN tag names, file extensions) or writes in fixed forms
// (dates).
#pragma once

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

namespace kestrel {

// `text` with every letter made small, byte by byte.
inline std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// `text` without the white space (blanks, tabs, line ends) at either end.
inline std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// `value` in decimal with leading zeros up to `width` digits: "07", "0950".
inline std::string ZeroPadded(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

}  // namespace kestrel
