#include <gtest/gtest.h>

#include <QImage>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <sstream>

#include "app/board/board_geometry.h"
#include "app/ui/board_renderer.h"
#include "app/ui/command_line_tools.h"
#include "app/ui/figures.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

using Kind = ToolRequest::Kind;

QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

TEST(ToolOptions, Parsing) {
  EXPECT_EQ(ParseToolRequest({}).kind, Kind::None);
  EXPECT_EQ(ParseToolRequest({"-platform", "offscreen"}).kind, Kind::None);  // left to the toolkit
  EXPECT_EQ(ParseToolRequest({"--help"}).kind, Kind::Help);

  const ToolRequest r = ParseToolRequest(
      {"--diagram", "x.png", "--variant", "international", "--fen", "W:W31:B20", "--reversed", "--coords", "--size", "460"});
  EXPECT_EQ(r.kind, Kind::Diagram);
  EXPECT_EQ(r.output, "x.png");
  EXPECT_EQ(r.type, gtInternational);
  EXPECT_EQ(r.fen, "W:W31:B20");
  EXPECT_TRUE(r.reversed);
  EXPECT_TRUE(r.coords);
  EXPECT_EQ(r.size, 460);
  EXPECT_EQ(ParseToolRequest({"--diagram", "x.png", "--variant", "10"}).type, gtSpantsiretti);

  const ToolRequest f = ParseToolRequest({"--write-figures", "dir", "--style", "flat"});
  EXPECT_EQ(f.kind, Kind::WriteFigures);
  EXPECT_EQ(f.style, "flat");

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--diagram"}, {"--diagram", "x.png", "--variant"}, {"--diagram", "x.png", "--variant", "chess"},
        {"--diagram", "x.png", "--variant", "13"}, {"--diagram", "x.png", "--size", "12"},
        {"--diagram", "x.png", "--size", "46O"}, {"--diagram", "x.png", "--bogus"},
        {"--diagram", "a.png", "--diagram", "b.png"}, {"--write-figures", "d", "--coords"}, {"--fen", "W:W1:B2", "--diagram"}}) {
    const ToolRequest e = ParseToolRequest(bad);
    EXPECT_EQ(e.kind, Kind::Error) << bad.back();
    EXPECT_FALSE(e.error.empty());
  }
}

class DiagramTool : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return RunTool(ParseToolRequest(args), dir.path(), out, err);
  }
  testing::TempDir dir;
  std::ostringstream out, err;
};

TEST_F(DiagramTool, WritesTheBoardPictureAsPng) {
  const auto png = dir.path() / "start.png";
  ASSERT_EQ(Run({"--diagram", png.string()}), 0) << err.str();
  QImage image(Q(png));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(920, 920));
  // No figure files in this program folder: said, and the built-in ones drawn.
  EXPECT_NE(err.str().find("ws.bmp"), std::string::npos);

  BoardScene scene;
  scene.board = InitialPosition(gtRussian).b;
  BoardColors colors;
  colors.background = image.pixelColor(0, 0);
  const QImage expected = DrawBoardImage(scene, colors, FigureSet());
  EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
}

TEST_F(DiagramTool, PositionFromFenReversedWithCoordinates) {
  const auto png = dir.path() / "fen.png";
  ASSERT_EQ(Run({"--diagram", png.string(), "--variant", "Russian", "--fen", "W:WKa1:Bh8", "--reversed", "--coords"}), 0)
      << err.str();
  const QImage image(Q(png));
  ASSERT_EQ(image.size(), QSize(920, 920));
  BoardScene scene;
  scene.board[1] = WhiteKing;
  scene.board[32] = BlackMan;
  scene.reversed = true;
  scene.showCoords = true;
  BoardColors colors;
  EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32),
            DrawBoardImage(scene, colors, FigureSet()).convertToFormat(QImage::Format_RGB32));
  // The king on a1 is in the top-right corner of the reversed board.
  const QColor corner = image.pixelColor(880 - 52, 40 + 52);
  EXPECT_NE(corner, colors.dark);
}

TEST_F(DiagramTool, SizesStylesAndFailures) {
  const auto small = dir.path() / "small.png";
  ASSERT_EQ(Run({"--diagram", small.string(), "--variant", "Canadian", "--size", "230"}), 0) << err.str();
  EXPECT_EQ(QImage(Q(small)).size(), QSize(230, 230));

  // A figure set from the program folder.
  ASSERT_TRUE(WriteBuiltinFigureSet(Q(dir.path() / "Pics" / "flat"), "flat"));
  const auto flat = dir.path() / "flat.png";
  ASSERT_EQ(Run({"--diagram", flat.string(), "--style", "flat"}), 0);
  EXPECT_TRUE(err.str().empty()) << err.str();

  EXPECT_EQ(Run({"--diagram", (dir.path() / "bad.png").string(), "--fen", "W:W99:B1"}), 2);
  EXPECT_NE(err.str().find("FEN"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "bad.png"));
  EXPECT_EQ(Run({"--diagram", (dir.path() / "no" / "such" / "folder.png").string()}), 1);
  EXPECT_EQ(Run({"--diagram", "x.png", "--variant", "nine"}), 2);
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out.str().find("--diagram"), std::string::npos);
}

TEST_F(DiagramTool, WritesFigureSets) {
  const auto folder = dir.path() / "set";
  ASSERT_EQ(Run({"--write-figures", folder.string(), "--style", "flat"}), 0) << err.str();
  for (const char* name : {"ws.bmp", "bs.bmp", "wk.bmp", "bk.bmp"}) {
    QImage image(Q(folder / name));
    EXPECT_EQ(image.size(), QSize(70, 70)) << name;
    EXPECT_TRUE(image.hasAlphaChannel()) << name;
  }
  EXPECT_EQ(Run({"--write-figures", folder.string(), "--style", "marble"}), 2);
}

TEST_F(DiagramTool, ProgramRunsWithoutADisplay) {
  const QString program = QString::fromUtf8(KESTREL_PROGRAM_DIR) + "/kestrel";
  ASSERT_TRUE(QFileInfo::exists(program));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("QT_QPA_PLATFORM");
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  QProcess process;
  process.setProcessEnvironment(env);
  const auto png = dir.path() / "e2e.png";
  process.start(program, {"--diagram", Q(png), "--variant", "Spantsiretti", "--coords"});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_EQ(QImage(Q(png)).size(), QSize(920, 920));
}

}  // namespace
}  // namespace kestrel
