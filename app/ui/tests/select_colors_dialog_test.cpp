#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>

#include "app/board/board_geometry.h"
#include "app/board/bmp_writer.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/board_panel.h"
#include "app/ui/select_colors_dialog.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// A figure file of one colour, opaque.
void WriteSolid(const std::filesystem::path& p, uint32_t argb) {
  std::filesystem::create_directories(p.parent_path());
  std::vector<uint32_t> px(70 * 70, argb);
  ASSERT_TRUE(WriteBmp32(p, 70, 70, px));
}

class SelectColorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGameType(gtRussian);
    pics = dir.path() / "Pics";
    WriteSolid(pics / "solid" / "ws.bmp", 0xFFDC0000);
    WriteSolid(pics / "solid" / "bs.bmp", 0xFF00C800);
    WriteSolid(pics / "solid" / "wk.bmp", 0xFF0000E6);
    WriteSolid(pics / "solid" / "bk.bmp", 0xFFC800C8);
    WriteSolid(pics / "broken" / "ws.bmp", 0xFF101010);
    std::filesystem::create_directories(pics / "Another");
    app = std::make_unique<KestrelApp>(dir.path(), dir.path());
    panel = std::make_unique<BoardPanel>(*app);
    panel->ApplySettings();
  }

  QColor CentreOfSquare(int square) {
    const ImageRect r = PlaceSquare(square, BoardGeometryFor(32), {}).playable;
    return panel->view().boardImage().pixelColor(r.CentreX(), r.CentreY());
  }

  testing::TempDir dir;
  std::filesystem::path pics;
  std::unique_ptr<KestrelApp> app;
  std::unique_ptr<BoardPanel> panel;
};

TEST_F(SelectColorsTest, StyleListHoldsTheSortedSetFolders) {
  SelectColorsDialog& dialog = panel->selectColorsDialog();
  dialog.Refresh();
  EXPECT_EQ(dialog.styleNames(), QStringList({"Another", "broken", "solid"}));
  EXPECT_EQ(dialog.windowTitle(), "Select colors");
  EXPECT_EQ(dialog.currentStyle(), "");  // the files of Pics/default, not in this list
  dialog.ChooseStyle("solid");
  dialog.Refresh();
  EXPECT_EQ(dialog.currentStyle(), "solid");
}

TEST_F(SelectColorsTest, ChoosingAStyleLoadsItsFourFilesAndMakesThemTheFigureFiles) {
  SelectColorsDialog& dialog = panel->selectColorsDialog();
  dialog.ChooseStyle("solid");
  EXPECT_TRUE(dialog.messages().isEmpty());
  EXPECT_EQ(app->settings().FigWSName, (pics / "solid" / "ws.bmp").string());
  EXPECT_EQ(app->settings().FigBKName, (pics / "solid" / "bk.bmp").string());
  EXPECT_EQ(CentreOfSquare(1), QColor(0xDC, 0, 0));   // white man of the start position
  EXPECT_EQ(CentreOfSquare(32), QColor(0, 0xC8, 0));  // black man
  EXPECT_EQ(panel->view().figures().Picture(FigureKind::BlackKing).pixelColor(35, 35), QColor(0xC8, 0, 0xC8));

  // A set with three files missing: those figures fall back to built-ins,
  // and the dialog names each of them.
  dialog.ChooseStyle("broken");
  ASSERT_EQ(dialog.messages().size(), 3);
  EXPECT_TRUE(dialog.messages().join(" ").contains("bk.bmp"));
  EXPECT_EQ(CentreOfSquare(1), QColor(0x10, 0x10, 0x10));
  EXPECT_EQ(panel->view().figures().Picture(FigureKind::BlackKing),
            DrawBuiltinFigure(FigureKind::BlackKing, "default"));
}

TEST_F(SelectColorsTest, ColourChoicesChangeSettingsAndBoard) {
  SelectColorsDialog& dialog = panel->selectColorsDialog();
  std::optional<QColor> answer = QColor(10, 20, 30);
  dialog.SetColorChooser([&](const QColor&, const QString&) { return answer; });
  dialog.ChooseBoardColor(true);
  EXPECT_EQ(app->settings().BoardDarkSquares, 0x001E140Au);
  EXPECT_EQ(CentreOfSquare(14), QColor(10, 20, 30));
  answer = QColor(250, 240, 230);
  dialog.ChooseBoardColor(false);
  EXPECT_EQ(app->settings().BoardLightSquares, 0x00E6F0FAu);

  answer = std::nullopt;  // cancelled
  dialog.ChooseBoardColor(true);
  EXPECT_EQ(app->settings().BoardDarkSquares, 0x001E140Au);

  QSignalSpy spy(&dialog, &SelectColorsDialog::gamePanelColorsChanged);
  answer = QColor(0, 0, 255);
  dialog.ChoosePanelColor(2);
  EXPECT_EQ(app->settings().GameColorThirdLine, 0x00FF0000u);
  EXPECT_EQ(spy.count(), 1);
}

TEST_F(SelectColorsTest, ChoosingOneFigureFile) {
  SelectColorsDialog& dialog = panel->selectColorsDialog();
  const std::string before = app->settings().FigWKName;
  QString answer = Q(dir.path() / "no such file.bmp");
  dialog.SetPictureChooser([&](const QString& start) {
    EXPECT_TRUE(start.endsWith("Pics"));
    return answer;
  });
  dialog.ChooseFigure(FigureKind::WhiteKing);
  EXPECT_EQ(app->settings().FigWKName, before);  // not taken: could not be read
  ASSERT_EQ(dialog.messages().size(), 1);
  EXPECT_TRUE(dialog.messages()[0].contains("no such file.bmp"));

  answer = Q(pics / "solid" / "wk.bmp");
  dialog.ChooseFigure(FigureKind::WhiteKing);
  EXPECT_TRUE(dialog.messages().isEmpty());
  EXPECT_EQ(app->settings().FigWKName, answer.toStdString());
  EXPECT_EQ(panel->view().figures().Picture(FigureKind::WhiteKing).pixelColor(35, 35), QColor(0, 0, 0xE6));

  answer.clear();  // cancelled
  dialog.ChooseFigure(FigureKind::WhiteKing);
  EXPECT_EQ(app->settings().FigWKName, (pics / "solid" / "wk.bmp").string());
}

TEST_F(SelectColorsTest, DefaultRestoresColoursAndTheDefaultSet) {
  SelectColorsDialog& dialog = panel->selectColorsDialog();
  dialog.SetColorChooser([](const QColor&, const QString&) { return std::optional<QColor>(QColor(1, 2, 3)); });
  dialog.ChooseBoardColor(true);
  dialog.ChooseBoardColor(false);
  for (int i = 0; i < 4; ++i) dialog.ChoosePanelColor(i);
  dialog.ChooseStyle("solid");
  QSignalSpy spy(&dialog, &SelectColorsDialog::gamePanelColorsChanged);

  // No Pics/default here: the built-in pictures come back at once.
  dialog.RestoreDefaults();
  const Settings& s = app->settings();
  EXPECT_EQ(s.BoardDarkSquares, 0x00808040u);
  EXPECT_EQ(s.BoardLightSquares, 0x00F0F0E3u);
  EXPECT_EQ(s.GameColorMainLine, 0u);
  EXPECT_EQ(s.GameColorSecondLine, 0u);
  EXPECT_EQ(s.GameColorThirdLine, 0x00008000u);
  EXPECT_EQ(s.GameColorComment, 0x00606060u);
  EXPECT_EQ(s.FigBSName, (pics / "default" / "bs.bmp").string());
  EXPECT_EQ(dialog.messages().size(), 4);
  EXPECT_EQ(spy.count(), 1);
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(panel->view().figures().Picture(static_cast<FigureKind>(k)),
              DrawBuiltinFigure(static_cast<FigureKind>(k), "default"));
  EXPECT_EQ(CentreOfSquare(14), QColor(64, 128, 128));

  // With the default set present, its files are loaded.
  WriteSolid(pics / "default" / "ws.bmp", 0xFF123456);
  dialog.RestoreDefaults();
  EXPECT_EQ(dialog.messages().size(), 3);
  EXPECT_EQ(CentreOfSquare(1), QColor(0x12, 0x34, 0x56));
}

TEST_F(SelectColorsTest, CyanNightSwitchesTheLookAndBack) {
  SelectColorsDialog& dialog = panel->selectColorsDialog();
  const QColor window = QApplication::palette().color(QPalette::Window);
  dialog.SetCyanNight(true);
  EXPECT_NE(QApplication::palette().color(QPalette::Window), window);
  EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 100);
  dialog.SetCyanNight(false);
  EXPECT_EQ(QApplication::palette().color(QPalette::Window), window);
}

}  // namespace
}  // namespace kestrel
