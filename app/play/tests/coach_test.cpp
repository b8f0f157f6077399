// Game analysis and autoplay on the play controller.
#include <gtest/gtest.h>

#include <regex>

#include "app/play/levels.h"
#include "app/play/result_detection.h"
#include "game/glyphs.h"
#include "game/navigation.h"
#include "play_test_support.h"

namespace kestrel {
namespace {

using testing::PlayFixture;

TEST_F(PlayFixture, GameAnalysisMarksABlunderAndInsertsTheBetterLine) {
  // White: c3, g3; Black: e5. c3-d4 gives a man away (e5xc3).
  ASSERT_TRUE(controller->EnterSetup());
  controller->SetupClear();
  controller->SetupClick(10, 1);
  controller->SetupClick(12, 1);
  controller->SetupClick(19, 2);
  controller->SetupDone(TDColor::white, 1);
  PlayLine({"c3-d4"});
  const int blunder = Game().CurMovPos;

  TGameAnalysisOptions options;
  options.totalCentiseconds = 150;  // judging needs depth 8: room for a loaded machine
  controller->StartGameAnalysis(options);
  EXPECT_FALSE(controller->NavigationAllowed()) << "navigation waits while a move is judged";
  WaitIdle();
  EXPECT_TRUE(controller->NavigationAllowed());

  const TGame g = Game();
  EXPECT_EQ(MoveGlyphCode(g.Moves[blunder].comm), 5) << "\"?\"" << g.CommentsBef[blunder];
  EXPECT_TRUE(std::regex_match(g.CommentsAft[blunder], std::regex(R"(-?[0-9x][^/]*/[0-9]+ )")))
      << g.CommentsAft[blunder];
  const std::vector<int32_t> roots = Children(g, 0);
  ASSERT_EQ(roots.size(), 2u);
  EXPECT_EQ(roots[0], blunder) << "the game's move stays the main line";
  const int better = roots[1];
  const std::string betterText = MoveToText(g.Moves[better], gtRussian, 0, "x");
  EXPECT_TRUE(betterText == "c3-b4" || betterText == "g3-h4") << betterText;
  EXPECT_FALSE(g.CommentsAft[better].empty()) << "the engine's score";
  EXPECT_NE(FirstChild(g, better), 0) << "the line goes on";
  EXPECT_EQ(g.CommentsBef[blunder].rfind("Depth=", 0), 0u) << g.CommentsBef[blunder];
  EXPECT_NE(g.CommentsBef[blunder].find(", Time="), std::string::npos);
  EXPECT_TRUE(g.Modified);
}

TEST_F(PlayFixture, GameAnalysisOfOneColourOnly) {
  PlayLine({"c3-d4", "f6-g5"});
  TGameAnalysisOptions options;
  options.totalCentiseconds = 40;
  options.colours = {false, true};  // Black's moves
  controller->StartGameAnalysis(options);
  WaitIdle();
  const TGame g = Game();
  // White's move is not judged: no comment, no mark, no side line at the root.
  const int first = FirstChild(g, 0);
  EXPECT_EQ(MoveGlyphCode(g.Moves[first].comm), 0);
  EXPECT_EQ(g.CommentsAft[first], "");
  EXPECT_EQ(Children(g, 0).size(), 1u);
  EXPECT_EQ(g.CommentsBef[first].rfind("Depth=", 0), 0u);
  EXPECT_EQ(MainLineLength(g), 2);
}

TEST_F(PlayFixture, StopEndsAGameAnalysisAtOnce) {
  PlayLine({"c3-d4", "f6-g5", "g3-h4", "b6-a5"});
  TGameAnalysisOptions options;
  options.minutes = 60;
  controller->StartGameAnalysis(options);
  ASSERT_TRUE(controller->EngineBusy());
  controller->StopAndWait();
  EXPECT_FALSE(controller->EngineBusy());
  EXPECT_TRUE(controller->NavigationAllowed());
  EXPECT_EQ(MainLineLength(Game()), 4);
}

TEST_F(PlayFixture, AutoplayPlaysAWholeGameWithCommentsAndClocks) {
  controller->SetLevel(LevelIndexOfDepth(7));
  controller->SetTimePreset(5);
  controller->StartAutoplay();
  EXPECT_FALSE(controller->AnalysisMode());
  WaitIdle();
  const TGame g = Game();
  const int length = MainLineLength(g);
  ASSERT_GT(length, 10);
  // The last position ends the game by a rule.
  EXPECT_NE(JudgePosition(g, g.CurMovPos), TRuleOutcome::none);
  const std::string last = g.CommentsAft[g.CurMovPos];
  EXPECT_TRUE(last == "won" || last == "draw" || last == "lost") << last;
  const int first = FirstChild(g, 0);
  EXPECT_TRUE(std::regex_match(g.CommentsBef[first], std::regex(R"(\d\d:\d\d:\d\d-\d\d:\d\d:\d\d)")))
      << g.CommentsBef[first];
  // Engine moves with a choice carry score/depth - time.
  const std::regex moveComment(R"(-?(\d+\.\d\d|x\d+|xN\(\d+\))/\d+ - \d+\.\d\d)");
  int commented = 0;
  std::vector<int32_t> path;
  ASSERT_TRUE(PathToSlot(g, g.CurMovPos, path));
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    const std::string& c = g.CommentsAft[path[i]];
    if (c.empty()) continue;
    EXPECT_TRUE(std::regex_match(c, moveComment)) << c;
    ++commented;
  }
  EXPECT_GT(commented, length / 3);
  EXPECT_FALSE(controller->Clock().Running());
}

TEST_F(PlayFixture, StopLeavesAnAutoplayGameWithoutItsEnding) {
  controller->SetTimePreset(3);  // 30 minutes: long thinking
  controller->StartAutoplay();
  ASSERT_TRUE(controller->EngineBusy());
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  controller->Stop();
  WaitIdle();
  const TGame g = Game();
  EXPECT_LE(MainLineLength(g), 1);
  if (g.CurMovPos != 0) {
    const std::string last = g.CommentsAft[g.CurMovPos];
    EXPECT_TRUE(last != "won" && last != "draw" && last != "lost");
  }
  EXPECT_FALSE(controller->Clock().Running());
}

}  // namespace
}  // namespace kestrel
