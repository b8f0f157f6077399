// Endgame tables deciding the games the engine plays: plain play against the
// user and autoplay, with tables generated for the test.
#include <gtest/gtest.h>

#include "app/play/endgame_adjudication.h"
#include "app/play/levels.h"
#include "app/play/result_detection.h"
#include "engine/tools/tests/endgame_fixture.h"
#include "game/navigation.h"
#include "play_test_support.h"

namespace kestrel {
namespace {

TBoard Kings(std::initializer_list<int> white, std::initializer_list<int> black) {
  TBoard board;
  for (int s : white) board.b[s] = WhiteKing;
  for (int s : black) board.b[s] = BlackKing;
  return board;
}

class EndgamePlay : public testing::PlayFixture {
 protected:
  void UseTables(const std::filesystem::path& folder) {
    settings.EDPath = folder.string();
    controller->ResetEndgameCache();
  }
  void SetUp(const TBoard& board, TDColor side) {
    ASSERT_TRUE(controller->EnterSetup());
    controller->SetupPosition(board);
    controller->SetupDone(side, 1);
  }
};

TEST_F(EndgamePlay, KnownEndgamesAreDecidedByTheTablesInPlayAndAutoplay) {
  // Russian: three kings holding the long diagonal beat a lone king off it,
  // whoever is to move; against a king on the diagonal they only draw.
  const TBoard won = Kings({10, 2, 3}, {25});
  const TBoard drawn = Kings({2, 3, 4}, {1});
  struct {
    TBoard board;
    TDColor side;
    bool autoplay;
    uint8_t result;
  } table[] = {
      {won, TDColor::white, false, ResultWhiteWon},
      {won, TDColor::black, false, ResultWhiteWon},
      {drawn, TDColor::white, false, ResultDraw},
      {won, TDColor::black, true, ResultWhiteWon},
      {drawn, TDColor::black, true, ResultDraw},
  };
  UseTables(testing::GeneratedTables(gtRussian, 4));
  controller->SetLevel(LevelIndexOfDepth(7));
  for (const auto& row : table) {
    SetUp(row.board, row.side);
    controller->SetTimePreset(5);
    if (row.autoplay) {
      controller->StartAutoplay();
    } else {
      controller->SetPlayMode();
      controller->Compute();
    }
    WaitIdle();
    const TGame g = Game();
    EXPECT_EQ(g.Header.Result, row.result) << row.autoplay;
    // Decided before any move: nothing is played out.
    EXPECT_EQ(MainLineLength(g), 0);
    EXPECT_FALSE(controller->Clock().Running());
  }

  // Without tables the engine plays the position as before.
  testing::TempDir empty;
  UseTables(empty.path());
  SetUp(won, TDColor::white);
  controller->SetPlayMode();
  controller->Compute();
  WaitIdle();
  EXPECT_EQ(Game().Header.Result, ResultUnknown);
  EXPECT_EQ(MainLineLength(Game()), 1);
}

TEST(EndgameAdjudication, VerdictsBecomeResultsOfTheRightSide) {
  EXPECT_EQ(ResultOfVerdict(1, TDColor::white), ResultWhiteWon);
  EXPECT_EQ(ResultOfVerdict(-1, TDColor::white), ResultBlackWon);
  EXPECT_EQ(ResultOfVerdict(1, TDColor::black), ResultBlackWon);
  EXPECT_EQ(ResultOfVerdict(-1, TDColor::black), ResultWhiteWon);
  EXPECT_EQ(ResultOfVerdict(0, TDColor::black), ResultDraw);
}

}  // namespace
}  // namespace kestrel
