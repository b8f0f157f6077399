#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/board/last_move.h"

namespace kestrel {
namespace {

using ::testing::ElementsAre;

TEST(LastMoveSquares, PlainMoveAndCaptureLandings) {
  TMove plain;
  plain.mv[0] = 9;
  plain.mv[1] = 13;
  EXPECT_THAT(LastMoveSquares(plain, 32), ElementsAre(9, 13));

  // 10 takes 14 landing on 19, then takes 23 landing on 26: the taken
  // squares are not marked.
  TMove capture;
  capture.lt = 2;
  capture.mv[0] = 10;
  capture.mv[1] = 14;
  capture.mv[2] = 19;
  capture.mv[3] = 23;
  capture.mv[4] = 26;
  EXPECT_THAT(LastMoveSquares(capture, 32), ElementsAre(10, 19, 26));
}

TEST(LastMoveSquares, DamagedMovesMarkOnlyRealSquares) {
  TMove none;
  EXPECT_TRUE(LastMoveSquares(none, 32).empty());
  TMove bad;
  bad.mv[0] = 40;  // past a 32-square board
  bad.mv[1] = 7;
  EXPECT_THAT(LastMoveSquares(bad, 32), ElementsAre(7));
  EXPECT_THAT(LastMoveSquares(bad, 50), ElementsAre(40, 7));
  TMove wild;
  wild.lt = 255;  // more captures than a move can hold
  for (auto& b : wild.mv) b = 3;
  EXPECT_EQ(LastMoveSquares(wild, 32).size(), 1u + MaxCaptured);
}

}  // namespace
}  // namespace kestrel
