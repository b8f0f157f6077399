#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>

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

// Czech men take forward only: the man on c3 reaches c7 over d4 and d6 or
// over b4 and b6, so "c3xc7" fits two moves. The window asks which one, plays
// the one chosen and, on Cancel, nothing.
TEST_F(GameInputTest, TypedTextThatFitsTwoMovesAsksWhichOne) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  const int t = gtCzech;
  const auto square = [t](const char* name) {
    for (int s = 1; s <= BoardGeometryOfType(t).squareCount; ++s)
      if (SquareText(s, t, 0) == name) return s;
    return 0;
  };
  TPlayController& c = window->controller();
  c.Stop();
  c.SetGameTypeCommand(t);
  struct Case {
    bool accept;
    int item;
  };
  for (const Case& k : {Case{false, 0}, Case{true, 0}, Case{true, 1}}) {
    SCOPED_TRACE(k.accept ? "item " + std::to_string(k.item) : std::string("cancel"));
    TBoard board;
    for (const char* s : {"c3", "h2"}) board.b[square(s)] = WhiteMan;
    for (const char* s : {"d4", "b4", "d6", "b6"}) board.b[square(s)] = BlackMan;
    ASSERT_TRUE(c.EnterSetup());
    c.SetupPosition(board);
    c.SetupDone(TDColor::white, 1);
    c.StopAndWait();

    QStringList offered;
    QTimer::singleShot(0, window.get(), [&] {
      auto* chooser = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      if (!chooser || chooser->objectName() != QLatin1String("typedMoveChooser")) return;
      offered = chooser->comboBoxItems();
      if (k.accept && k.item < offered.size()) {
        chooser->setTextValue(offered[k.item]);
        chooser->accept();
      } else {
        chooser->reject();
      }
    });
    QTest::keyClicks(window.get(), "c3xc7");
    c.StopAndWait();
    ASSERT_EQ(offered.size(), 2);
    EXPECT_NE(offered[0], offered[1]);
    EXPECT_EQ(input().typedMove().Text(), "");

    const auto [moves, after] = c.ReadGame([](const TGame& g) {
      int count = 0;
      for (int node = FirstChild(g, 0); node > 0; node = FirstChild(g, node)) ++count;
      return std::pair(count, g.CurBoard);
    });
    EXPECT_EQ(moves, k.accept ? 1 : 0);
    // The pieces left on the board tell the route that was played.
    const auto names = [&](const char* a, const char* b) {
      return k.accept && (offered[k.item].contains(QLatin1String(a)) || offered[k.item].contains(QLatin1String(b)));
    };
    const bool overE5 = names("e5", "d4"), overA5 = names("a5", "b4");
    EXPECT_EQ(overE5 + overA5, k.accept ? 1 : 0) << offered.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(after.b[square("d4")] == BlackMan && after.b[square("d6")] == BlackMan, !overE5);
    EXPECT_EQ(after.b[square("b4")] == BlackMan && after.b[square("b6")] == BlackMan, !overA5);
    EXPECT_EQ(after.b[square("c7")] == WhiteMan, k.accept);
  }
  // The game panel names the move played by its route, in the notation and
  // with the capture sign the settings ask for.
  for (const auto& [takeChar, sign] : {std::pair(0, ':'), std::pair(1, 'x')}) {
    app.settings().TakeChar = takeChar;
    app.settings().Notation = 1;
    window->ApplyDisplaySettings();
    QString shown;
    for (const TTreeItem& item : input().gamePanel().View().VisibleItems()) shown += QString::fromStdString(item.Text);
    EXPECT_TRUE(shown.contains(QLatin1Char(sign)) && !shown.contains(QLatin1Char(sign == ':' ? 'x' : ':')) &&
                (shown.contains(QLatin1String("a5")) || shown.contains(QLatin1String("e5"))))
        << shown.toStdString();
    if (const char* folder = std::getenv("KESTREL_SCREENSHOTS"))
      window->grab().save(QString::fromUtf8(folder) + "/typed_move_takechar" + QString::number(takeChar) + ".png");
  }
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
