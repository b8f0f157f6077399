#include "app/play/result_detection.h"

#include <gtest/gtest.h>

#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

// A game from `board` with `side` to move, and `plies` moves that each take
// the first legal move.
TGame Walk(int type, const TBrd& board, TDColor side, int plies) {
  TGame g;
  EXPECT_TRUE(SetUpPosition(g, board, side, 1, type));
  for (int i = 0; i < plies; ++i) {
    TMoveList list;
    uint8_t n = 0;
    GenerateMoveList(g.CurBoard, g.SideToMove, list, type, n);
    if (n == 0) break;
    const TAddResult r = AddMove(g, g.CurMovPos, list[0]);
    EXPECT_TRUE(r.ok());
    GoToMove(g, r.slot);
  }
  return g;
}

TEST(ResultDetection, NoLegalMoveLosesForTheSideToMove) {
  TBrd b{};
  b[5] = WhiteMan;  // Black has nothing left
  const TGame g = Walk(gtRussian, b, TDColor::black, 0);
  EXPECT_EQ(JudgePosition(g, 0), TRuleOutcome::noMoves);
  EXPECT_EQ(LossFor(TDColor::black), ResultWhiteWon);
  EXPECT_EQ(LossFor(TDColor::white), ResultBlackWon);
}

// Plays the legal move from `from` to `to` and makes it current.
void Play(TGame& g, int from, int to) {
  TMoveList list;
  uint8_t n = 0;
  GenerateMoveList(g.CurBoard, g.SideToMove, list, GameTypeOf(g), n);
  for (int i = 0; i < n; ++i)
    if (list[i].From() == from && list[i].To() == to) {
      GoToMove(g, AddMove(g, g.CurMovPos, list[i]).slot);
      return;
    }
  ADD_FAILURE() << "no move " << from << "-" << to;
}

TEST(ResultDetection, NoProgressCountsKingMovesSinceTheLastManMoveOrCapture) {
  TBrd b{};
  b[4] = WhiteKing;   // g1
  b[9] = WhiteMan;    // a3
  b[29] = BlackKing;  // b8
  TGame g;
  ASSERT_TRUE(SetUpPosition(g, b, TDColor::white, 1, gtRussian));
  Play(g, 9, 13);
  EXPECT_EQ(NoProgressCount(g, g.CurMovPos), 0);
  Play(g, 29, 25);
  Play(g, 4, 8);
  Play(g, 25, 29);
  Play(g, 8, 4);
  Play(g, 29, 25);
  EXPECT_EQ(NoProgressCount(g, g.CurMovPos), 5);
  EXPECT_EQ(NoProgressCount(g, Children(g, 0)[0]), 0);
}

TEST(ResultDetection, LimitsByVariant) {
  TBrd b{};
  EXPECT_EQ(RepetitionLimit(gtRussian), 2);
  EXPECT_EQ(RepetitionLimit(gtItalian), 3);
  EXPECT_EQ(NoProgressLimit(gtRussian, b), 39);
  EXPECT_EQ(NoProgressLimit(gtEnglish, b), 99);
  EXPECT_EQ(NoProgressLimit(gtItalian, b), 79);
  EXPECT_EQ(NoProgressLimit(gtFrisian, b), 39);
  b[1] = WhiteKing;
  b[2] = WhiteKing;
  b[50] = BlackKing;
  EXPECT_EQ(NoProgressLimit(gtFrisian, b), 13) << "two kings against one";
  b[3] = WhiteMan;
  EXPECT_EQ(NoProgressLimit(gtFrisian, b), 39);
  b[3] = Empty;
  b[49] = BlackKing;
  EXPECT_EQ(NoProgressLimit(gtFrisian, b), 39) << "two against two";
}

TEST(ResultDetection, RepetitionCountsTheSameSideToMoveOnly) {
  TBrd b{};
  b[4] = WhiteKing;   // g1
  b[29] = BlackKing;  // b8
  TGame g;
  ASSERT_TRUE(SetUpPosition(g, b, TDColor::white, 1, gtRussian));
  EXPECT_EQ(RepetitionCount(g, 0), 1);
  // g1-h2, b8-a7 and back: the start comes back after 4 plies.
  auto play = [&](int from, int to) { Play(g, from, to); };
  play(4, 8);
  play(29, 25);
  play(8, 4);
  play(25, 29);
  EXPECT_EQ(RepetitionCount(g, g.CurMovPos), 2);
  EXPECT_EQ(JudgePosition(g, g.CurMovPos), TRuleOutcome::none);
  play(4, 8);
  EXPECT_EQ(RepetitionCount(g, g.CurMovPos), 2) << "White's king on h2 with Black to move";
  play(29, 25);
  play(8, 4);
  play(25, 29);
  EXPECT_EQ(RepetitionCount(g, g.CurMovPos), 3);
  EXPECT_EQ(JudgePosition(g, g.CurMovPos), TRuleOutcome::repetition);
  EXPECT_EQ(PieceCount(g.CurBoard.b), 2);
}

}  // namespace
}  // namespace kestrel
