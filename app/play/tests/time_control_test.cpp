#include "app/play/time_control.h"

#include <gtest/gtest.h>

#include "app/play/game_clock.h"
#include "app/play/levels.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

TEST(TimeControl, PresetsAsTheMenuNamesThem) {
  EXPECT_EQ(PresetControl(0), (TTimeControl{0, {18000, 18000}}));
  EXPECT_EQ(PresetControl(4), (TTimeControl{0, {360000, 360000}}));
  EXPECT_EQ(PresetControl(5), (TTimeControl{1, {100, 100}}));
  EXPECT_EQ(PresetControl(10), (TTimeControl{1, {3000, 3000}}));
  EXPECT_EQ(InitialClocks(PresetControl(2)), (std::array<int, 2>{60000, 60000}));
  EXPECT_EQ(InitialClocks(PresetControl(7)), (std::array<int, 2>{0, 0}));
  // Every caption says its own time: minutes per game or seconds per move.
  for (const TTimePreset& p : TimePresets) {
    const int number = std::stoi(std::string(p.caption));
    EXPECT_EQ(p.time, p.movesPerControl == 0 ? number * 6000 : number * 100) << p.caption;
  }
}

TEST(TimeControl, SetTimeDialogValues) {
  const TTimeControl c = ControlFromDialog({40, {90, 2}, {30, 5}});
  EXPECT_EQ(c.movesPerControl, 40);
  EXPECT_EQ(c.time, (std::array<int, 2>{90 * 6000 + 3000, 2 * 6000 + 500}));
  EXPECT_EQ(InitialClocks(c), (std::array<int, 2>{0, 0}));
  const TTimeControl whole = ControlFromDialog(TSetTimeValues{});
  EXPECT_EQ(whole, PresetControl(0)) << "the dialog's defaults are 3 minutes for the game";
  EXPECT_EQ(ControlFromDialog({20000, {-5, 0}, {99, 0}}).movesPerControl, MaxMovesPerControl);
  EXPECT_EQ(ControlFromDialog({0, {-5, 0}, {99, 0}}).time[0], 59 * 100);
}

TEST(TimeControl, TournamentTextOfANewGame) {
  EXPECT_EQ(TimeControlText(PresetControl(0)), "3 min");
  EXPECT_EQ(TimeControlText(PresetControl(7)), "5 s / m");
  EXPECT_EQ(TimeControlText(ControlFromDialog({40, {120, 120}, {0, 0}})), "7200 s / 40m");
}

TEST(TimeControl, SearchLimitsOfTheEnginesReply) {
  // Whole game: a third of the clock at most, a share by variant.
  EXPECT_EQ(PlayLimits(PresetControl(0), 9000, TDColor::black, gtRussian).hard, 3000);
  EXPECT_EQ(PlayLimits(PresetControl(0), 9000, TDColor::black, gtRussian).soft, 600);
  EXPECT_EQ(PlayLimits(PresetControl(0), 9000, TDColor::white, gtEnglish).soft, 300);
  EXPECT_EQ(PlayLimits(PresetControl(0), 9000, TDColor::white, gtItalian).soft, 300);
  EXPECT_EQ(PlayLimits(PresetControl(0), 8000, TDColor::white, gtInternational).soft, 200);
  EXPECT_EQ(PlayLimits(PresetControl(0), 8000, TDColor::white, gtFrisian).soft, 200);
  EXPECT_EQ(PlayLimits(PresetControl(0), 8000, TDColor::white, gtCanadian).soft, 200);
  EXPECT_EQ(PlayLimits(PresetControl(0), 9000, TDColor::white, gtThai).soft, 600);
  // Per move count: the side's own time.
  const TTimeControl c = ControlFromDialog({40, {20, 40}, {0, 0}});
  EXPECT_EQ(PlayLimits(c, 0, TDColor::white, gtRussian).soft, 120000 / 40);
  EXPECT_EQ(PlayLimits(c, 0, TDColor::black, gtRussian).hard, 2 * 240000 / 40);
}

TEST(GameClock, WholeGameClockRunsDownAndStopsAtZero) {
  int64_t now = 500;
  TGameClock clock([&] { return now; });
  clock.SetControl(PresetControl(0));
  EXPECT_FALSE(clock.Tick(TDColor::white)) << "a stopped clock charges nobody";
  clock.Start();
  now += 250;
  EXPECT_FALSE(clock.Tick(TDColor::white));
  now += 100;
  EXPECT_FALSE(clock.Tick(TDColor::black));
  EXPECT_EQ(clock.Clocks(), (std::array<int, 2>{17750, 17900}));
  EXPECT_EQ(clock.Text(), "0:02:57 0:02:59");
  now += 17900;
  EXPECT_FALSE(clock.Tick(TDColor::black)) << "0 left is still in time";
  now += 1;
  EXPECT_TRUE(clock.Tick(TDColor::black));
  EXPECT_EQ(clock.Clock(TDColor::black), 0);
  EXPECT_FALSE(clock.Running());
}

TEST(GameClock, PerMoveClockCountsTimeUsed) {
  int64_t now = 0;
  TGameClock clock([&] { return now; });
  clock.SetControl(PresetControl(6));
  clock.Start();
  now = 360000 * 10;
  EXPECT_FALSE(clock.Tick(TDColor::white));
  EXPECT_EQ(clock.Text(), "10:00:00 0:00:00");
  EXPECT_FALSE(clock.Charge(TDColor::black, 6100));
  EXPECT_EQ(ClockText2(clock.Clock(TDColor::black)), "00:01:01");
}

TEST(GameClock, SwappingSidesSwapsClocksAndTimes) {
  TGameClock clock([] { return 0; });
  clock.SetControl(ControlFromDialog({0, {1, 2}, {0, 0}}));
  clock.SwapSides();
  EXPECT_EQ(clock.Clocks(), (std::array<int, 2>{12000, 6000}));
  EXPECT_EQ(clock.Control().time, (std::array<int, 2>{12000, 6000}));
}

TEST(Levels, DepthsOfTheLevelMenu) {
  EXPECT_EQ(Levels[LevelIndexOfDepth(50)].caption, "Grandmaster");
  EXPECT_EQ(Levels[LevelIndexOfDepth(15)].caption, "Master");
  EXPECT_EQ(Levels[LevelIndexOfDepth(13)].caption, "Candidate");
  EXPECT_EQ(Levels[LevelIndexOfDepth(7)].caption, "Level C");
  EXPECT_EQ(LevelIndexOfDepth(8), -1);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(TimeControl, PlannedLimitsKeepInsideTheMoveAndTheClock) {
  // A second per move: the engine answers within it, whatever the phase.
  for (const int pieces : {24, 14, 4})
    for (const int move : {1, 20, 60}) {
      const TMoveLimits l = PlayLimits(PresetControl(5), 0, TDColor::white, gtRussian, {pieces, move});
      EXPECT_GE(l.soft, 1);
      EXPECT_LE(l.soft, l.hard);
      EXPECT_LT(l.hard, 100) << pieces << " " << move;
    }
  // A minute per game: the middle game gets more than the opening.
  const TTimeControl minute = ControlFromDialog({0, {1, 1}, {0, 0}});
  EXPECT_GT(PlayLimits(minute, 5000, TDColor::white, gtRussian, {18, 20}).soft,
            PlayLimits(minute, 5000, TDColor::white, gtRussian, {24, 2}).soft);
  // Games of 150 moves, every search running to its hard limit and 20 ms
  // lost per move outside it, still end with time on the clock.
  for (const int type : {gtRussian, gtInternational, gtEnglish}) {
    int clock = 6000;
    for (int move = 1; move <= 150; ++move) {
      const int pieces = std::max(3, 2 * MenPerSide(type) - move / 4);
      clock -= static_cast<int>(PlayLimits(minute, clock, TDColor::white, type, {pieces, move}).hard) + 2;
      ASSERT_GT(clock, 0) << type << " move " << move;
    }
  }
}

}  // namespace
}  // namespace kestrel
