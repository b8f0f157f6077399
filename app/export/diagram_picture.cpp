#include "app/export/diagram_picture.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>

#include "app/export/diagram_glyphs.h"

namespace kestrel {
namespace {

// Samples per pixel side: 4 x 4 coverage samples give 17 grey levels.
constexpr int Sub = 4;

struct TEdge {
  double x0, y0, x1, y1;  // picture pixels, y down
  int winding;
};

// Coverage (0..Sub*Sub) of each pixel by the edges, nonzero winding,
// sampled at Sub x Sub points per pixel.
void FillEdges(const std::vector<TEdge>& edges, int width, int height, std::vector<int>& coverage) {
  std::vector<std::pair<double, int>> crossings;
  for (int sy = 0; sy < height * Sub; ++sy) {
    const double y = (sy + 0.5) / Sub;
    crossings.clear();
    for (const TEdge& e : edges) {
      const double lo = std::min(e.y0, e.y1), hi = std::max(e.y0, e.y1);
      if (y < lo || y >= hi) continue;
      const double t = (y - e.y0) / (e.y1 - e.y0);
      crossings.emplace_back(e.x0 + t * (e.x1 - e.x0), e.winding);
    }
    std::sort(crossings.begin(), crossings.end());
    int winding = 0;
    for (size_t k = 0; k + 1 < crossings.size(); ++k) {
      winding += crossings[k].second;
      if (winding == 0) continue;
      // Samples whose centres lie between the two crossings.
      const int from = std::max(0, static_cast<int>(std::ceil(crossings[k].first * Sub - 0.5)));
      const int to = std::min(width * Sub - 1, static_cast<int>(std::ceil(crossings[k + 1].first * Sub - 0.5)) - 1);
      for (int sx = from; sx <= to; ++sx) ++coverage[(sy / Sub) * width + sx / Sub];
    }
  }
}

}  // namespace

TDiagramPicture DrawDiagramPicture(const TBrd& board, int type, const TDiagramLayout& layout, int cellPixels) {
  const std::vector<std::string> lines = FramedDiagramLines(board, type, layout);
  const double scale = static_cast<double>(std::max(cellPixels, 1)) / GlyphUnits;
  int widthUnits = 0;
  for (char ch : lines.front()) widthUnits += DiagramGlyph(ch).advance;
  TDiagramPicture picture;
  picture.width = static_cast<int>(std::lround(widthUnits * scale));
  picture.height = static_cast<int>(lines.size()) * std::max(cellPixels, 1);
  std::vector<TEdge> edges;
  for (size_t row = 0; row < lines.size(); ++row) {
    int penX = 0;
    const double top = static_cast<double>(row) * cellPixels;
    for (char ch : lines[row]) {
      const TGlyphDrawing& glyph = DiagramGlyph(ch);
      for (const TContour& contour : glyph.contours) {
        const std::vector<TOutlinePoint> points = FlattenContour(contour, 2.0);
        for (size_t k = 0; k < points.size(); ++k) {
          const TOutlinePoint& a = points[k];
          const TOutlinePoint& b = points[(k + 1) % points.size()];
          if (a.y == b.y) continue;
          // Glyph y points up from the line's bottom; picture y points down.
          edges.push_back({(penX + a.x) * scale, top + (GlyphUnits - a.y) * scale, (penX + b.x) * scale,
                           top + (GlyphUnits - b.y) * scale, b.y > a.y ? 1 : -1});
        }
      }
      penX += glyph.advance;
    }
  }
  std::vector<int> coverage(static_cast<size_t>(picture.width) * picture.height, 0);
  FillEdges(edges, picture.width, picture.height, coverage);
  picture.grey.resize(coverage.size());
  for (size_t i = 0; i < coverage.size(); ++i)
    picture.grey[i] = static_cast<uint8_t>(255 - std::min(coverage[i], Sub * Sub) * 255 / (Sub * Sub));
  return picture;
}

namespace {

void Put32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  Put32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), typed.size())));
}

}  // namespace

std::string EncodePng(const TDiagramPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.grey.size() != static_cast<size_t>(picture.width) * picture.height)
    return {};
  std::string raw;
  raw.reserve((picture.width + 1) * static_cast<size_t>(picture.height));
  for (int y = 0; y < picture.height; ++y) {
    raw += '\0';  // no filter
    raw.append(reinterpret_cast<const char*>(picture.grey.data()) + static_cast<size_t>(y) * picture.width,
               picture.width);
  }
  uLongf packedSize = compressBound(raw.size());
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                raw.size(), 9) != Z_OK)
    return {};
  packed.resize(packedSize);
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  Put32(header, static_cast<uint32_t>(picture.width));
  Put32(header, static_cast<uint32_t>(picture.height));
  header += std::string("\x08\x00\x00\x00\x00", 5);  // 8 bits, greyscale, deflate, no filter, no interlace
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", packed);
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace kestrel
