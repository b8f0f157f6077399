#include "app/export/truetype_writer.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>

#include "app/export/rtf_writer.h"
#include "app/settings/atomic_file.h"

namespace kestrel {
namespace {

class TBytes {
 public:
  void U8(unsigned v) { s_ += static_cast<char>(v & 0xFF); }
  void U16(unsigned v) {
    U8(v >> 8);
    U8(v);
  }
  void S16(int v) { U16(static_cast<unsigned>(v) & 0xFFFF); }
  void U32(uint32_t v) {
    U16(v >> 16);
    U16(v & 0xFFFF);
  }
  void Zeros(size_t n) { s_.append(n, '\0'); }
  void Append(const std::string& bytes) { s_ += bytes; }
  void PadTo4() {
    while (s_.size() % 4) U8(0);
  }
  size_t Size() const { return s_.size(); }
  void PutU32At(size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) s_[at + k] = static_cast<char>((v >> (24 - 8 * k)) & 0xFF);
  }
  const std::string& Str() const { return s_; }

 private:
  std::string s_;
};

uint32_t Checksum(const std::string& data) {
  uint32_t sum = 0;
  for (size_t i = 0; i < data.size(); i += 4) {
    uint32_t word = 0;
    for (size_t k = 0; k < 4; ++k)
      word = word << 8 | (i + k < data.size() ? static_cast<unsigned char>(data[i + k]) : 0u);
    sum += word;
  }
  return sum;
}

struct TBounds {
  int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  bool empty = true;
};

TBounds BoundsOf(const TGlyphDrawing& g) {
  TBounds b{INT_MAX, INT_MAX, INT_MIN, INT_MIN, true};
  for (const TContour& c : g.contours)
    for (const TOutlinePoint& p : c) {
      b.xMin = std::min(b.xMin, p.x), b.yMin = std::min(b.yMin, p.y);
      b.xMax = std::max(b.xMax, p.x), b.yMax = std::max(b.yMax, p.y);
      b.empty = false;
    }
  return b.empty ? TBounds{} : b;
}

// A simple glyph: contour ends, no instructions, flags and coordinates
// written plainly (16-bit deltas), which every reader accepts.
std::string GlyphData(const TGlyphDrawing& g) {
  if (g.contours.empty()) return {};
  const TBounds b = BoundsOf(g);
  TBytes out;
  out.S16(static_cast<int>(g.contours.size()));
  out.S16(b.xMin), out.S16(b.yMin), out.S16(b.xMax), out.S16(b.yMax);
  int end = -1;
  for (const TContour& c : g.contours) out.U16(end += static_cast<int>(c.size()));
  out.U16(0);  // no instructions
  for (const TContour& c : g.contours)
    for (const TOutlinePoint& p : c) out.U8(p.onCurve ? 1 : 0);
  int last = 0;
  for (const TContour& c : g.contours)
    for (const TOutlinePoint& p : c) out.S16(p.x - last), last = p.x;
  last = 0;
  for (const TContour& c : g.contours)
    for (const TOutlinePoint& p : c) out.S16(p.y - last), last = p.y;
  out.PadTo4();
  return out.Str();
}

std::string NameTable(const TFontNames& names) {
  const std::string unique = names.family + " " + names.style + " " + names.version;
  const std::vector<std::pair<int, std::string>> records = {
      {0, names.copyright}, {1, names.family},  {2, names.style},          {3, unique},
      {4, names.family},    {5, names.version}, {6, names.postScript}};
  TBytes head, strings;
  head.U16(0);
  head.U16(static_cast<unsigned>(records.size()));
  head.U16(static_cast<unsigned>(6 + 12 * records.size()));
  for (const auto& [id, text] : records) {
    // Windows, Unicode BMP, US English: UTF-16BE of ASCII text.
    head.U16(3), head.U16(1), head.U16(0x409), head.U16(id);
    head.U16(static_cast<unsigned>(2 * text.size()));
    head.U16(static_cast<unsigned>(strings.Size()));
    for (unsigned char c : text) strings.U16(c < 0x80 ? c : '?');
  }
  return head.Str() + strings.Str();
}

// Format 4: one segment per mapped character, then the closing segment.
std::string CmapTable(const std::vector<TGlyphDrawing>& glyphs) {
  std::map<unsigned, unsigned> map;  // character -> glyph
  for (size_t i = 1; i < glyphs.size(); ++i) map[static_cast<unsigned char>(glyphs[i].character)] = i;
  const unsigned segments = static_cast<unsigned>(map.size()) + 1;
  unsigned power = 1, log = 0;
  while (power * 2 <= segments) power *= 2, ++log;
  TBytes sub;
  sub.U16(4);
  sub.U16(16 + 8 * segments);
  sub.U16(0);
  sub.U16(2 * segments), sub.U16(2 * power), sub.U16(log), sub.U16(2 * segments - 2 * power);
  for (const auto& [ch, glyph] : map) sub.U16(ch);
  sub.U16(0xFFFF);
  sub.U16(0);  // reserved pad
  for (const auto& [ch, glyph] : map) sub.U16(ch);
  sub.U16(0xFFFF);
  for (const auto& [ch, glyph] : map) sub.U16((glyph - ch) & 0xFFFF);
  sub.U16(1);
  for (unsigned k = 0; k < segments; ++k) sub.U16(0);  // idRangeOffset
  TBytes table;
  table.U16(0);
  table.U16(1);
  table.U16(3), table.U16(1), table.U32(12);
  table.Append(sub.Str());
  return table.Str();
}

}  // namespace

std::string BuildTrueTypeFont(const std::vector<TGlyphDrawing>& glyphs, const TFontNames& names) {
  std::map<std::string, std::string> tables;
  TBounds all{INT_MAX, INT_MAX, INT_MIN, INT_MIN, true};
  int maxPoints = 0, maxContours = 0, maxAdvance = 0, minLsb = INT_MAX, minRsb = INT_MAX, maxExtent = 0;
  long advanceSum = 0;
  TBytes glyf, loca, hmtx;
  for (const TGlyphDrawing& g : glyphs) {
    loca.U32(static_cast<uint32_t>(glyf.Size()));
    glyf.Append(GlyphData(g));
    const TBounds b = BoundsOf(g);
    int points = 0;
    for (const TContour& c : g.contours) points += static_cast<int>(c.size());
    maxPoints = std::max(maxPoints, points);
    maxContours = std::max(maxContours, static_cast<int>(g.contours.size()));
    maxAdvance = std::max(maxAdvance, g.advance);
    advanceSum += g.advance;
    hmtx.U16(g.advance);
    hmtx.S16(b.xMin);
    if (!b.empty) {
      all.xMin = std::min(all.xMin, b.xMin), all.yMin = std::min(all.yMin, b.yMin);
      all.xMax = std::max(all.xMax, b.xMax), all.yMax = std::max(all.yMax, b.yMax);
      minLsb = std::min(minLsb, b.xMin);
      minRsb = std::min(minRsb, g.advance - b.xMax);
      maxExtent = std::max(maxExtent, b.xMax);
    }
  }
  loca.U32(static_cast<uint32_t>(glyf.Size()));
  const unsigned count = static_cast<unsigned>(glyphs.size());
  tables["glyf"] = glyf.Str();
  tables["loca"] = loca.Str();
  tables["hmtx"] = hmtx.Str();

  TBytes head;
  head.U32(0x00010000), head.U32(0x00010000);
  head.U32(0);  // checksum adjustment, set at the end
  head.U32(0x5F0F3CF5);
  head.U16(0x000B);  // baseline at 0, left side bearing at 0, integer scaling
  head.U16(GlyphUnits);
  head.Zeros(16);  // created and modified left at the epoch: the same bytes every build
  head.S16(all.xMin), head.S16(all.yMin), head.S16(all.xMax), head.S16(all.yMax);
  head.U16(0), head.U16(8), head.S16(2), head.S16(1), head.S16(0);
  tables["head"] = head.Str();

  TBytes hhea;
  hhea.U32(0x00010000);
  hhea.S16(GlyphUnits), hhea.S16(0), hhea.S16(0);
  hhea.U16(maxAdvance), hhea.S16(minLsb), hhea.S16(minRsb), hhea.S16(maxExtent);
  hhea.S16(1), hhea.S16(0), hhea.S16(0);
  hhea.Zeros(8);
  hhea.S16(0);
  hhea.U16(count);
  tables["hhea"] = hhea.Str();

  TBytes maxp;
  maxp.U32(0x00010000);
  maxp.U16(count), maxp.U16(maxPoints), maxp.U16(maxContours);
  maxp.U16(0), maxp.U16(0), maxp.U16(2);
  maxp.Zeros(16);
  tables["maxp"] = maxp.Str();

  unsigned firstChar = 0xFFFF, lastChar = 0;
  for (size_t i = 1; i < glyphs.size(); ++i) {
    firstChar = std::min<unsigned>(firstChar, static_cast<unsigned char>(glyphs[i].character));
    lastChar = std::max<unsigned>(lastChar, static_cast<unsigned char>(glyphs[i].character));
  }
  TBytes os2;
  os2.U16(4);
  os2.S16(static_cast<int>(advanceSum / std::max<long>(count, 1)));
  os2.U16(400), os2.U16(5), os2.U16(0);  // regular weight and width; installable
  const int u = GlyphUnits;
  os2.S16(u / 2), os2.S16(u / 2), os2.S16(0), os2.S16(u / 8);  // subscript
  os2.S16(u / 2), os2.S16(u / 2), os2.S16(0), os2.S16(u / 2);  // superscript
  os2.S16(u / 20), os2.S16(u / 4);                            // strikeout
  os2.S16(0);
  os2.Zeros(10);                      // PANOSE
  os2.U32(1), os2.U32(0), os2.U32(0), os2.U32(0);  // Basic Latin
  os2.Append("KSTR");
  os2.U16(0xC0);  // regular, line spacing from the typographic metrics
  os2.U16(firstChar), os2.U16(lastChar);
  os2.S16(u), os2.S16(0), os2.S16(0);  // typographic ascender, descender, gap
  os2.U16(u), os2.U16(0);              // Windows ascent and descent
  os2.U32(1), os2.U32(0);              // Latin 1 code page
  os2.S16(u / 2), os2.S16(u);
  os2.U16(0), os2.U16(' '), os2.U16(1);
  tables["OS/2"] = os2.Str();

  TBytes post;
  post.U32(0x00030000);
  post.U32(0);
  post.S16(-u / 10), post.S16(u / 20);
  post.U32(0);
  post.Zeros(16);
  tables["post"] = post.Str();
  tables["name"] = NameTable(names);
  tables["cmap"] = CmapTable(glyphs);

  // The table directory, tables in tag order, each 4-byte aligned.
  const unsigned n = static_cast<unsigned>(tables.size());
  unsigned power = 1, log = 0;
  while (power * 2 <= n) power *= 2, ++log;
  TBytes font;
  font.U32(0x00010000);
  font.U16(n), font.U16(16 * power), font.U16(log), font.U16(16 * n - 16 * power);
  size_t offset = 12 + 16 * n;
  size_t headAt = 0;
  for (const auto& [tag, data] : tables) {
    font.Append(tag);
    font.U32(Checksum(data));
    font.U32(static_cast<uint32_t>(offset));
    font.U32(static_cast<uint32_t>(data.size()));
    if (tag == "head") headAt = offset;
    offset += (data.size() + 3) / 4 * 4;
  }
  for (const auto& [tag, data] : tables) {
    font.Append(data);
    font.PadTo4();
  }
  font.PutU32At(headAt + 8, 0xB1B0AFBA - Checksum(font.Str()));
  return font.Str();
}

std::string BuildDiagramFont() {
  TFontNames names;
  names.family = DiagramFontName;
  names.postScript = "KestrelDraughts";
  names.copyright = "Drawn by the Kestrel Thornby program's font generator";
  return BuildTrueTypeFont(DiagramGlyphs(), names);
}

bool WriteDiagramFont(const std::filesystem::path& path, std::string* error) {
  return WriteFileAtomically(path, BuildDiagramFont(), error);
}

}  // namespace kestrel
