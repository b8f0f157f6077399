#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/settings/kestrel_app.h"
#include "app/play/levels.h"
#include "app/ui/board_panel.h"
#include "app/ui/game_info_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/new_move_dialog.h"
#include "app/ui/search_info_panel.h"
#include "app/ui/set_time_dialog.h"
#include "game/move_tree.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

// Answers that never open a dialog, so that tests never wait for a click.
class QuietUser : public TPlayUi {};

class PlayWindowTest : public ::testing::Test {
 protected:
  PlayWindowTest() : app(dir.path(), dir.path()) {
    window = std::make_unique<MainWindow>(app);
    window->controller().SetUi(&user);
    window->Start();
    window->show();
  }
  ~PlayWindowTest() override {
    window->controller().StopAndWait();
    window->close();
    window.reset();
  }

  int MainLine() {
    return window->controller().ReadGame([](const TGame& g) { return MainLineLength(g); });
  }

  testing::TempDir dir;
  KestrelApp app;
  QuietUser user;
  std::unique_ptr<MainWindow> window;
};

TEST_F(PlayWindowTest, ANewcomerSeesTheRussianStartPositionInAnalysisMode) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_TRUE(window->analysisModeAction()->isChecked());
  EXPECT_FALSE(window->playModeAction()->isChecked());
  EXPECT_TRUE(window->typeAction(gtRussian)->isChecked());
  EXPECT_TRUE(window->clockLabel()->isHidden());
  EXPECT_EQ(window->stopButton()->text(), QString("Start!"));
  EXPECT_EQ(window->boardPanel().view().scene().board, InitialPosition(gtRussian).b);
  EXPECT_TRUE(window->levelAction(DefaultLevelIndex)->isChecked());
  EXPECT_TRUE(window->timeAction(DefaultTimeIndex)->isChecked());
}

TEST_F(PlayWindowTest, PlayModeAndComputeMakeTheEngineMoveWhileTheWindowRuns) {
  window->levelAction(LevelIndexOfDepth(7))->trigger();
  window->timeAction(1)->trigger();  // 5 minutes/game
  window->playModeAction()->trigger();
  window->TimerStep();
  EXPECT_FALSE(window->clockLabel()->isHidden());
  window->computeAction()->trigger();
  // The event loop keeps running while the engine thinks; the timer renders.
  ASSERT_TRUE(QTest::qWaitFor([&] { return MainLine() == 1 && !window->controller().EngineBusy(); }, 20000));
  QTest::qWait(60);
  window->TimerStep();
  EXPECT_NE(window->boardPanel().view().scene().board, InitialPosition(gtRussian).b);
  EXPECT_TRUE(window->boardPanel().view().scene().reversed) << "the engine took White";
  EXPECT_EQ(window->stopButton()->text(), QString("Start!"));
  EXPECT_TRUE(window->clockLabel()->text().contains(QRegularExpression("^\\d:\\d\\d:\\d\\d \\d:\\d\\d:\\d\\d$")))
      << window->clockLabel()->text().toStdString();
  EXPECT_TRUE(window->controller().Clock().Running()) << "the player's clock runs after the engine's move";
}

TEST_F(PlayWindowTest, AnalysisShowsTheSearchInformationAndStops) {
  window->computeAction()->trigger();
  EXPECT_EQ(window->stopButton()->text(), QString("STOP!"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->searchInfoPanel().label()->text().contains("Depth"); }, 20000));
  window->stopButton()->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->controller().EngineBusy(); }, 10000));
  window->TimerStep();
  EXPECT_EQ(window->stopButton()->text(), QString("Start!"));
  EXPECT_TRUE(window->searchInfoPanel().label()->text().startsWith("Kestrel 3.0 [Russian.eng]: Depth "));
  EXPECT_EQ(MainLine(), 0) << "analysis adds no move";
}

TEST_F(PlayWindowTest, SetUpModeEditsTheBoardByClicks) {
  window->setupAction()->trigger();
  ASSERT_TRUE(window->controller().SetupMode());
  window->TimerStep();
  EXPECT_TRUE(window->stopButton()->isHidden());
  emit window->boardPanel().view().squareClicked(9, Qt::LeftButton);
  window->TimerStep();
  EXPECT_EQ(window->boardPanel().view().scene().board[9], WhiteKing) << "a white man became a king";
  EXPECT_EQ(window->controller().ReadGame([](const TGame& g) { return g.CurBoard.b[9]; }), WhiteKing);
}

TEST(PlayDialogs, SetTimeRowsFollowTheColourRule) {
  SetTimeDialog dialog;
  const TSetTimeValues values{40, {90, 2}, {30, 5}};
  dialog.SetValues(values, gtEnglish);
  EXPECT_EQ(dialog.rowLabel(0)->text(), QString("Black"));
  EXPECT_EQ(dialog.rowLabel(1)->text(), QString("White"));
  EXPECT_EQ(dialog.Values(), values);
  dialog.SetValues(values, gtRussian);
  EXPECT_EQ(dialog.rowLabel(0)->text(), QString("White"));
}

TEST(PlayDialogs, GameInformationGivesBackWhatItShows) {
  TQuickGameHeader q;
  q.WhiteName = "Anna";
  q.BlackName = "Kestrel";
  q.Tournament = "Cup";
  q.Header.White.Title = 3;
  q.Header.White.Rating = 2400;
  q.Header.Black.Title = 12;  // beyond the list: kept
  q.Header.Round = 4;
  q.Header.Subround = 2;
  q.Header.Result = 2;
  q.Header.Date = {7, 5, 2015};
  q.Header.LastMove = 33;
  GameInfoDialog dialog;
  dialog.SetHeader(q, gtPool, false, 0);
  EXPECT_EQ(dialog.playerLabel(0)->text(), QString("Black"));
  EXPECT_EQ(dialog.result()->currentText(), QString("="));
  TQuickGameHeader back = dialog.Header();
  EXPECT_EQ(back.WhiteName, "Anna");
  EXPECT_EQ(back.Header.White.Title, 3);
  EXPECT_EQ(back.Header.Black.Title, 12);
  EXPECT_EQ(back.Header.White.Rating, 2400);
  EXPECT_EQ(back.Header.Round, 4);
  EXPECT_EQ(back.Header.Subround, 2);
  EXPECT_EQ(back.Header.Date.Year, 2015);
  EXPECT_EQ(back.Header.LastMove, 33);
  dialog.whiteName()->setEditText("Berta");
  dialog.result()->setCurrentIndex(1);
  back = dialog.Header();
  EXPECT_EQ(back.WhiteName, "Berta");
  EXPECT_EQ(back.Header.Result, 1);
  dialog.SetHeader(q, gtPool, true, 1);
  EXPECT_EQ(dialog.playerLabel(0)->text(), QString("White"));
  EXPECT_EQ(dialog.result()->currentText(), QString("1-1"));
}

TEST(PlayDialogs, NewMoveDialogAnswers) {
  NewMoveDialog dialog;
  dialog.SetContinuations({"c3-d4"}, 0);
  dialog.replaceButton()->click();
  EXPECT_EQ(dialog.Choice().answer, TNewMoveAnswer::replace);
  EXPECT_EQ(dialog.Choice().selected, 0);
  dialog.SetContinuations({"c3-d4", "g3-h4"}, -1);
  dialog.newVariationButton()->click();
  EXPECT_EQ(dialog.Choice().answer, TNewMoveAnswer::newVariation);
  EXPECT_EQ(dialog.Choice().selected, -1);
}

}  // namespace
}  // namespace kestrel
