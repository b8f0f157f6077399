// GIF files decoded back with giflib's reader.
#include <gtest/gtest.h>
#include <gif_lib.h>

#include <cstring>
#include <random>
#include <set>

#include "app/export/diagram_size.h"
#include "app/export/gif_writer.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

struct Decoded {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
};

Decoded DecodeGif(const std::string& bytes) {
  struct Source {
    const std::string* bytes;
    size_t at = 0;
  } source{&bytes};
  const auto read = [](GifFileType* gif, GifByteType* into, int n) {
    auto* s = static_cast<Source*>(gif->UserData);
    const int take = static_cast<int>(std::min<size_t>(n, s->bytes->size() - s->at));
    std::memcpy(into, s->bytes->data() + s->at, take);
    s->at += take;
    return take;
  };
  int error = 0;
  GifFileType* gif = DGifOpen(&source, read, &error);
  Decoded d;
  if (!gif) return d;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    d.width = image.ImageDesc.Width;
    d.height = image.ImageDesc.Height;
    for (int i = 0; i < d.width * d.height; ++i) {
      const GifColorType c = map->Colors[image.RasterBits[i]];
      d.rgb.push_back(0xFF000000u | c.Red << 16 | c.Green << 8 | c.Blue);
    }
  }
  DGifCloseFile(gif, &error);
  return d;
}

TEST(GifWriter, FewColoursComeBackExactly) {
  std::mt19937 random(7);
  for (const int colours : {1, 2, 200, 256}) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < colours; ++i) palette.push_back(0xFF000000u | (random() & 0xFFFFFF));
    const int w = 37, h = 23;
    std::vector<uint32_t> pixels;
    for (int i = 0; i < w * h; ++i) pixels.push_back(palette[random() % colours]);
    const Decoded d = DecodeGif(EncodeGif(w, h, pixels));
    ASSERT_EQ(d.width, w) << colours;
    ASSERT_EQ(d.height, h);
    EXPECT_EQ(d.rgb, pixels) << colours << " colours";
  }
}

TEST(GifWriter, ManyColoursStayClose) {
  // A smooth gradient of 65536 colours: 256 representatives keep every
  // pixel within a few levels per channel.
  const int w = 256, h = 256;
  std::vector<uint32_t> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(0xFF000000u | x << 16 | y << 8 | (x + y) / 2);
  const Decoded d = DecodeGif(EncodeGif(w, h, pixels));
  ASSERT_EQ(d.rgb.size(), pixels.size());
  int worst = 0;
  for (size_t i = 0; i < pixels.size(); ++i)
    for (int shift : {0, 8, 16})
      worst = std::max(worst, std::abs(static_cast<int>((pixels[i] >> shift) & 0xFF) -
                                       static_cast<int>((d.rgb[i] >> shift) & 0xFF)));
  EXPECT_LE(worst, 24);
  EXPECT_EQ(GifPalette(pixels).size(), 256u);
}

TEST(GifWriter, BadInputAndFileNames) {
  EXPECT_TRUE(EncodeGif(0, 5, {}).empty());
  const std::vector<uint32_t> three(3);
  EXPECT_TRUE(EncodeGif(2, 2, three).empty());
  testing::TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteGifFile(dir.path() / "missing" / "a.gif", 1, 1, std::vector<uint32_t>(1), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  for (const auto& [chosen, written] : std::vector<std::pair<std::string, std::string>>{
           {"board.GIF", "board.gif"}, {"board.txt", "board.gif"}, {"board", "board.gif"},
           {"/a.b/board", "/a.b/board.gif"}, {"/a/.gif", "/a/.gif.gif"}})
    EXPECT_EQ(GifExportFileName(chosen), written) << chosen;
}

TEST(GifWriter, DiagramSizes) {
  std::set<int> sizes;
  for (int n = 0; n <= 1000; ++n)
    if (IsDiagramSize(n)) sizes.insert(n);
  EXPECT_EQ(sizes, (std::set<int>{115, 230, 345, 460, 575, 690, 805, 920}));
  EXPECT_EQ(NearestDiagramSize(10), 115);
  EXPECT_EQ(NearestDiagramSize(300), 345);
  EXPECT_EQ(NearestDiagramSize(5000), 920);
}

}  // namespace
}  // namespace kestrel
