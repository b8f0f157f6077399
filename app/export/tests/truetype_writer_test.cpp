// The diagram font: its tables read back, and the shipped file being what
// the generator makes.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/export/diagram_glyphs.h"
#include "app/export/truetype_writer.h"

namespace kestrel {
namespace {

uint32_t Be(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int k = 0; k < bytes; ++k) v = v << 8 | static_cast<unsigned char>(s.at(at + k));
  return v;
}

struct Table {
  size_t offset, length;
  uint32_t checksum;
};

uint32_t Sum(const std::string& s, size_t from, size_t length) {
  uint32_t sum = 0;
  for (size_t i = 0; i < length; i += 4)
    for (int k = 0; k < 4; ++k)
      sum += static_cast<uint32_t>(i + k < length ? static_cast<unsigned char>(s[from + i + k]) : 0) << (24 - 8 * k);
  return sum;
}

// Glyph index of a character by a walk over the format 4 segments.
unsigned GlyphOf(const std::string& font, size_t cmap, unsigned ch) {
  const size_t sub = cmap + Be(font, cmap + 8, 4);
  const unsigned segments = Be(font, sub + 6, 2) / 2;
  const size_t ends = sub + 14, starts = ends + 2 * segments + 2, deltas = starts + 2 * segments;
  for (unsigned k = 0; k < segments; ++k)
    if (ch <= Be(font, ends + 2 * k, 2))
      return ch >= Be(font, starts + 2 * k, 2) ? (ch + Be(font, deltas + 2 * k, 2)) & 0xFFFF : 0;
  return 0;
}

TEST(DiagramFont, TablesReadBack) {
  const std::string font = BuildDiagramFont();
  EXPECT_EQ(font, BuildDiagramFont()) << "the same bytes every time";
  ASSERT_EQ(Be(font, 0, 4), 0x00010000u);
  std::map<std::string, Table> tables;
  const unsigned n = Be(font, 4, 2);
  for (unsigned i = 0; i < n; ++i) {
    const size_t at = 12 + 16 * i;
    tables[font.substr(at, 4)] = {Be(font, at + 8, 4), Be(font, at + 12, 4), Be(font, at + 4, 4)};
  }
  for (const char* tag : {"OS/2", "cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "name", "post"})
    ASSERT_TRUE(tables.count(tag)) << tag;
  for (const auto& [tag, t] : tables) {
    ASSERT_LE(t.offset + t.length, font.size()) << tag;
    if (tag != "head") {
      EXPECT_EQ(Sum(font, t.offset, t.length), t.checksum) << tag;
    }
  }
  EXPECT_EQ(Sum(font, 0, font.size()), 0xB1B0AFBAu) << "whole-font checksum";

  const auto& glyphs = DiagramGlyphs();
  EXPECT_EQ(Be(font, tables["maxp"].offset + 4, 2), glyphs.size());
  EXPECT_EQ(Be(font, tables["head"].offset + 18, 2), static_cast<unsigned>(GlyphUnits));
  // Every diagram character has its glyph, with the drawing's advance and
  // contour count; other characters get glyph 0.
  const size_t loca = tables["loca"].offset, glyf = tables["glyf"].offset, hmtx = tables["hmtx"].offset;
  for (const char ch : std::string(" 12345678acefi")) {
    const unsigned g = GlyphOf(font, tables["cmap"].offset, static_cast<unsigned char>(ch));
    ASSERT_GT(g, 0u) << ch;
    ASSERT_LT(g, glyphs.size());
    EXPECT_EQ(glyphs[g].character, ch);
    EXPECT_EQ(Be(font, hmtx + 4 * g, 2), static_cast<unsigned>(glyphs[g].advance)) << ch;
    const size_t from = Be(font, loca + 4 * g, 4), to = Be(font, loca + 4 * g + 4, 4);
    if (glyphs[g].contours.empty()) {
      EXPECT_EQ(from, to) << ch;
    } else {
      ASSERT_LT(from, to) << ch;
      EXPECT_EQ(Be(font, glyf + from, 2), glyphs[g].contours.size()) << ch;
    }
  }
  for (const char ch : std::string("bAz9")) EXPECT_EQ(GlyphOf(font, tables["cmap"].offset, ch), 0u) << ch;
}

TEST(DiagramFont, ShippedFileIsTheGeneratorsOutput) {
  const std::filesystem::path shipped = std::filesystem::path(KESTREL_SOURCE_DIR) / "data" / "Fonts" / "KestrelDraughts.ttf";
  std::ifstream in(shipped, std::ios::binary);
  ASSERT_TRUE(in) << shipped;
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_TRUE(bytes == BuildDiagramFont()) << "run: kestrel-cli font build data/Fonts/KestrelDraughts.ttf";
}

TEST(DiagramFont, CurvesFlattenWithinTolerance) {
  // Every point of a flattened circle lies close to the circle.
  const TGlyphDrawing& man = DiagramGlyph('e');
  ASSERT_GE(man.contours.size(), 2u);
  const TContour& disc = man.contours[1];
  double r = 0;
  int cx = GlyphUnits / 2, cy = GlyphUnits / 2;
  for (const TOutlinePoint& p : disc)
    if (p.onCurve) r = std::hypot(p.x - cx, p.y - cy);
  const auto flat = FlattenContour(disc, 1.0);
  EXPECT_GT(flat.size(), 16u);
  for (const TOutlinePoint& p : flat) EXPECT_NEAR(std::hypot(p.x - cx, p.y - cy), r, 2.5);
}

}  // namespace
}  // namespace kestrel
