// Navigation keys, typed moves and command keys work wherever the focus is
// in the main window.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "app/board/move_input.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/book_grid_widget.h"
#include "app/ui/board_panel.h"
#include "app/ui/game_input.h"
#include "app/ui/game_panel.h"
#include "app/ui/main_window.h"
#include "app/ui/search_info_panel.h"
#include "rules/notation.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

class QuietUser : public TPlayUi {};

class KeyboardFocusTest : public ::testing::Test {
 protected:
  KeyboardFocusTest() : app(dir.path(), dir.path()) {
    window = std::make_unique<MainWindow>(app);
    window->controller().SetUi(&user);
    window->Start();
    window->show();
    window->searchInfoPanel().SetRootListVisible(true);
    for (const char* m : {"c3-d4", "f6-g5", "g3-f4"}) Play(m);
  }
  ~KeyboardFocusTest() override {
    window->controller().StopAndWait();
    window->close();
    window.reset();
  }

  void Play(const std::string& text) {
    TPlayController& c = window->controller();
    c.Stop();
    c.StopAndWait();
    const TLegalMoves moves =
        c.ReadGame([](const TGame& g) { return ListLegalMoves(g.CurBoard, g.SideToMove, GameTypeOf(g)); });
    for (int i = 0; i < moves.count; ++i)
      if (MoveToText(moves.list[i], gtRussian, 0, "-") == text) {
        c.EnterMove(moves.list[i]);
        c.Stop();
        c.StopAndWait();
        return;
      }
    FAIL() << text;
  }
  int Slot() { return window->controller().ReadGame([](const TGame& g) { return g.CurMovPos; }); }
  int Plies() {
    return window->controller().ReadGame([](const TGame& g) {
      int n = 0;
      for (int s = g.CurMovPos; s > 0; s = g.Moves[s].parent) ++n;
      return n;
    });
  }

  testing::TempDir dir;
  KestrelApp app;
  QuietUser user;
  std::unique_ptr<MainWindow> window;
};

TEST_F(KeyboardFocusTest, NavigationAndTypedMovesWorkInEveryPanel) {
  struct Panel {
    const char* name;
    QWidget* widget;
  };
  const Panel panels[] = {
      {"book grid", window->gameInput().bookGrid().findChild<QTableWidget*>()},
      {"root move list", window->searchInfoPanel().rootList()},
      {"information panel", window->infoPanel()},
      {"game panel", &window->gameInput().gamePanel()},
      {"board", &window->boardPanel().view()},
  };
  for (const Panel& p : panels) {
    ASSERT_NE(p.widget, nullptr) << p.name;
    QTest::mouseClick(p.widget, Qt::LeftButton, {}, QPoint(3, 3));
    p.widget->setFocus();
    window->controller().Stop();
    window->controller().StopAndWait();
    QTest::keyClick(p.widget, Qt::Key_Home);
    EXPECT_EQ(Plies(), 0) << p.name;
    QTest::keyClick(p.widget, Qt::Key_Right);
    EXPECT_EQ(Plies(), 1) << p.name;
    QTest::keyClick(p.widget, Qt::Key_End);
    EXPECT_EQ(Plies(), 3) << p.name;
    QTest::keyClick(p.widget, Qt::Key_Left);
    EXPECT_EQ(Plies(), 2) << p.name;
    QTest::keyClick(p.widget, Qt::Key_End);
  }
  // A move typed into the information panel.
  window->infoPanel()->setFocus();
  window->controller().Stop();
  window->controller().StopAndWait();
  QTest::keyClicks(window->infoPanel(), QStringLiteral("g5h4"));
  window->controller().Stop();
  window->controller().StopAndWait();
  EXPECT_EQ(Plies(), 4);
}

TEST_F(KeyboardFocusTest, CommandKeysReachTheWindowFromAList) {
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window.get())) GTEST_SKIP() << "no active window on this platform";
  QSignalSpy compute(window->computeAction(), &QAction::triggered);
  QSignalSpy extended(window->extendedAnalysisAction(), &QAction::triggered);
  window->infoPanel()->setFocus();
  QTest::keyClick(window->infoPanel(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(extended.count(), 1);
  window->gameInput().bookGrid().findChild<QTableWidget*>()->setFocus();
  QTest::keyClick(window->gameInput().bookGrid().findChild<QTableWidget*>(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(compute.count(), 1);
  window->controller().Stop();
}

}  // namespace
}  // namespace kestrel
