// A TrueType font file written from glyph outlines: the tables a font needs
// (cmap, glyf, head, hhea, hmtx, loca, maxp, name, OS/2, post) laid out by
// hand, so that the diagram font is made by the program's own code.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/export/diagram_glyphs.h"

namespace kestrel {

struct TFontNames {
  std::string family;
  std::string style = "Regular";
  std::string postScript;
  std::string version = "Version 1.000";
  std::string copyright;
};

// The font's bytes. The first glyph stands for every character without one
// (its `character` is ignored); the others map their characters. Every
// glyph's advance is its width; the line is GlyphUnits high, all above the
// baseline, so that lines of diagram characters touch.
std::string BuildTrueTypeFont(const std::vector<TGlyphDrawing>& glyphs, const TFontNames& names);

// "Kestrel Draughts" from the diagram drawings; the same bytes every time.
std::string BuildDiagramFont();

bool WriteDiagramFont(const std::filesystem::path& path, std::string* error = nullptr);

}  // namespace kestrel
