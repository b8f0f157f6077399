#include "formats/pdn_glyphs.h"

#include <array>

#include "formats/pdn_tags.h"
#include "game/glyphs.h"

namespace kestrel {
namespace {

// Numbers written for move glyph codes 1..6 and position glyph codes 1..7;
// 0: not written.
constexpr std::array<int, 8> MoveNags = {0, 3, 1, 5, 6, 2, 4, 0};
constexpr std::array<int, 8> PositionNags = {0, 16, 14, 10, 15, 17, 0, 13};

}  // namespace

std::string PdnGlyphTokens(uint16_t comm) {
  std::string text;
  const int move = MoveGlyphCode(comm);
  if (move < 8 && MoveNags[move] != 0) text += "$" + std::to_string(MoveNags[move]) + " ";
  if ((comm & 0x80) == 0) {
    const int position = PositionGlyphCode(comm);
    if (PositionNags[position] != 0) text += "$" + std::to_string(PositionNags[position]) + " ";
  }
  return text;
}

std::optional<TPdnGlyph> GlyphFromNag(std::string_view token) {
  if (token.size() < 2 || token.front() != '$') return std::nullopt;
  const int64_t n = PdnInteger(token.substr(1));
  if (token[1] < '0' || token[1] > '9') return std::nullopt;
  for (int code = 1; code < 8; ++code)
    if (MoveNags[code] == n) return TPdnGlyph{1, code};
  for (int code = 1; code < 8; ++code)
    if (PositionNags[code] == n) return TPdnGlyph{2, code};
  if (n == 18) return TPdnGlyph{2, 1};
  if (n == 19) return TPdnGlyph{2, 5};
  return std::nullopt;
}

int MoveGlyphFromMark(std::string_view mark) {
  for (int code = 1; code < 8; ++code)
    if (!MoveGlyphs[code].empty() && MoveGlyphs[code] == mark) return code;
  return 0;
}

uint16_t WithGlyph(uint16_t comm, const TPdnGlyph& glyph) {
  const uint16_t code = static_cast<uint16_t>(glyph.code & 0x0F);
  if (glyph.kind == 1) return static_cast<uint16_t>((comm & ~0x000F) | code);
  return static_cast<uint16_t>((comm & ~0x00F0) | (code << 4));
}

}  // namespace kestrel
