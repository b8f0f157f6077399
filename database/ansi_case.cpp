#include "database/ansi_case.h"

#include <array>

namespace kestrel {
namespace {

using CaseTable = std::array<uint8_t, 256>;

constexpr CaseTable AsciiUpper() {
  CaseTable t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>(c);
  for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<uint8_t>(c - 32);
  return t;
}

constexpr CaseTable Upper1251() {
  CaseTable t = AsciiUpper();
  for (int c = 0xE0; c <= 0xFF; ++c) t[c] = static_cast<uint8_t>(c - 32);  // а..я
  // The Cyrillic letters outside the two contiguous blocks: small -> capital.
  constexpr std::array<std::array<uint8_t, 2>, 15> pairs = {{
      {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1},
      {0xBC, 0xA3}, {0xB4, 0xA5}, {0xB8, 0xA8}, {0xBA, 0xAA}, {0xBF, 0xAF}, {0xB3, 0xB2}, {0xBE, 0xBD},
  }};
  for (const auto& p : pairs) t[p[0]] = p[1];
  return t;
}

constexpr CaseTable Upper1252() {
  CaseTable t = AsciiUpper();
  // à..þ, but not the division sign.
  for (int c = 0xE0; c <= 0xFE; ++c)
    if (c != 0xF7) t[c] = static_cast<uint8_t>(c - 32);
  // š, œ, ž, ÿ: their capitals stand apart.
  constexpr std::array<std::array<uint8_t, 2>, 4> pairs = {{{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}}};
  for (const auto& p : pairs) t[p[0]] = p[1];
  return t;
}

// Each capital has exactly one small letter, so an upper table inverts.
constexpr CaseTable LowerOf(const CaseTable& upper) {
  CaseTable t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>(c);
  for (int c = 0; c < 256; ++c)
    if (upper[c] != c) t[upper[c]] = static_cast<uint8_t>(c);
  return t;
}

constexpr CaseTable UpperAscii = AsciiUpper();
constexpr CaseTable UpperCyrillic = Upper1251();
constexpr CaseTable UpperWestern = Upper1252();
constexpr CaseTable LowerAscii = LowerOf(UpperAscii);
constexpr CaseTable LowerCyrillic = LowerOf(UpperCyrillic);
constexpr CaseTable LowerWestern = LowerOf(UpperWestern);

const CaseTable& UpperTable(TCodePage page) {
  switch (page) {
    case TCodePage::windows1252: return UpperWestern;
    case TCodePage::utf8: return UpperAscii;
    case TCodePage::windows1251: break;
  }
  return UpperCyrillic;
}

const CaseTable& LowerTable(TCodePage page) {
  switch (page) {
    case TCodePage::windows1252: return LowerWestern;
    case TCodePage::utf8: return LowerAscii;
    case TCodePage::windows1251: break;
  }
  return LowerCyrillic;
}

// Letters in pairs where the capital and the small letter are neighbours:
// from `first` to `last`, the capital on even (`capitalEven`) or odd code
// points.
struct NeighbourPairs {
  char32_t first, last;
  bool capitalEven;
};
constexpr NeighbourPairs Neighbours[] = {
    {0x100, 0x12F, true},  {0x132, 0x137, true},  {0x139, 0x148, false}, {0x14A, 0x177, true},
    {0x179, 0x17E, false}, {0x460, 0x481, true},  {0x48A, 0x4BF, true},  {0x4C1, 0x4CE, false},
    {0x4D0, 0x52F, true},
};
// Letters whose two cases lie a fixed distance apart: capitals from
// `first` to `last`, small letters `offset` above them.
struct ShiftedRange {
  char32_t first, last, offset;
};
constexpr ShiftedRange Shifted[] = {
    {0xC0, 0xD6, 0x20},   {0xD8, 0xDE, 0x20},   {0x391, 0x3A1, 0x20}, {0x3A3, 0x3AB, 0x20},
    {0x388, 0x38A, 0x25}, {0x38E, 0x38F, 0x3F}, {0x410, 0x42F, 0x20}, {0x400, 0x40F, 0x50},
};
// The rest, capital and small letter.
constexpr std::array<std::array<char32_t, 2>, 5> Single = {{
    {0x178, 0xFF}, {0x386, 0x3AC}, {0x38C, 0x3CC}, {0x4C0, 0x4CF}, {0x3A3, 0x3C2},  // Σ and the final ς
}};

bool IsPaired(const NeighbourPairs& p, char32_t c) { return c >= p.first && c <= p.last; }

char32_t UpperLetter(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  for (const ShiftedRange& r : Shifted)
    if (c >= r.first + r.offset && c <= r.last + r.offset) return c - r.offset;
  for (const NeighbourPairs& p : Neighbours)
    if (IsPaired(p, c) && (c % 2 == 0) != p.capitalEven) return c - 1;
  for (const auto& s : Single)
    if (c == s[1]) return s[0];
  return c;
}

char32_t LowerLetter(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c == 0x3C2) return 0x3C3;  // the final sigma matches a sigma in searches too
  for (const ShiftedRange& r : Shifted)
    if (c >= r.first && c <= r.last) return c + r.offset;
  for (const NeighbourPairs& p : Neighbours)
    if (IsPaired(p, c) && (c % 2 == 0) == p.capitalEven) return c + 1;
  for (const auto& s : Single)
    if (c == s[0]) return s[1];
  return c;
}

// The UTF-8 sequence starting at `text[i]`: its code point and length, or
// length 0 when it is malformed (the byte is then kept as it is).
std::pair<char32_t, size_t> DecodeAt(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || i + length > text.size()) return {0, 0};
  char32_t c = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return {0, 0};
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  return {c, length};
}

void Encode(char32_t c, std::string& out) {
  if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  }
  out += static_cast<char>(0x80 | (c & 0x3F));
}

template <class Fold>
std::string FoldUtf8(std::string_view text, const CaseTable& ascii, Fold fold) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto [c, length] = DecodeAt(text, i);
    // Every letter that folds lies below U+0800, as does its other case, so
    // the folded letter keeps the length of the original.
    const char32_t folded = length == 2 ? fold(c) : c;
    if (length == 2 && folded != c) {
      Encode(folded, out);
    } else if (length > 0) {
      out.append(text.substr(i, length));
    } else {
      out += static_cast<char>(ascii[static_cast<unsigned char>(text[i])]);
    }
    i += length > 0 ? length : 1;
  }
  return out;
}

std::string FoldBytes(std::string_view text, const CaseTable& table) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace

uint8_t AnsiUpperChar(uint8_t c, TCodePage page) { return UpperTable(page)[c]; }
uint8_t AnsiLowerChar(uint8_t c, TCodePage page) { return LowerTable(page)[c]; }

std::string AnsiUpperCase(std::string_view text, TCodePage page) {
  if (page == TCodePage::utf8) return FoldUtf8(text, UpperAscii, UpperLetter);
  return FoldBytes(text, UpperTable(page));
}

std::string AnsiLowerCase(std::string_view text, TCodePage page) {
  if (page == TCodePage::utf8) return FoldUtf8(text, LowerAscii, LowerLetter);
  return FoldBytes(text, LowerTable(page));
}

}  // namespace kestrel
