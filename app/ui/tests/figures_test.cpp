#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <cmath>
#include <fstream>
#include <random>
#include <string>

#include "app/board/bmp_writer.h"
#include "app/ui/figures.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

double Luminance(const QImage& image) {
  double sum = 0, weight = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      sum += c.alphaF() * (0.3 * c.redF() + 0.59 * c.greenF() + 0.11 * c.blueF());
      weight += c.alphaF();
    }
  return sum / weight;
}

// Mean difference per channel of two pictures of the same size.
double MeanDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
  double sum = 0;
  for (int j = 0; j < x.height(); ++j)
    for (int i = 0; i < x.width(); ++i) {
      const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) +
             std::abs(qAlpha(p) - qAlpha(q));
    }
  return sum / (4.0 * x.width() * x.height());
}

int GoldPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      n += c.alpha() == 255 && c.red() > c.blue() + 90 && c.green() > c.blue() + 40;
    }
  return n;
}

TEST(BuiltinFigures, LookLikeDraughtsPieces) {
  for (const QString& style : BuiltinFigureStyles()) {
    SCOPED_TRACE(style.toStdString());
    std::array<QImage, 4> f;
    for (int k = 0; k < 4; ++k) {
      f[k] = DrawBuiltinFigure(static_cast<FigureKind>(k), style);
      ASSERT_EQ(f[k].size(), QSize(70, 70));
      EXPECT_EQ(f[k].pixelColor(0, 0).alpha(), 0);     // round, on a clear background
      EXPECT_EQ(f[k].pixelColor(69, 69).alpha(), 0);
      EXPECT_EQ(f[k].pixelColor(35, 35).alpha(), 255);
      EXPECT_EQ(f[k].pixelColor(35, 7).alpha(), 255);  // a disc most of the square wide
    }
    EXPECT_GT(Luminance(f[0]), Luminance(f[1]) + 0.4);  // white man light, black man dark
    EXPECT_GT(Luminance(f[2]), Luminance(f[3]) + 0.2);
    // Kings carry a gold crown that men do not.
    EXPECT_EQ(GoldPixels(f[0]), 0);
    EXPECT_EQ(GoldPixels(f[1]), 0);
    EXPECT_GT(GoldPixels(f[2]), 150);
    EXPECT_GT(GoldPixels(f[3]), 150);
  }
  EXPECT_NE(DrawBuiltinFigure(FigureKind::WhiteMan, "default"), DrawBuiltinFigure(FigureKind::WhiteMan, "flat"));
  EXPECT_EQ(DrawBuiltinFigure(FigureKind::WhiteMan, "no such style"), DrawBuiltinFigure(FigureKind::WhiteMan, "default"));
}

TEST(FigureFiles, WrittenSetReadsBackAsDrawn) {
  testing::TempDir dir;
  const QString folder = Q(dir.path() / "sets" / "flat");
  QString error;
  ASSERT_TRUE(WriteBuiltinFigureSet(folder, "flat", &error)) << error.toStdString();
  FigureSet set;
  const FigureFiles files = FigureFilesOfStyle(Q(dir.path() / "sets"), "flat");
  EXPECT_TRUE(files[0].endsWith("ws.bmp") && files[1].endsWith("bs.bmp") && files[2].endsWith("wk.bmp") &&
              files[3].endsWith("bk.bmp"));
  EXPECT_TRUE(set.Load(files).isEmpty());
  for (int k = 0; k < 4; ++k) {
    const QImage drawn = DrawBuiltinFigure(static_cast<FigureKind>(k), "flat");
    EXPECT_LT(MeanDifference(set.Picture(static_cast<FigureKind>(k)), drawn), 0.05) << k;
    EXPECT_TRUE(set.Picture(static_cast<FigureKind>(k)).hasAlphaChannel());
  }
}

TEST(FigureFiles, ShippedSetsLoadAndMatchTheirGenerator) {
  const std::filesystem::path pics = std::filesystem::path(KESTREL_PROGRAM_DIR) / "Pics";
  for (const QString& style : {QString("default"), QString("flat")}) {
    FigureSet set;
    const QStringList messages = set.Load(FigureFilesOfStyle(Q(pics), style));
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
    for (int k = 0; k < 4; ++k) {
      const QImage& picture = set.Picture(static_cast<FigureKind>(k));
      EXPECT_EQ(picture.size(), QSize(70, 70));
      // Regenerate with: kestrel --write-figures data/Pics/<style> --style <style>
      EXPECT_LT(MeanDifference(picture, DrawBuiltinFigure(static_cast<FigureKind>(k), style)), 1.0)
          << style.toStdString() << " figure " << k << " is out of date";
    }
  }
  EXPECT_TRUE(FigureStyleNames(Q(pics)).contains("default"));
  EXPECT_TRUE(FigureStyleNames(Q(pics)).contains("flat"));
}

TEST(FigureFiles, PicturesWithoutAlphaUseTheirCornerColourAsBackground) {
  testing::TempDir dir;
  QImage image(70, 70, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 255));
  for (int y = 20; y < 50; ++y)
    for (int x = 20; x < 50; ++x) image.setPixelColor(x, y, QColor(200, 10, 10));
  const QString path = Q(dir.path() / "keyed.bmp");
  ASSERT_TRUE(image.save(path, "BMP"));  // 24 bits, no alpha
  const std::optional<QImage> read = ReadFigureFile(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(read->pixelColor(69, 0).alpha(), 0);
  EXPECT_EQ(read->pixelColor(35, 35), QColor(200, 10, 10));

  // 32-bit files whose alpha bytes are all zero meant no alpha.
  std::vector<uint32_t> px(16 * 16, 0x00102030);
  px[8 * 16 + 8] = 0x00C80A0A;
  const std::filesystem::path zeroAlpha = dir.path() / "zero.bmp";
  ASSERT_TRUE(WriteBmp32(zeroAlpha, 16, 16, px));
  const std::optional<QImage> z = ReadFigureFile(Q(zeroAlpha));
  ASSERT_TRUE(z);
  EXPECT_EQ(z->pixelColor(8, 8), QColor(200, 10, 10));
  EXPECT_EQ(z->pixelColor(0, 15).alpha(), 0);
}

TEST(FigureFiles, MissingAndDamagedFilesKeepThePicturesAndSayWhich) {
  testing::TempDir dir;
  const auto d = dir.path();
  std::vector<uint32_t> px(70 * 70, 0xFF3060A0);
  const std::string good = EncodeBmp32(70, 70, px);
  WriteBytes(d / "empty.bmp", "");
  WriteBytes(d / "garbage.bmp", "this is not a picture at all, just words in a file");
  WriteBytes(d / "truncated.bmp", good.substr(0, 400));
  std::string huge = good;
  huge[18] = huge[19] = huge[20] = huge[22] = huge[23] = huge[24] = '\x7F';  // 8 million pixels a side
  WriteBytes(d / "huge.bmp", huge);
  std::string negative = good;
  negative[21] = '\xFF';  // width below zero
  WriteBytes(d / "negative.bmp", negative);
  std::filesystem::create_directories(d / "folder.bmp");
  QImage wide(1000, 10, QImage::Format_RGB32);
  wide.fill(Qt::red);
  wide.save(Q(d / "wide.bmp"), "BMP");

  for (const char* name : {"missing.bmp", "empty.bmp", "garbage.bmp", "truncated.bmp", "huge.bmp", "negative.bmp",
                           "folder.bmp", "wide.bmp"}) {
    SCOPED_TRACE(name);
    FigureSet set;
    const QImage before = set.Picture(FigureKind::BlackKing);
    const QString path = Q(d / name);
    const QStringList messages = set.Load(FigureKind::BlackKing, path);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(name)) << messages[0].toStdString();
    EXPECT_EQ(set.Picture(FigureKind::BlackKing), before);
  }

  // A whole set with one file missing: three loaded, one message naming it.
  ASSERT_TRUE(WriteBuiltinFigureSet(Q(d / "Pics" / "partial"), "flat"));
  std::filesystem::remove(d / "Pics" / "partial" / "wk.bmp");
  FigureSet set;
  const QStringList messages = set.Load(FigureFilesOfStyle(Q(d / "Pics"), "partial"));
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains("wk.bmp"));
  EXPECT_EQ(set.Picture(FigureKind::WhiteKing), DrawBuiltinFigure(FigureKind::WhiteKing, "default"));
  EXPECT_LT(MeanDifference(set.Picture(FigureKind::WhiteMan), DrawBuiltinFigure(FigureKind::WhiteMan, "flat")), 0.05);
}

TEST(FigureFiles, NoDamagedBitmapCrashesTheReader) {
  testing::TempDir dir;
  std::vector<uint32_t> px(70 * 70);
  for (size_t i = 0; i < px.size(); ++i) px[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u);
  const std::string good = EncodeBmp32(70, 70, px);
  QImage image24(33, 17, QImage::Format_RGB32);
  image24.fill(Qt::darkCyan);
  image24.save(Q(dir.path() / "24.bmp"), "BMP");
  const std::string good24 = ReadBytes(dir.path() / "24.bmp");

  std::mt19937 rng(20240611);
  const auto path = dir.path() / "damaged.bmp";
  int read = 0, refused = 0;
  auto check = [&](const std::string& bytes) {
    WriteBytes(path, bytes);
    QString why;
    if (const std::optional<QImage> image = ReadFigureFile(Q(path), &why)) {
      EXPECT_LE(image->width(), 920);
      EXPECT_LE(image->height(), 920);
      ++read;
    } else {
      EXPECT_FALSE(why.isEmpty());
      ++refused;
    }
  };
  for (const std::string& source : {good, good24}) {
    for (size_t len = 0; len < 200 && len < source.size(); ++len) check(source.substr(0, len));
    for (size_t len = 200; len < source.size(); len += 97) check(source.substr(0, len));
    for (int i = 0; i < 200; ++i) {
      std::string bytes = source;
      const int changes = 1 + static_cast<int>(rng() % 4);
      for (int c = 0; c < changes; ++c) bytes[rng() % 140] = static_cast<char>(rng());  // headers
      check(bytes);
    }
  }
  std::string noise(5000, '\0');
  for (int i = 0; i < 50; ++i) {
    for (char& ch : noise) ch = static_cast<char>(rng());
    noise[0] = 'B';
    noise[1] = 'M';
    check(noise);
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(read, 0);
}

TEST(FigureFiles, StyleNamesAreTheSortedSubfolders) {
  testing::TempDir dir;
  for (const char* name : {"zeta", "Alpha", "mid"}) std::filesystem::create_directories(dir.path() / name);
  WriteBytes(dir.path() / "loose.bmp", "x");
  EXPECT_EQ(FigureStyleNames(Q(dir.path())), QStringList({"Alpha", "mid", "zeta"}));
  EXPECT_TRUE(FigureStyleNames(Q(dir.path() / "none")).isEmpty());
}

}  // namespace
}  // namespace kestrel
