#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

#include "app/board/board_geometry.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/board_panel.h"
#include "app/ui/board_view.h"
#include "app/ui/game_input.h"
#include "app/ui/game_panel.h"
#include "app/ui/main_window.h"
#include "game/glyphs.h"
#include "game/move_tree.h"
#include "rules/game_types.h"
#include "rules/notation.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

class QuietUser : public TPlayUi {};

class GameInputTest : public ::testing::Test {
 protected:
  GameInputTest() : app(dir.path(), dir.path()) {
    window = std::make_unique<MainWindow>(app);
    window->controller().SetUi(&user);
    window->Start();
    window->resize(MinMainWindowWidth, MinMainWindowHeight);
    window->show();
  }
  ~GameInputTest() override {
    window->controller().StopAndWait();
    window->close();
    window.reset();
  }

  GameInput& input() { return *window->findChild<GameInput*>(); }

  void ClickSquare(const char* name) {
    BoardView& view = window->boardPanel().view();
    const int type = gtRussian;
    const BoardGeometry g = BoardGeometryOfType(type);
    const BoardOrientation o = OrientationFor(type, false, false);
    int square = 0;
    for (int s = 1; s <= g.squareCount; ++s)
      if (SquareText(s, type, 0) == name) square = s;
    ASSERT_NE(square, 0) << name;
    const ImageRect r = PlaceSquare(square, g, o).playable;
    const int edge = view.width();
    QTest::mouseClick(&view, Qt::LeftButton, {},
                      QPoint(r.CentreX() * edge / BoardImageSize, r.CentreY() * edge / BoardImageSize));
  }

  std::vector<std::string> MainLineTexts() {
    return window->controller().ReadGame([](const TGame& g) {
      std::vector<std::string> texts;
      for (int node = FirstChild(g, 0); node > 0; node = FirstChild(g, node))
        texts.push_back(MoveToText(g.Moves[node], gtRussian, 0, "-"));
      return texts;
    });
  }

  testing::TempDir dir;
  KestrelApp app;
  QuietUser user;
  std::unique_ptr<MainWindow> window;
};

TEST_F(GameInputTest, ThreeClickedMovesAndAnAnnotationReachTheGameRecord) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->controller().Stop();
  for (const char* square : {"c3", "d4", "f6", "g5", "g3", "h4"}) {
    ClickSquare(square);
    window->TimerStep();
  }
  EXPECT_EQ(MainLineTexts(), (std::vector<std::string>{"c3-d4", "f6-g5", "g3-h4"}));

  // A right click on the second move in the game panel, then "!" from its menu.
  GamePanel& panel = input().gamePanel();
  window->TimerStep();
  const int second = window->controller().ReadGame([](const TGame& g) { return FirstChild(g, FirstChild(g, 0)); });
  const auto centre = panel.SlotCentre(second);
  ASSERT_TRUE(centre.has_value());
  QTest::mouseClick(&panel, Qt::RightButton, {}, *centre);
  EXPECT_EQ(window->controller().ReadGame([](const TGame& g) { return g.CurMovPos; }), second);
  QAction* mark = nullptr;
  for (QAction* a : panel.Menu()->actions())
    if (a->menu() && a->text() == "Move mark") mark = a->menu()->actions().at(2);
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->text(), "!");
  mark->trigger();
  panel.Menu()->hide();
  window->controller().ReadGame([&](const TGame& g) {
    EXPECT_EQ(MoveGlyphText(g.Moves[second].comm), "!");
    EXPECT_TRUE(g.Modified);
    return 0;
  });
  window->TimerStep();
  bool shown = false;
  for (const TTreeItem& item : panel.View().Layout().items) shown = shown || item.Text.find("f6-g5!") != std::string::npos;
  EXPECT_TRUE(shown);
}

TEST_F(GameInputTest, TypedMovesAreEnteredAsSoonAsTheyMatch) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->controller().Stop();
  QTest::keyClicks(window.get(), "c3x");
  QTest::keyClick(window.get(), Qt::Key_Backspace);
  EXPECT_EQ(input().typedMove().Text(), "c3");
  QTest::keyClicks(window.get(), "-d4");
  EXPECT_EQ(input().typedMove().Text(), "");
  QTest::keyClicks(window.get(), "F6G5");
  EXPECT_EQ(MainLineTexts(), (std::vector<std::string>{"c3-d4", "f6-g5"}));
}

TEST_F(GameInputTest, AForcedCaptureFollowsByItselfInAnalysisMode) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  ASSERT_TRUE(window->controller().AnalysisMode());
  ASSERT_TRUE(app.settings().AutoCapture);
  window->controller().Stop();
  for (const char* square : {"c3", "d4", "f6", "e5"}) ClickSquare(square);
  // White's only move is d4:f6; Black then has two captures and waits.
  QTest::qWait(600);
  EXPECT_EQ(MainLineTexts(), (std::vector<std::string>{"c3-d4", "f6-e5", "d4-f6"}));
}

TEST_F(GameInputTest, PanelsFitAtTheSmallestWindowAndFullScreen) {
  for (QSize size : {QSize(MinMainWindowWidth, MinMainWindowHeight), QSize(1920, 1080)}) {
    window->resize(size);
    QTest::qWait(20);
    GamePanel& panel = input().gamePanel();
    const QRect board = window->boardPanel().view().geometry();
    const QRect area = window->boardPanel().rect();
    EXPECT_TRUE(area.contains(panel.geometry())) << size.width();
    EXPECT_FALSE(board.intersects(panel.geometry())) << size.width();
    EXPECT_GT(panel.height(), 60) << size.width();
  }
}

}  // namespace
}  // namespace kestrel
