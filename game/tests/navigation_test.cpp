#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "game_test_util.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using ::testing::_;
using ::testing::AnyNumber;
using ::testing::InSequence;
using ::testing::NiceMock;
using namespace kestrel::testing;

// Replays moves from a start board without the game record.
TBoard Replay(TBoard board, const std::vector<TMove>& moves, int type) {
  for (const TMove& m : moves) ApplyMove(m, board, type);
  return board;
}

TEST(Navigation, GoToMoveRebuildsThePositionOfAnySlot) {
  TGame game;
  NewGame(game, gtRussian);
  std::vector<TMove> played;
  int node = 0;
  for (auto t : {"c3-d4", "f6-e5", "d4:f6", "g7:e5"}) {
    played.push_back(LegalMove(game, node, t));
    node = AddMove(game, node, played.back()).slot;
  }
  const TMove side = LegalMove(game, 1, "b6-a5");
  const int sideSlot = AddMove(game, 1, side).slot;

  NiceMock<MockObserver> ui;
  {
    InSequence order;
    EXPECT_CALL(ui, BeforeGoToMove(_, 3));
    EXPECT_CALL(ui, RequestRefresh(_, rfBoard | rfMoveList | rfTree));
  }
  ASSERT_TRUE(GoToMove(game, 3, &ui));
  EXPECT_EQ(game.CurMovPos, 3);
  EXPECT_EQ(game.SideToMove, TDColor::black);
  EXPECT_EQ(game.CurBoard.b, Replay(InitialPosition(gtRussian), {played[0], played[1], played[2]}, gtRussian).b);

  ASSERT_TRUE(GoToMove(game, sideSlot));
  EXPECT_EQ(game.SideToMove, TDColor::white);
  EXPECT_EQ(game.CurBoard.b, Replay(InitialPosition(gtRussian), {played[0], side}, gtRussian).b);

  ASSERT_TRUE(GoToMove(game, 0));
  EXPECT_EQ(game.CurBoard.b, InitialPosition(gtRussian).b);
  EXPECT_EQ(game.SideToMove, TDColor::white);
}

TEST(Navigation, StepForwardFollowsTheMainLineAndStopsAtItsEnd) {
  TGame game;
  NewGame(game, gtRussian);
  const int a = AddMove(game, 0, LegalMove(game, 0, "c3-d4")).slot;
  const int b = AddMove(game, a, LegalMove(game, a, "f6-g5")).slot;
  const int side = AddMove(game, a, LegalMove(game, a, "b6-a5")).slot;
  game.Moves[b].main = false;
  game.Moves[side].main = true;  // the side line is now the main continuation

  EXPECT_TRUE(StepForward(game));
  EXPECT_EQ(game.CurMovPos, a);
  EXPECT_TRUE(StepForward(game));
  EXPECT_EQ(game.CurMovPos, side);
  EXPECT_EQ(game.SideToMove, TDColor::white);
  TBoard expected;
  TDColor expectedSide;
  ASSERT_TRUE(PositionAt(game, side, expected, expectedSide));
  EXPECT_EQ(game.CurBoard.b, expected.b);
  EXPECT_FALSE(StepForward(game));
  EXPECT_EQ(game.CurMovPos, side);

  EXPECT_TRUE(StepBack(game));
  EXPECT_EQ(game.CurMovPos, a);
  EXPECT_EQ(game.SideToMove, TDColor::black);
  EXPECT_TRUE(StepBack(game));
  EXPECT_TRUE(StepBack(game));  // at the start it stays there
  EXPECT_EQ(game.CurMovPos, 0);

  ASSERT_TRUE(GoToLineEnd(game, 0));
  EXPECT_EQ(game.CurMovPos, side);
  ASSERT_TRUE(GoToLineEnd(game, b));
  EXPECT_EQ(game.CurMovPos, b);
}

TEST(Navigation, FrisianStartPositionHasNoKingMoveCountersWhateverCameBefore) {
  TBrd setup{};
  setup[1] = WhiteMan;
  setup[23] = WhiteKing;
  setup[48] = BlackMan;
  setup[38] = BlackKing;
  for (TDColor first : {TDColor::white, TDColor::black}) {
    SCOPED_TRACE(static_cast<int>(first));
    TGame game;
    ASSERT_TRUE(SetUpPosition(game, setup, first, 1, gtFrisian));
    // Kings move back and forth with plain moves, so the counters run.
    int node = 0;
    int at[2] = {23, 38};
    const int other[2] = {28, 33};
    for (int ply = 0; ply < 5; ++ply) {
      const int c = ColorIndex(game.SideToMove);
      const int to = at[c] == (c == 0 ? 23 : 38) ? other[c] : (c == 0 ? 23 : 38);
      node = AddMove(game, node, PlainMove(at[c], to)).slot;
      at[c] = to;
      ASSERT_TRUE(StepForward(game));
    }
    const TDColor lastMover = Opponent(game.SideToMove);
    ASSERT_NE(game.CurBoard.nmpiece[ColorIndex(lastMover)], 0);
    ASSERT_NE(game.CurBoard.nmcount[ColorIndex(lastMover)], 0);
    ASSERT_TRUE(GoToMove(game, 0));
    EXPECT_EQ(game.CurBoard.b, setup);
    EXPECT_EQ(game.CurBoard.nmpiece[0], 0);
    EXPECT_EQ(game.CurBoard.nmpiece[1], 0);
    EXPECT_EQ(game.SideToMove, first);
    // Replaying from the start agrees with the moves made one by one.
    ASSERT_TRUE(GoToLineEnd(game, 0));
    const TBoard viaStep = game.CurBoard;
    ASSERT_TRUE(GoToMove(game, 0));
    while (StepForward(game)) {
    }
    EXPECT_EQ(game.CurBoard.b, viaStep.b);
    EXPECT_EQ(game.CurBoard.nmpiece, viaStep.nmpiece);
  }
}

TEST(Navigation, SetUpPositionWithFirstMoveNumber25AndBlackToMove) {
  TBrd setup{};
  setup[5] = WhiteMan;
  setup[28] = BlackKing;
  setup[40] = WhiteMan;  // beyond the 32 squares: dropped
  TGame game;
  ASSERT_TRUE(SetUpPosition(game, setup, TDColor::black, 25, gtRussian));
  EXPECT_EQ(game.Header.NumerationFrom, 48);
  EXPECT_EQ(game.Header.FirstMove, TDColor::black);
  EXPECT_EQ(game.SideToMove, TDColor::black);
  EXPECT_EQ(game.Header.TypeOfGame, gtRussian);
  EXPECT_TRUE(game.Modified);
  TBrd unpacked;
  ASSERT_TRUE(UnpackBoard(game.StartBoard, unpacked));
  setup[40] = 0;
  EXPECT_EQ(unpacked, setup);
  EXPECT_EQ(game.CurBoard.b, setup);

  TBrd bad = setup;
  bad[3] = 5;
  TGame untouched;
  EXPECT_FALSE(SetUpPosition(untouched, bad, TDColor::white, 1, gtRussian));
  EXPECT_FALSE(SetUpPosition(untouched, setup, TDColor::white, 0, gtRussian));
  EXPECT_FALSE(SetUpPosition(untouched, setup, TDColor::white, 129, gtRussian));
  EXPECT_FALSE(SetUpPosition(untouched, setup, TDColor::white, 1, 13));
  EXPECT_TRUE(SetUpPosition(untouched, setup, TDColor::white, 128, gtRussian));
  EXPECT_EQ(untouched.Header.NumerationFrom, 254);
}

TEST(Navigation, NewGameStartsFromTheBoardOfItsType) {
  TGame game;
  game.Header.NumerationFrom = 10;
  game.CurMovPos = 7;
  NewGame(game, gtThai);
  EXPECT_EQ(game.Header.TypeOfGame, gtThai);
  EXPECT_EQ(game.CurBoard.b, InitialPosition(gtThai).b);
  EXPECT_EQ(game.CurMovPos, 0);
  EXPECT_EQ(game.Header.NumerationFrom, 0);
  TBrd unpacked;
  ASSERT_TRUE(UnpackBoard(game.StartBoard, unpacked));
  EXPECT_EQ(unpacked, InitialPosition(gtThai).b);
  NewGame(game, gtInternational);
  EXPECT_EQ(game.CurBoard.b, InitialPosition(gtInternational).b);
  EXPECT_FALSE(game.Modified);
}

TEST(Navigation, DamagedParentLinksAreRefusedNotFollowedForever) {
  TGame game;
  PutSlot(game, 1, 0, true, PlainMove(9, 13));
  PutSlot(game, 2, 3, true, PlainMove(21, 17));
  PutSlot(game, 3, 2, true, PlainMove(10, 14));  // 2 and 3 point at each other
  PutSlot(game, 4, 77, true, PlainMove(10, 14));  // parent out of range
  game.CurMovPos = 1;
  for (int slot : {2, 3, 4, 9, -1}) {
    EXPECT_FALSE(GoToMove(game, slot)) << slot;
    EXPECT_FALSE(GoToLineEnd(game, slot)) << slot;
  }
  EXPECT_EQ(game.CurMovPos, 1);
  EXPECT_EQ(MainLineLength(game), 1);
  std::vector<int32_t> path;
  EXPECT_FALSE(PathToSlot(game, 3, path));
  EXPECT_TRUE(path.empty());
  DeleteSubtree(game, 2);  // the cycle goes away as a whole
  EXPECT_TRUE(game.Moves[2].free);
  EXPECT_TRUE(game.Moves[3].free);
}

TEST(Navigation, DamagedStartBoardGivesAnEmptyBoard) {
  TGame game;
  NewGame(game, gtRussian);
  game.StartBoard[4] = 200;
  ASSERT_TRUE(GoToMove(game, 0));
  EXPECT_EQ(game.CurBoard.b, TBrd{});
}

}  // namespace
}  // namespace kestrel
