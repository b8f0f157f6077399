// Annotation glyphs of moves and positions, and the signs of book moves.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kestrel {

// Indexed by code 0..7; code 0 is no glyph.
extern const std::array<std::string_view, 8> MoveGlyphs;
extern const std::array<std::string_view, 8> PositionGlyphs;
extern const std::array<std::string_view, 8> BookSigns;

// A move's comm keeps the move glyph in bits 0-3 and the position glyph in 4-7.
constexpr int MoveGlyphCode(uint16_t comm) { return comm & 0x0F; }
constexpr int PositionGlyphCode(uint16_t comm) { return (comm >> 4) & 0x0F; }

// Text of the glyphs in `comm`; codes 8..15 (damaged records) show nothing.
std::string_view MoveGlyphText(uint16_t comm);
std::string_view PositionGlyphText(uint16_t comm);

}  // namespace kestrel
