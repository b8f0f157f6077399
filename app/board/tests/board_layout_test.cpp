#include <gtest/gtest.h>

#include "app/board/board_layout.h"

namespace kestrel {
namespace {

TEST(MainLayout, WideWindowGivesTheHeightToTheBoard) {
  const MainLayout l = LayOutMainWindow({1280, 800, LargeBoardRequest, false, 240});
  EXPECT_EQ(l.boardEdge, 650);           // 800 - 150
  EXPECT_EQ(l.columnWidth, 615);         // 1280 - 650 - 15
  EXPECT_EQ(l.columnX, 1280 - 8 - 615);  // pulled left to keep 8 pixels at the edge
  EXPECT_EQ(l.searchInfoWidth, 615 - 240 - 10);
  EXPECT_EQ(l.gamePanelY, 62);
  EXPECT_EQ(l.gamePanelHeight, 800 - 315 + 33);
  EXPECT_EQ(l.infoPanelWidth, 650);
  EXPECT_EQ(l.infoPanelHeight, 800 - 650 - 120);
  EXPECT_EQ(l.navigationCentreX, 325);
  EXPECT_EQ(l.stopButtonRight, 650);
}

TEST(MainLayout, NarrowWindowGivesTheWidthToTheColumn) {
  const MainLayout l = LayOutMainWindow({900, 1000, LargeBoardRequest, true, 240});
  EXPECT_EQ(l.boardEdge, 615);  // 900 - 285
  EXPECT_EQ(l.columnWidth, 270);
  EXPECT_EQ(l.columnX, 900 - 8 - 270);
  EXPECT_EQ(l.gamePanelY, 95);  // under the clock
  EXPECT_EQ(l.gamePanelHeight, 1000 - 315);
}

TEST(MainLayout, SmallestWindowKeepsTheSmallestBoardAndColumn) {
  const MainLayout atMinimum = LayOutMainWindow({MinMainWindowWidth, MinMainWindowHeight, LargeBoardRequest, false, 0});
  EXPECT_EQ(atMinimum.boardEdge, 310);
  EXPECT_EQ(atMinimum.columnWidth, 305);
  EXPECT_EQ(atMinimum.columnX, 630 - 8 - 305);

  const MainLayout tiny = LayOutMainWindow({400, 300, LargeBoardRequest, false, 200});
  EXPECT_EQ(tiny.boardEdge, SmallestBoardEdge);
  EXPECT_EQ(tiny.columnWidth, 250);
  EXPECT_GE(tiny.columnX, 0);
  EXPECT_EQ(tiny.searchInfoWidth, 40);
  EXPECT_EQ(tiny.infoPanelHeight, 0);  // never negative
}

TEST(MainLayout, WantedSizeCapsTheBoard) {
  EXPECT_EQ(LayOutMainWindow({1280, 800, SmallBoardRequest, false, 0}).boardEdge, 300);
  EXPECT_EQ(LayOutMainWindow({1280, 800, 500, false, 0}).boardEdge, 500);
  EXPECT_EQ(LayOutMainWindow({1280, 800, 5000, false, 0}).boardEdge, 650);
  // A damaged setting below the smallest board still gives a usable board.
  EXPECT_EQ(LayOutMainWindow({1280, 800, 12, false, 0}).boardEdge, 300);
  EXPECT_EQ(LayOutMainWindow({1280, 800, -7, false, 0}).boardEdge, 300);
  // With a small board the column takes the rest of the width.
  const MainLayout l = LayOutMainWindow({1280, 800, SmallBoardRequest, false, 0});
  EXPECT_EQ(l.columnWidth, 1280 - 300 - 15);
}

TEST(MainLayout, SizeCommands) {
  EXPECT_EQ(AvailableBoardEdge(1280, 800), 650);
  EXPECT_EQ(AvailableBoardEdge(500, 400), 300);
  EXPECT_EQ(AverageBoardRequest(1280, 800), (300 + 630) / 2);  // 800 - 170
  EXPECT_EQ(AverageBoardRequest(1000, 1200), (300 + 715) / 2); // 1000 - 285
  EXPECT_EQ(AverageBoardRequest(500, 400), 300);
}

}  // namespace
}  // namespace kestrel
