// Word wrap of comments in the game panel.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "game/layout_cursor.h"

namespace kestrel {
namespace {

bool IsBreakChar(char c) {
  switch (c) {
    case ' ':
    case ',':
    case '.':
    case ';':
    case ':':
    case '-':
    case '"':
      return true;
    default:
      return false;
  }
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Largest n with x + width(first n characters) < limit. Widths grow with the
// prefix, so the search gallops up and then halves: a long comment costs
// a few measurements per line, not one per character.
std::size_t LongestFittingPrefix(const TLayoutCursor& cursor, std::string_view text) {
  auto fits = [&](std::size_t n) {
    return cursor.X() + cursor.Measure(text.substr(0, n), TTreeStyle::comment) < cursor.Limit();
  };
  if (text.empty() || !fits(1)) return 0;
  std::size_t good = 1;
  std::size_t probe = 2;
  while (probe < text.size() && fits(probe)) {
    good = probe;
    probe *= 2;
  }
  std::size_t bad = probe;
  if (bad >= text.size()) {
    if (fits(text.size())) return text.size();
    bad = text.size();
  }
  while (bad - good > 1) {
    const std::size_t mid = good + (bad - good) / 2;
    (fits(mid) ? good : bad) = mid;
  }
  return good;
}

// Where a line of `text` ends when only `n` characters fit: after the last
// break character among them, or at n itself when a blank follows; 0 when
// the first word does not fit.
std::size_t BreakPoint(std::string_view text, std::size_t n) {
  if (n >= text.size()) return text.size();
  if (text[n] == ' ') return n;
  for (std::size_t i = n; i > 0; --i)
    if (IsBreakChar(text[i - 1])) return i;
  return 0;
}

}  // namespace

std::string ShowableText(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127) c = ' ';
  }
  return out;
}

void AddTextItems(TLayoutCursor& cursor, std::string_view comment, int indent) {
  const std::string text = ShowableText(comment);
  std::string_view rest = TrimBlanks(text);
  while (!rest.empty()) {
    std::size_t cut = BreakPoint(rest, LongestFittingPrefix(cursor, rest));
    if (cut == 0) {
      if (cursor.LineUsed()) {
        // The first word may fit on a line of its own.
        cursor.NewLine(indent);
        continue;
      }
      // A word wider than a whole line is broken where it stops fitting,
      // keeping at least one character so that the text always shrinks.
      cut = std::max<std::size_t>(1, LongestFittingPrefix(cursor, rest));
    }
    cursor.PlacePiece(std::string(TrimBlanks(rest.substr(0, cut))));
    rest = TrimBlanks(rest.substr(cut));
    if (!rest.empty()) cursor.NewLine(indent);
  }
}

}  // namespace kestrel
