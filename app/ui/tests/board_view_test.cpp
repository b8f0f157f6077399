#include <gtest/gtest.h>

#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include "app/board/board_geometry.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/board_panel.h"
#include "app/ui/board_view.h"
#include "app/ui/main_window.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

QPoint Shown(const ImageRect& r, int edge) {
  return QPoint(r.CentreX() * edge / BoardImageSize, r.CentreY() * edge / BoardImageSize);
}

TEST(BoardViewWidget, ClicksGiveSquareNumbersAndButtons) {
  for (int type : {gtRussian, gtItalian, gtSpantsiretti, gtInternational, gtCanadian}) {
    for (bool reversed : {false, true}) {
      SCOPED_TRACE(std::string(GameTypeNames[type]) + (reversed ? " reversed" : ""));
      BoardView view;
      BoardScene scene;
      scene.type = type;
      scene.reversed = reversed;
      view.SetScene(scene);
      view.SetEdge(460);
      EXPECT_EQ(view.size(), QSize(460, 460));
      QSignalSpy spy(&view, &BoardView::squareClicked);
      const BoardGeometry g = BoardGeometryOfType(type);
      const BoardOrientation o = OrientationFor(type, reversed, false);
      for (int s = 1; s <= g.squareCount; ++s) {
        const SquarePlacement p = PlaceSquare(s, g, o);
        QTest::mouseClick(&view, Qt::LeftButton, {}, Shown(p.playable, 460));
        QTest::mouseClick(&view, Qt::LeftButton, {}, Shown(p.light, 460));  // ignored
        ASSERT_EQ(spy.count(), 1) << "square " << s;
        const QList<QVariant> args = spy.takeFirst();
        EXPECT_EQ(args.at(0).toInt(), s);
        EXPECT_EQ(args.at(1).value<Qt::MouseButton>(), Qt::LeftButton);
      }
      QTest::mouseClick(&view, Qt::RightButton, {}, Shown(PlaceSquare(1, g, o).playable, 460));
      QTest::mouseClick(&view, Qt::MiddleButton, {}, Shown(PlaceSquare(2, g, o).playable, 460));
      ASSERT_EQ(spy.count(), 2);
      EXPECT_EQ(spy.at(0).at(1).value<Qt::MouseButton>(), Qt::RightButton);
      EXPECT_EQ(spy.at(1).at(0).toInt(), 2);
      EXPECT_EQ(spy.at(1).at(1).value<Qt::MouseButton>(), Qt::MiddleButton);
      QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(3, 3));  // the margin
      EXPECT_EQ(spy.count(), 2);
    }
  }
}

TEST(BoardViewWidget, ShowsThePictureScaledToItsEdge) {
  BoardView view;
  view.SetEdge(613);
  EXPECT_EQ(view.boardImage().size(), QSize(920, 920));
  EXPECT_EQ(view.shownImage().size(), QSize(613, 613));
  BoardColors colors = view.colors();
  colors.dark = QColor(1, 2, 3);
  view.SetColors(colors);
  const ImageRect empty = PlaceSquare(14, BoardGeometryFor(32), {}).playable;
  EXPECT_EQ(view.boardImage().pixelColor(empty.CentreX(), empty.CentreY()), QColor(1, 2, 3));
  EXPECT_EQ(view.shownImage().pixelColor(empty.CentreX() * 613 / 920, empty.CentreY() * 613 / 920), QColor(1, 2, 3));
  const QImage grabbed = view.grab().toImage();
  EXPECT_EQ(grabbed.pixelColor(empty.CentreX() * 613 / 920, empty.CentreY() * 613 / 920), QColor(1, 2, 3));
}

class BoardPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGameType(gtRussian); }
  void TearDown() override { SetGameType(gtRussian); }
  testing::TempDir dir;
};

TEST_F(BoardPanelTest, BoardFollowsTheLayoutAndTheSizeCommands) {
  KestrelApp app(dir.path(), dir.path());
  BoardPanel panel(app);
  panel.ApplySettings();
  panel.resize(1280, 800);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  EXPECT_EQ(panel.view().edge(), 650);
  EXPECT_EQ(panel.mainLayout().columnX, 1280 - 8 - 615);

  panel.smallAction()->trigger();
  EXPECT_EQ(panel.view().edge(), 300);
  EXPECT_EQ(app.settings().BoardSize, 300);
  panel.averageAction()->trigger();
  EXPECT_EQ(panel.view().edge(), (300 + 630) / 2);
  panel.largeAction()->trigger();
  EXPECT_EQ(panel.view().edge(), 650);
  EXPECT_EQ(app.settings().BoardSize, 10000);

  panel.resize(900, 1000);
  QApplication::processEvents();
  EXPECT_EQ(panel.view().edge(), 615);
  panel.RequestBoardSize(0);  // keeps the wish
  EXPECT_EQ(app.settings().BoardSize, 10000);
}

TEST_F(BoardPanelTest, ShowsTheStartPositionOfTheCurrentType) {
  KestrelApp app(dir.path(), dir.path());
  BoardPanel panel(app);
  panel.ApplySettings();
  EXPECT_EQ(panel.view().scene().type, gtRussian);
  EXPECT_EQ(panel.view().scene().board, InitialPosition(gtRussian).b);
  SetGameType(gtCanadian);
  EXPECT_EQ(panel.view().scene().type, gtCanadian);
  int whiteMen = 0;
  for (int s = 1; s <= 72; ++s) whiteMen += panel.view().scene().board[s] == WhiteMan;
  EXPECT_EQ(whiteMen, 30);
}

TEST_F(BoardPanelTest, DisplayOptionsComeFromTheSettings) {
  KestrelApp app(dir.path(), dir.path());
  app.settings().ShowCoords = true;
  app.settings().HighlightMove = false;
  app.settings().ShowJamaican = true;
  app.settings().PoolWhiteBottom = true;
  app.settings().PoolChessNotation = true;
  app.settings().BoardDarkSquares = 0x00112233;
  BoardPanel panel(app);
  panel.ApplySettings();
  const BoardScene& s = panel.view().scene();
  EXPECT_TRUE(s.showCoords);
  EXPECT_FALSE(s.highlight);
  EXPECT_TRUE(s.showJamaican);
  EXPECT_TRUE(s.poolWhiteBottom);
  EXPECT_TRUE(s.poolChessNotation);
  EXPECT_EQ(panel.view().colors().dark, QColor(0x33, 0x22, 0x11));
  panel.SetReversed(true);
  panel.SetBlindPlay(true);
  panel.SetLastMove({9, 13});
  EXPECT_TRUE(panel.view().scene().reversed);
  EXPECT_TRUE(panel.view().scene().blind);
  EXPECT_EQ(panel.view().scene().highlighted, (std::vector<int>{9, 13}));
}

TEST_F(BoardPanelTest, MainWindowShowsTheBoardAndNamesMissingFigureFiles) {
  KestrelApp app(dir.path(), dir.path());  // a program folder without Pics
  MainWindow window(app);
  window.Start();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.centralWidget(), &window.boardPanel());
  EXPECT_GE(window.boardPanel().view().edge(), 300);
  EXPECT_EQ(window.minimumSize(), QSize(630, 460));
  const QString status = window.statusBar()->currentMessage();
  for (const char* name : {"ws.bmp", "bs.bmp", "wk.bmp", "bk.bmp"}) EXPECT_TRUE(status.contains(name)) << name;
  // The built-in pictures stand in: the start position shows pieces.
  const BoardScene& scene = window.boardPanel().view().scene();
  const ImageRect a1 = PlaceSquare(1, BoardGeometryOfType(scene.type), {}).playable;
  EXPECT_NE(window.boardPanel().view().boardImage().pixelColor(a1.CentreX(), a1.CentreY()),
            window.boardPanel().view().colors().dark);
  bool hasSizeCommands = false;
  for (QAction* menu : window.menuBar()->actions())
    if (menu->menu())
      for (QAction* a : menu->menu()->actions()) hasSizeCommands |= a->text() == "Average";
  EXPECT_TRUE(hasSizeCommands);
  window.close();
}

}  // namespace
}  // namespace kestrel
