#include "game/glyphs.h"

namespace kestrel {

const std::array<std::string_view, 8> MoveGlyphs = {"", "!!", "!", "!?", "?!", "?", "??", ""};
const std::array<std::string_view, 8> PositionGlyphs = {"", "+-", "+=", "=", "=+", "-+", " x", "~"};
const std::array<std::string_view, 8> BookSigns = {"#", "!!", "!", "!?", "", "?!", "?", "??"};

std::string_view MoveGlyphText(uint16_t comm) {
  const int code = MoveGlyphCode(comm);
  return code < static_cast<int>(MoveGlyphs.size()) ? MoveGlyphs[code] : std::string_view{};
}

std::string_view PositionGlyphText(uint16_t comm) {
  const int code = PositionGlyphCode(comm);
  return code < static_cast<int>(PositionGlyphs.size()) ? PositionGlyphs[code] : std::string_view{};
}

}  // namespace kestrel
