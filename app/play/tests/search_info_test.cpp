#include "app/play/search_info.h"

#include <gtest/gtest.h>

#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

TRootMove Root(const TMove& m, int16_t lower, int16_t upper) {
  TRootMove r;
  r.move = m;
  r.score = lower;
  r.lower = lower;
  r.upper = upper;
  r.pv.Length = 1;
  r.pv.Mvs[0] = m;
  return r;
}

TEST(SearchInfo, TextsOfSpeedAndTime) {
  EXPECT_EQ(ElapsedText(1205), "12.05");
  EXPECT_EQ(ElapsedText(0), "0.01");
  EXPECT_EQ(SpeedText(5000000, 100), "5000kN/s");
  EXPECT_EQ(SpeedText(999, 0), "99kN/s");
}

TEST(SearchInfo, PublishedSearchRendersAsTheInformationLabelAndRootRows) {
  const TBoard start = InitialPosition(gtRussian);
  TMoveList list;
  uint8_t n = 0;
  GenerateMoveList(start, TDColor::white, list, gtRussian, n);
  ASSERT_GE(n, 3);

  TSearchInfoBoard board;
  TSearchStart s;
  s.engineName = "Kestrel 3.0";
  s.engineFile = "Russian.eng";
  s.board = start;
  s.type = gtRussian;
  s.firstMoveNumber = 1;
  board.BeginSearch(s);
  std::vector<TRootMove> moves{Root(list[0], 12, 12), Root(list[1], -32000, 12), Root(list[2], 12, 32000)};
  board.RootMoves(moves);
  board.Searching(9, 2, 3);
  board.BestLine(12, moves[0]);
  TSearchStats stats;
  stats.counters.nodes = 250000;
  stats.elapsedCs = 50;
  board.RootMovesSorted(moves, stats);

  const TEngineSearchInfo info = board.Snapshot(true);
  EXPECT_TRUE(info.changed);
  EXPECT_FALSE(board.Changed()) << "the renderer took the change";
  EXPECT_EQ(SearchInfoHeader(info), "Kestrel 3.0 [Russian.eng]: Depth 9 (2/3), Speed=500kN/s,  Time=0.50,  EDB n/a");
  const std::string first = "1. " + MoveToText(list[0], gtRussian, NotationMode, TakeChar);
  EXPECT_EQ(SearchInfoText(info), SearchInfoHeader(info) + "\n0.12 " + first + "\n\n");
  const auto rows = RootMoveRows(info);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].score, "0.12");
  EXPECT_EQ(rows[1].score, "<0.12");
  EXPECT_EQ(rows[2].score, ">0.12");
  EXPECT_EQ(rows[1].mark, "*");
  EXPECT_EQ(rows[0].text, first);
}

TEST(SearchInfo, DontAnalyseMarksSurviveARestartOnTheSamePosition) {
  const TBoard start = InitialPosition(gtRussian);
  TMoveList list;
  uint8_t n = 0;
  GenerateMoveList(start, TDColor::white, list, gtRussian, n);
  TSearchInfoBoard board;
  TSearchStart s;
  s.board = start;
  s.type = gtRussian;
  board.BeginSearch(s);
  board.RootMoves({Root(list[0], 0, 0), Root(list[1], 0, 0)});
  board.ToggleExcluded(1);
  EXPECT_TRUE(board.Excluded(list[1]));
  EXPECT_FALSE(board.Excluded(list[0]));
  EXPECT_EQ(RootMoveRows(board.Snapshot())[1].mark, "x");
  board.BeginSearch(s);
  EXPECT_TRUE(board.Excluded(list[1]));
  board.ToggleExcluded(7);  // no such row: nothing happens
  // Another position forgets them.
  s.side = TDColor::black;
  board.BeginSearch(s);
  EXPECT_FALSE(board.Excluded(list[1]));
}

}  // namespace
}  // namespace kestrel
