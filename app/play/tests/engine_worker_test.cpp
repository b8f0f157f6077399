#include "app/play/engine_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <stdexcept>
#include <thread>

#include "app/play/levels.h"
#include "app/play/result_detection.h"
#include "game/navigation.h"
#include "play_test_support.h"

namespace kestrel {
namespace {

using namespace std::chrono_literals;
using testing::PlayFixture;

TEST(EngineWorker, RunsOneWorkAtATimeAndSignalsIdleAfterEach) {
  TEngine engine(0);
  TEngineWorker worker(engine);
  EXPECT_TRUE(worker.IdleEvent().IsSet());
  std::atomic<int> running{0}, maxRunning{0}, finished{0};
  for (int i = 0; i < 30; ++i) {
    worker.Start(TWorkKind::analysis, [&] {
      const int now = ++running;
      maxRunning = std::max(maxRunning.load(), now);
      // Works until asked to stop, like an analysis.
      while (!worker.RunStopRequested()) std::this_thread::sleep_for(1ms);
      --running;
      ++finished;
    });
    EXPECT_TRUE(worker.Busy());
    if (i % 3 == 0) {
      worker.StopAndWait();
      EXPECT_TRUE(worker.IdleEvent().IsSet());
      EXPECT_EQ(worker.Kind(), TWorkKind::none);
    }
  }
  worker.StopAndWait();
  EXPECT_EQ(finished, 30) << "every run ended, none was lost";
  EXPECT_EQ(maxRunning, 1);
}

TEST(EngineWorker, APreparationIsNoComputationButTheNextWorkWaitsForIt) {
  TEngine engine(0);
  TEngineWorker worker(engine);
  std::atomic<bool> release{false}, prepared{false}, sawPrepared{false};
  worker.Start(TWorkKind::prepare, [&] {
    while (!release) std::this_thread::sleep_for(1ms);
    prepared = true;
  });
  EXPECT_FALSE(worker.Busy()) << "the window shows no search while the engine prepares";
  EXPECT_FALSE(worker.IdleEvent().IsSet());
  std::thread releaser([&] {
    std::this_thread::sleep_for(20ms);
    release = true;
  });
  worker.Start(TWorkKind::analysis, [&] { sawPrepared = prepared.load(); });
  worker.StopAndWait();
  releaser.join();
  EXPECT_TRUE(sawPrepared) << "a search starts on a prepared engine";
  EXPECT_EQ(worker.Kind(), TWorkKind::none);
}

TEST(EngineWorker, AFailingWorkIsReportedAndStillEndsIdle) {
  TEngine engine(0);
  TEngineWorker worker(engine);
  std::string failure;
  worker.Start(TWorkKind::analysis, [] { throw std::runtime_error("broken"); },
               [&](const char* what) { failure = what; });
  worker.IdleEvent().Wait();
  EXPECT_EQ(failure, "broken");
  EXPECT_FALSE(worker.Busy());
}

TEST(EngineWorker, AStopBeforeTheWorkLooksIsNotLost) {
  TEngine engine(0);
  TEngineWorker worker(engine);
  std::atomic<bool> go{false};
  worker.Start(TWorkKind::analysis, [&] {
    while (!go) std::this_thread::yield();
    while (!worker.RunStopRequested()) std::this_thread::sleep_for(1ms);
  });
  worker.RequestStop();  // before the work has looked at anything
  go = true;
  EXPECT_TRUE(worker.IdleEvent().WaitFor(10s));
}

// A main line of `plies` moves, played without the engine.
void PlayMainLine(PlayFixture& f, TPlayController& c, int plies) {
  std::mt19937 rng(17);
  for (int i = 0; i < plies; ++i) {
    const TGame g = c.ReadGame([](const TGame& x) { return x; });
    TMoveList list;
    uint8_t n = 0;
    GenerateMoveList(g.CurBoard, g.SideToMove, list, GameTypeOf(g), n);
    if (n == 0) return;
    ASSERT_TRUE(c.EnterMove(list[rng() % n]));
  }
}

TEST_F(PlayFixture, AnalysisSurvivesComputeStopAndNavigationWithoutChangingTheGame) {
  PlayMainLine(*this, *controller, 12);
  const TGame before = Game();
  ASSERT_EQ(MainLineLength(before), 12);
  std::mt19937 rng(99);
  for (int round = 0; round < 25; ++round) {
    controller->Compute();
    EXPECT_TRUE(controller->EngineBusy());
    std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 15));
    // Navigation while the analysis runs restarts it on the new position.
    for (int k = 0; k < 4; ++k) {
      switch (rng() % 5) {
        case 0: controller->GoBack(); break;
        case 1: controller->GoForward(); break;
        case 2: controller->GoStart(); break;
        case 3: controller->GoEnd(); break;
        default: controller->GoToSlot(static_cast<int>(rng() % before.SlotCount())); break;
      }
      EXPECT_TRUE(controller->EngineBusy()) << "the analysis goes on after navigation";
    }
    controller->StopButton();
    EXPECT_TRUE(controller->StoppedByUser());
    WaitIdle();
    EXPECT_TRUE(controller->Worker().IdleEvent().IsSet());
    // The analysis was of the position now shown.
    const TEngineSearchInfo info = controller->SearchInfo().Snapshot();
    EXPECT_EQ(info.currentMovePos, Game().CurMovPos);
  }
  const TGame after = Game();
  EXPECT_EQ(after.SlotCount(), before.SlotCount());
  EXPECT_EQ(MainLineLength(after), 12);
  EXPECT_EQ(after.Header.Result, ResultUnknown);
  for (int s = 1; s < after.SlotCount(); ++s) EXPECT_TRUE(SameMovePath(after.Moves[s], before.Moves[s]));
  // A stopped analysis stays stopped when the user navigates.
  controller->GoStart();
  EXPECT_FALSE(controller->EngineBusy());
}

TEST_F(PlayFixture, EveryComputeInPlayModeAddsExactlyOneEngineMove) {
  controller->SetTimePreset(3);  // 30 minutes: the engine would think long
  controller->SetPlayMode();
  std::mt19937 rng(5);
  for (int round = 0; round < 16; ++round) {
    const TGame before = Game();
    controller->Compute();
    std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 20));
    controller->Stop();  // "move now"; never a second Compute when the engine was already done
    WaitIdle();
    EXPECT_TRUE(controller->Worker().IdleEvent().IsSet());
    const TGame after = Game();
    ASSERT_EQ(MainLineLength(after), MainLineLength(before) + 1) << "round " << round;
    EXPECT_EQ(after.Moves[after.CurMovPos].parent, before.CurMovPos);
    // The board shows the move just added.
    TBoard board;
    TDColor side;
    ASSERT_TRUE(PositionAt(after, after.CurMovPos, board, side));
    EXPECT_EQ(board.b, after.CurBoard.b);
    EXPECT_EQ(side, after.SideToMove);
  }
  // The search information is published under its lock as the engine goes:
  // a reply given time shows its engine and depth while it thinks (a round
  // above may be stopped before its first iteration, with no depth yet).
  controller->Compute();
  TEngineSearchInfo info = controller->SearchInfo().Snapshot();
  for (int i = 0; i < 1000 && info.depthText.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    info = controller->SearchInfo().Snapshot();
  }
  controller->Stop();
  WaitIdle();
  EXPECT_EQ(info.engineName, "Kestrel 3.0");
  EXPECT_FALSE(info.depthText.empty());
}

TEST_F(PlayFixture, GameCommandsWaitForTheEngine) {
  controller->Compute();  // analysis of the start position, until stopped
  ASSERT_TRUE(controller->EngineBusy());
  controller->NewGame();  // stops and waits first
  EXPECT_FALSE(controller->EngineBusy());
  controller->Compute();
  controller->SwitchGameType(gtInternational, true);
  EXPECT_FALSE(controller->EngineBusy());
  EXPECT_EQ(Game().CurBoard.b, InitialPosition(gtInternational).b);
  controller->Compute();
  ASSERT_TRUE(controller->EnterSetup());
  EXPECT_FALSE(controller->EngineBusy());
  controller->SetupDone(TDColor::white, 1);
  controller->SwitchGameType(gtRussian, true);
}

TEST_F(PlayFixture, PlayModeStopsAContinuousAnalysis) {
  controller->Compute();
  ASSERT_TRUE(controller->EngineBusy());
  controller->SetPlayMode();
  EXPECT_FALSE(controller->EngineBusy());
  EXPECT_EQ(MainLineLength(Game()), 0);
}

}  // namespace
}  // namespace kestrel
