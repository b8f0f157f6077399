// The pattern board's click rules, its squares under the mouse, its buttons,
// and the dialog's values turned into a search record.
#include <gtest/gtest.h>

#include <vector>

#include "app/search/pattern_board.h"
#include "app/search/search_dialog_values.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

constexpr auto L = TPatternButton::left, R = TPatternButton::right, M = TPatternButton::middle;

TEST(PatternBoard, ClickRulesStepTheSquare) {
  struct TCase {
    int8_t from;
    TPatternButton button;
    std::vector<int8_t> steps;  // the square after each further click
  };
  const std::vector<TCase> cases = {
      {Empty, L, {WhiteMan, WhiteKing, AnySquare, WhiteMan}},
      {BlackKing, L, {BlackMan, Empty, WhiteMan}},
      {Empty, R, {BlackMan, BlackKing, AnySquare, BlackMan}},
      {WhiteKing, R, {WhiteMan, Empty, BlackMan}},
      {AnySquare, M, {Empty, AnySquare, Empty}},
      {WhiteMan, M, {AnySquare}},
      {BlackKing, M, {AnySquare}},
  };
  for (const TCase& c : cases) {
    TPatternState s;
    s.board[7] = c.from;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      PatternClick(s, 7, c.button);
      EXPECT_EQ(s.board[7], c.steps[i]) << "from " << int(c.from) << " click " << i + 1;
    }
    EXPECT_EQ(s.combFr, -1);
    EXPECT_EQ(s.combTo, -1);
  }
}

TEST(PatternBoard, WithCombinationClicksSetTheSquaresNotThePattern) {
  TPatternState s;
  s.board[5] = WhiteMan;
  SetCombination(s, true);
  EXPECT_EQ(s.board[5], AnySquare) << "checking Combination: cleans the pattern";
  const TBrd cleaned = s.board;
  struct TStep {
    int square;
    TPatternButton button;
    int fr, to;
  };
  for (const TStep& t : std::vector<TStep>{{9, L, 9, -1},   {9, L, -1, -1}, {9, L, 9, -1},   {22, R, 9, 22},
                                           {22, R, 9, -1},  {9, R, 9, 9},   {9, M, -1, -1},  {3, L, 3, -1},
                                           {4, R, 3, 4},    {4, M, 3, -1},  {3, L, -1, -1}}) {
    PatternClick(s, t.square, t.button);
    EXPECT_EQ(s.combFr, t.fr) << t.square;
    EXPECT_EQ(s.combTo, t.to) << t.square;
  }
  EXPECT_EQ(s.board, cleaned);
}

TEST(PatternBoard, ButtonsSetTheWholeBoard) {
  TPatternState s;
  SetCombination(s, true);
  PatternClick(s, 3, L);
  ClearPattern(s);
  for (int sq = 1; sq <= MaxSquares; ++sq) EXPECT_EQ(s.board[sq], Empty);
  EXPECT_EQ(s.combFr, 3) << "Clear keeps the combination squares";
  CleanPattern(s);
  for (int sq = 1; sq <= MaxSquares; ++sq) EXPECT_EQ(s.board[sq], AnySquare);
  EXPECT_EQ(s.combFr, -1);
  PatternClick(s, 3, L);
  SetPatternPosition(s, PatternStartPosition(TPatternBoardKind::b80));
  EXPECT_FALSE(s.comb);
  EXPECT_EQ(s.combFr, -1);
  EXPECT_EQ(s.board, InitialPosition(gtSpantsiretti).b);
  EXPECT_EQ(PatternStartPosition(TPatternBoardKind::b64en), InitialPosition(gtRussian).b) << "12 men, not Thai's 8";
}

TEST(PatternBoard, EverySquareIsFoundWhereItIsDrawn) {
  for (int k = 0; k < 6; ++k) {
    const auto kind = static_cast<TPatternBoardKind>(k);
    const BoardGeometry g = PatternBoardGeometry(kind);
    int found = 0;
    for (int sq = 1; sq <= g.squareCount; ++sq) {
      const SquarePlacement p = PlaceSquare(sq, g, PatternBoardOrientation(kind));
      EXPECT_EQ(PatternSquareAt(kind, p.playable.CentreX(), p.playable.CentreY()), sq) << PatternBoardCaptions[k];
      EXPECT_EQ(PatternSquareAt(kind, p.light.CentreX(), p.light.CentreY()), std::nullopt);
      EXPECT_LE(p.playable.x + p.playable.size, PatternImageSize - 10);
      EXPECT_LE(p.playable.y + p.playable.size, PatternImageSize - 10);
      ++found;
    }
    EXPECT_EQ(found, PatternSquareCount(kind));
    EXPECT_EQ(PatternSquareAt(kind, 5, 130), std::nullopt) << "the margin";
    EXPECT_EQ(PatternSquareAt(kind, 130, 255), std::nullopt);
  }
  // Square 1 sits bottom left, on "64 it" bottom right; "80" starts 24 pixels lower.
  EXPECT_EQ(PatternSquareAt(TPatternBoardKind::b64, 25, 235), 1);
  EXPECT_EQ(PatternSquareAt(TPatternBoardKind::b64it, 235, 235), 1);
  EXPECT_EQ(PatternSquareAt(TPatternBoardKind::b80, 22, 20), std::nullopt);
  EXPECT_EQ(PatternSquareAt(TPatternBoardKind::b80, 22, 214), 1);
}

TEST(SearchDialogValues, CommentSwitchesClearEachOther) {
  TSearchDialogValues v;
  SetComments(v, true);
  SetVariations(v, true);
  SetUncommented(v, true);
  EXPECT_FALSE(v.comments || v.variations);
  SetVariations(v, true);
  EXPECT_FALSE(v.uncommented);
  SetComments(v, false);
  EXPECT_TRUE(v.variations);
}

TEST(SearchDialogValues, OkGivesTheRecordAndTheSwitches) {
  TSearchDialogValues v;
  v.white = "IVAN";
  v.tournament = "\xD2\xF3\xF0";  // Тур
  v.position = true;
  v.board = TPatternBoardKind::b100;
  v.pattern.board[1] = WhiteMan;
  v.material[mrBlackKings] = true;
  v.materialMin[mrBlackKings] = 1;
  v.typeChecked = true;
  v.type = gtFrisian;
  v.comments = true;
  TSearchInfo info;
  TSearchSwitches sw;
  ToSearchRecord(v, info, sw);
  EXPECT_EQ(info.name[0], "ivan");
  EXPECT_EQ(info.tourn, "\xF2\xF3\xF0");
  EXPECT_EQ(info.brdsearchrev[50], BlackMan);
  EXPECT_EQ(info.brdsearchrev[1], AnySquare);
  EXPECT_TRUE(info.bk && info.bkmin == 1 && info.bkmax == 12);
  EXPECT_FALSE(info.Comb);
  EXPECT_TRUE(sw.position && sw.comments && !sw.deleted);
  EXPECT_EQ(sw.squareCount, 50);
  EXPECT_EQ(sw.gameType, gtFrisian);

  v.deleted = true;
  v.onlyInitial = true;
  ToQuickSearch(v, InitialPosition(gtRussian).b, TDColor::black, 32, info, sw);
  EXPECT_FALSE(v.comments || v.onlyInitial) << "cleared in the dialog";
  EXPECT_TRUE(sw.deleted && sw.position && !sw.comments);
  EXPECT_EQ(sw.gameType, gtFrisian);
  EXPECT_TRUE(info.name[0].empty());
  EXPECT_TRUE(info.blackmovechecked && !info.whitemovechecked && info.ignorecolboard);
}

}  // namespace
}  // namespace kestrel
