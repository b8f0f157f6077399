// Annotation glyphs as numeric annotation glyph tokens ("$1") and as the
// marks some files put after a move ("!", "?!").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// The glyph a "$n" number stands for.
struct TPdnGlyph {
  int kind;  // 1 move glyph (bits 0-3 of comm), 2 position glyph (bits 4-7)
  int code;
};

// The tokens written for the glyphs of `comm`, each followed by a blank:
// the move glyph, then the position glyph unless bit 7 of comm is set.
std::string PdnGlyphTokens(uint16_t comm);

// The glyph of "$n"; nullopt for other numbers and for text that is no
// glyph token.
std::optional<TPdnGlyph> GlyphFromNag(std::string_view token);

// Move glyph code of a mark "!!", "!", "!?", "?!", "?", "??"; 0 for others.
int MoveGlyphFromMark(std::string_view mark);

// `comm` with the glyph put in place of the earlier one of its kind.
uint16_t WithGlyph(uint16_t comm, const TPdnGlyph& glyph);

}  // namespace kestrel
