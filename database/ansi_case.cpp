#include "database/ansi_case.h"

#include <array>

namespace kestrel {
namespace {

constexpr std::array<uint8_t, 256> MakeUpperTable() {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>(c);
  for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<uint8_t>(c - 32);
  for (int c = 0xE0; c <= 0xFF; ++c) t[c] = static_cast<uint8_t>(c - 32);  // а..я
  // The Cyrillic letters outside the two contiguous blocks: small -> capital.
  constexpr std::array<std::array<uint8_t, 2>, 14> pairs = {{
      {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F},
      {0xA2, 0xA1}, {0xBC, 0xA3}, {0xB4, 0xA5}, {0xB8, 0xA8}, {0xBA, 0xAA}, {0xBF, 0xAF}, {0xB3, 0xB2},
  }};
  for (const auto& p : pairs) t[p[0]] = p[1];
  t[0xBE] = 0xBD;  // ѕ
  return t;
}

constexpr std::array<uint8_t, 256> UpperTable = MakeUpperTable();

// Each capital has exactly one small letter, so the upper table inverts.
constexpr std::array<uint8_t, 256> MakeLowerTable() {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>(c);
  for (int c = 0; c < 256; ++c)
    if (UpperTable[c] != c) t[UpperTable[c]] = static_cast<uint8_t>(c);
  return t;
}

constexpr std::array<uint8_t, 256> LowerTable = MakeLowerTable();

}  // namespace

uint8_t AnsiUpperChar(uint8_t c) { return UpperTable[c]; }

std::string AnsiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(UpperTable[static_cast<uint8_t>(c)]);
  return out;
}

uint8_t AnsiLowerChar(uint8_t c) { return LowerTable[c]; }

std::string AnsiLowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(LowerTable[static_cast<uint8_t>(c)]);
  return out;
}

}  // namespace kestrel
