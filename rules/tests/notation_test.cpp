#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "rules/game_types.h"
#include "rules/notation.h"
#include "test_support/pool_chess_scope.h"

namespace kestrel {
namespace {

using testing::PoolChessScope;

TMove Plain(int from, int to, uint8_t flags = 0) {
  TMove m;
  m.mv[0] = static_cast<uint8_t>(from);
  m.mv[1] = static_cast<uint8_t>(to);
  m.flags = flags;
  return m;
}

// squares: start, then (taken, landing) per step.
TMove Capture(std::initializer_list<int> squares, uint8_t flags = 0) {
  TMove m;
  int i = 0;
  for (int s : squares) m.mv[i++] = static_cast<uint8_t>(s);
  m.lt = static_cast<uint8_t>((squares.size() - 1) / 2);
  m.flags = flags;
  return m;
}

// Square of a chess name worked out from the board geometry alone: rank r
// holds its squares on files r%2, r%2+2, ...
int SquareOfName(std::string_view name, int files) {
  const std::string letters = files == 10 ? "abcdefghik" : "abcdefgh";
  const int file = static_cast<int>(letters.find(name[0]));
  const int rank = std::stoi(std::string(name.substr(1))) - 1;
  return rank * (files / 2) + (file - rank % 2) / 2 + 1;
}

// Square whose shown number is `number` (numeric types).
int SquareOfNumber(int number, int type) {
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
    if (SquareText(s, type, 1) == std::to_string(number)) return s;
  return 0;
}

struct TypedList {
  TMoveList list{};
  int count = 0;
  void Add(const TMove& m) { list[count++] = m; }
};

TEST(SquareText, EveryNumberingIsOneToOneOntoTheBoard) {
  for (bool poolChess : {false, true}) {
    PoolChessScope scope(poolChess);
    for (int t = 1; t <= GameTypeCount; ++t) {
      SCOPED_TRACE(::testing::Message() << GameTypeNames[t] << " chess=" << poolChess);
      const int n = GameTypes[t].SquareCount;
      std::set<std::string> seen;
      for (int s = 1; s <= n; ++s) {
        const std::string text = SquareText(s, t, 1);
        seen.insert(text);
        if (IsAlgebraicType(t)) {
          EXPECT_EQ(SquareOfName(text, BoardShape(t).files), s) << text;
        } else {
          const int number = std::stoi(text);
          EXPECT_GE(number, 1);
          EXPECT_LE(number, n);
        }
      }
      EXPECT_EQ(static_cast<int>(seen.size()), n);
    }
  }
}

TEST(SquareText, NumberingExamplesPerType) {
  struct Row {
    int type;
    std::vector<int> first8, last4;
  };
  const Row rows[] = {
      {gtEnglish, {4, 3, 2, 1, 8, 7, 6, 5}, {32, 31, 30, 29}},
      {gtPool, {4, 3, 2, 1, 8, 7, 6, 5}, {32, 31, 30, 29}},
      {gtItalian, {32, 31, 30, 29, 28, 27, 26, 25}, {4, 3, 2, 1}},
      {gtInternational, {46, 47, 48, 49, 50, 41, 42, 43}, {2, 3, 4, 5}},
      {gtFrisian, {46, 47, 48, 49, 50, 41, 42, 43}, {2, 3, 4, 5}},
      {gtCanadian, {67, 68, 69, 70, 71, 72, 61, 62}, {3, 4, 5, 6}},
      {gtThai, {29, 30, 31, 32, 25, 26, 27, 28}, {1, 2, 3, 4}},
      {gtSpanish, {1, 2, 3, 4, 5, 6, 7, 8}, {29, 30, 31, 32}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(GameTypeNames[row.type]);
    const int n = GameTypes[row.type].SquareCount;
    for (int s = 1; s <= 8; ++s) EXPECT_EQ(SquareText(s, row.type, 1), std::to_string(row.first8[s - 1]));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(SquareText(n - 3 + i, row.type, 1), std::to_string(row.last4[i]));
  }
}

TEST(SquareText, AlgebraicNamesOfBothBoards) {
  EXPECT_EQ(SquareText(1, gtRussian, 0), "a1");
  EXPECT_EQ(SquareText(4, gtBrazilian, 0), "g1");
  EXPECT_EQ(SquareText(5, gtCzech, 0), "b2");
  EXPECT_EQ(SquareText(32, gtRussian, 0), "h8");
  EXPECT_EQ(SquareText(5, gtSpantsiretti, 0), "i1");
  EXPECT_EQ(SquareText(6, gtSpantsiretti, 0), "b2");
  EXPECT_EQ(SquareText(40, gtSpantsiretti, 0), "k8");
  for (int s = 1; s <= 32; ++s) EXPECT_EQ(SquareOfName(AlgebraicNames8[s], 8), s);
  for (int s = 1; s <= 40; ++s) EXPECT_EQ(SquareOfName(AlgebraicNames10x8[s], 10), s);
}

TEST(SquareText, NumbersBelowTenArePaddedUnlessAsked) {
  const int one = SquareOfNumber(1, gtInternational);
  EXPECT_EQ(one, 46);
  EXPECT_EQ(SquareText(one, gtInternational, 0), "01");
  EXPECT_EQ(SquareText(one, gtInternational, 1), "1");
  EXPECT_EQ(SquareText(SquareOfNumber(10, gtInternational), gtInternational, 0), "10");
  EXPECT_EQ(SquareText(1, gtEnglish, 0), "04");
  EXPECT_EQ(SquareText(1, gtRussian, 0), "a1");  // names are never padded
}

TEST(SquareText, ItalianCornerSquaresAreNamedFromTheOtherSide) {
  EXPECT_EQ(SquareText(1, gtItalian, 1), "32");
  EXPECT_EQ(SquareText(32, gtItalian, 1), "1");
  EXPECT_EQ(MoveToText(Plain(1, 5), gtItalian, 1, "-"), "32-28");
  EXPECT_EQ(MoveToText(Plain(32, 28), gtItalian, 1, "-"), "1-5");
}

TEST(SquareText, SquaresOffTheBoardAreNotNamed) {
  EXPECT_EQ(SquareText(0, gtRussian, 0), "ERR");
  EXPECT_EQ(SquareText(33, gtRussian, 0), "ERR");
  EXPECT_EQ(SquareText(41, gtSpantsiretti, 0), "ERR");
  EXPECT_EQ(SquareText(73, gtCanadian, 0), "ERR");
  EXPECT_EQ(SquareText(5, 0, 0), "ERR");
  EXPECT_EQ(SquareText(5, 13, 0), "ERR");
}

TEST(SquareText, PoolFollowsTheChessNotationOption) {
  {
    PoolChessScope scope(true);
    EXPECT_TRUE(IsAlgebraicType(gtPool));
    EXPECT_EQ(MoveToText(Plain(10, 14), gtPool, 0, "-"), "c3-d4");
  }
  {
    PoolChessScope scope(false);
    EXPECT_FALSE(IsAlgebraicType(gtPool));
    EXPECT_EQ(MoveToText(Plain(10, 14), gtPool, 0, "-"), "11-15");
  }
  EXPECT_FALSE(IsAlgebraicType(gtEnglish));
  EXPECT_TRUE(IsAlgebraicType(gtSpantsiretti));
}

// c3 = 10, d4 = 14, e5 = 19, f6 = 23, g7 = 28 on 8x8.
TEST(MoveToText, ModeTableOfAlgebraicMoves) {
  const TMove notUnique = Plain(10, 14);
  EXPECT_EQ(MoveToText(notUnique, gtRussian, 0, "-"), "c3-d4");
  EXPECT_EQ(MoveToText(notUnique, gtRussian, 1, "-"), "cd4");
  EXPECT_EQ(MoveToText(notUnique, gtRussian, 2, "-"), "cd4");

  const TMove unique = Plain(10, 14, mfUniqueTarget);
  EXPECT_EQ(MoveToText(unique, gtRussian, 0, "-"), "c3-d4");
  EXPECT_EQ(MoveToText(unique, gtRussian, 1, "-"), "cd4");
  EXPECT_EQ(MoveToText(unique, gtRussian, 2, "-"), "d4");

  const TMove take = Capture({10, 14, 19});
  EXPECT_EQ(MoveToText(take, gtRussian, 0, ":"), "c3:e5");
  EXPECT_EQ(MoveToText(take, gtRussian, 1, ":"), "c:e5");
  EXPECT_EQ(MoveToText(take, gtRussian, 2, ":"), "c:e5");
  EXPECT_EQ(MoveToText(Capture({10, 14, 19}, mfUniqueTarget), gtRussian, 2, ":"), "e5");
}

TEST(MoveToText, ModeTableOfNumericMoves) {
  const int s32 = SquareOfNumber(32, gtInternational), s28 = SquareOfNumber(28, gtInternational);
  const int s4 = SquareOfNumber(4, gtInternational), s9 = SquareOfNumber(9, gtInternational);
  for (int mode = 0; mode <= 2; ++mode) EXPECT_EQ(MoveToText(Plain(s32, s28), gtInternational, mode, "-"), "32-28");
  EXPECT_EQ(MoveToText(Plain(s32, s28, mfUniqueTarget), gtInternational, 2, "-"), "28");
  EXPECT_EQ(MoveToText(Plain(s4, s9), gtInternational, 0, "-"), "04-09");
  EXPECT_EQ(MoveToText(Plain(s4, s9), gtInternational, 1, "-"), "4-9");
  EXPECT_EQ(MoveToText(Plain(s4, s9), gtInternational, 2, "-"), "4-9");
  EXPECT_EQ(MoveToText(Plain(s4, s9, mfUniqueTarget), gtInternational, 2, "-"), "9");

  const int s5 = SquareOfNumber(5, gtInternational), s10 = SquareOfNumber(10, gtInternational);
  EXPECT_EQ(MoveToText(Plain(s5, s10), gtInternational, 0, "-"), "05-10");
  EXPECT_EQ(MoveToText(Plain(s5, s10), gtInternational, 1, "-"), "5-10");
}

TEST(MoveToText, SeparatorOfPlainMovesAndCaptures) {
  // A plain move never shows a capture sign.
  EXPECT_EQ(MoveToText(Plain(10, 14), gtRussian, 0, "x"), "c3-d4");
  EXPECT_EQ(MoveToText(Plain(10, 14), gtRussian, 0, ":"), "c3-d4");
  EXPECT_EQ(MoveToText(Plain(10, 14), gtRussian, 1, "x"), "cd4");
  EXPECT_EQ(MoveToText(Plain(10, 14), gtRussian, 0, ""), "c3d4");
  EXPECT_EQ(MoveToText(Plain(10, 14), gtEnglish, 1, "x"), "11-15");
  // An empty capture separator stays empty.
  EXPECT_EQ(MoveToText(Capture({10, 14, 19}), gtRussian, 0, ""), "c3e5");
  EXPECT_EQ(MoveToText(Capture({10, 14, 19}), gtRussian, 1, ""), "ce5");
}

TEST(MoveToText, AmbiguousFileShowsTheFullStartSquare) {
  const TMove take = Capture({10, 14, 19}, mfAmbiguousFile);
  EXPECT_EQ(MoveToText(take, gtRussian, 1, ":"), "c3:e5");
  EXPECT_EQ(MoveToText(take, gtRussian, 2, ":"), "c3:e5");
  EXPECT_EQ(MoveToText(Plain(10, 14, mfAmbiguousFile), gtRussian, 1, "-"), "c3-d4");
}

TEST(MoveToText, HiddenMovesVanishOnlyInExtraShortMode) {
  for (uint8_t hide : {mfHideExtraShort, mfHideExtraShort2}) {
    const TMove m = Plain(10, 14, hide);
    EXPECT_EQ(MoveToText(m, gtRussian, 2, "-"), "");
    EXPECT_EQ(MoveToText(m, gtRussian, 0, "-"), "c3-d4");
    EXPECT_EQ(MoveToText(m, gtRussian, 1, "-"), "cd4");
    const TMove n = Plain(SquareOfNumber(32, gtInternational), SquareOfNumber(28, gtInternational), hide);
    EXPECT_EQ(MoveToText(n, gtInternational, 2, "-"), "");
    EXPECT_EQ(MoveToText(n, gtInternational, 1, "-"), "32-28");
  }
}

TEST(MoveToText, PathAndTakenForms) {
  const TMove twice = Capture({10, 14, 19, 23, 28});
  EXPECT_EQ(MoveToTextPath(twice, gtRussian, 0, ":"), "c3:e5:g7");
  EXPECT_EQ(MoveToTextPath(twice, gtRussian, 1, ":"), "c3:e5:g7");  // start keeps its name
  EXPECT_EQ(MoveToText(twice, gtRussian, 0, ":"), "c3:g7");
  EXPECT_EQ(MoveToTextTaken(twice, gtRussian), "c3xg7xd4xf6");
  EXPECT_EQ(MoveToTextPath(Plain(10, 14), gtRussian, 1, ":"), "cd4");
  EXPECT_EQ(MoveToTextTaken(Plain(10, 14), gtRussian), "c3-d4");

  auto sq = [](int number) { return SquareOfNumber(number, gtInternational); };
  const TMove intl = Capture({sq(26), sq(21), sq(17), sq(12), sq(8)});
  EXPECT_EQ(MoveToTextTaken(intl, gtInternational), "26x8x21x12");
  EXPECT_EQ(MoveToTextPath(intl, gtInternational, 0, "x"), "26x17x08");
  EXPECT_EQ(MoveToTextPath(intl, gtInternational, 1, "x"), "26x17x8");
  EXPECT_EQ(MoveToText(intl, gtInternational, 0, "x"), "26x08");
  EXPECT_EQ(MoveToTextTaken(Plain(sq(4), sq(9)), gtInternational), "04-09");
}

TEST(MoveToText, LongestCaptureIsRenderedWhole) {
  // Spanish shows square numbers as they are, so the text is known in advance.
  TMove m;
  m.lt = MaxCaptured;
  for (int i = 0; i < 2 * MaxCaptured + 1; ++i) m.mv[i] = static_cast<uint8_t>(i % 32 + 1);
  std::string path = "1", taken = "1x" + std::to_string(m.mv[2 * MaxCaptured]);
  for (int k = 1; k <= MaxCaptured; ++k) {
    path += "x" + std::to_string(m.mv[2 * k]);
    taken += "x" + std::to_string(m.mv[2 * k - 1]);
  }
  EXPECT_EQ(MoveToTextPath(m, gtSpanish, 1, "x"), path);
  EXPECT_EQ(MoveToTextTaken(m, gtSpanish), taken);
}

TEST(MoveToText, OutOfRangeMovesAreErrInEveryForm) {
  std::vector<TMove> bad = {Plain(0, 14), Plain(10, 33), Capture({10, 14, 19, 0, 28}),
                            Capture({10, 14, 19, 23, 40})};
  // A damaged capture count must not lead past the squares of the record.
  TMove huge = Capture({10, 14, 19});
  huge.lt = 200;
  for (auto& b : huge.mv) b = 10;
  bad.push_back(huge);
  for (const TMove& m : bad) {
    EXPECT_EQ(MoveToText(m, gtRussian, 0, "x"), "ERR");
    EXPECT_EQ(MoveToText(m, gtRussian, 2, "x"), "ERR");
    EXPECT_EQ(MoveToTextPath(m, gtRussian, 0, "x"), "ERR");
    EXPECT_EQ(MoveToTextTaken(m, gtRussian), "ERR");
    EXPECT_EQ(MoveToTextTaken(m, gtItalian), "ERR");
  }
  // 40 is on the 10x8 board but not on 8x8.
  EXPECT_EQ(MoveToText(Plain(35, 40), gtSpantsiretti, 0, "-"), "i7-k8");
  EXPECT_EQ(MoveToText(Plain(10, 14), 0, 0, "-"), "ERR");
  EXPECT_EQ(MoveToText(Plain(10, 14), 13, 0, "-"), "ERR");
}

TEST(FindMoveByText, EveryAcceptedFormOfAlgebraicMoves) {
  TypedList moves;
  moves.Add(Plain(10, 14));                     // 1: c3-d4
  moves.Add(Capture({10, 14, 19}));             // 2: c3:e5
  moves.Add(Capture({10, 14, 19, 23, 28}));     // 3: c3:e5:g7
  auto find = [&](std::string_view text) { return FindMoveByText(text, moves.count, moves.list, gtRussian); };

  for (const char* text : {"cd4", "c3-d4", "c3d4", "C3-D4", "CD4", " c3-d4 "}) EXPECT_EQ(find(text), 1) << text;
  for (const char* text : {"c3:e5", "c3xe5", "c3e5", "c:e5", "cxe5", "ce5", "C3XE5"}) EXPECT_EQ(find(text), 2) << text;
  for (const char* text : {"c3:e5:g7", "c3xe5xg7", "c3:g7", "c3xg7", "c3g7", "c:g7", "cxg7", "cg7", "c3xg7xd4xf6"})
    EXPECT_EQ(find(text), 3) << text;
  // A capture sign never selects a plain move.
  for (const char* text : {"c3:d4", "c3xd4", "c:d4", "", "  ", "err", "ERR", "d4", "c3", "e5"}) EXPECT_EQ(find(text), 0) << text;
}

TEST(FindMoveByText, EveryAcceptedFormOfNumericMoves) {
  auto sq = [](int number) { return SquareOfNumber(number, gtInternational); };
  TypedList moves;
  moves.Add(Plain(sq(32), sq(28)));
  moves.Add(Plain(sq(4), sq(9)));
  moves.Add(Capture({sq(26), sq(21), sq(17), sq(12), sq(8)}));
  auto find = [&](std::string_view text) { return FindMoveByText(text, moves.count, moves.list, gtInternational); };

  for (const char* text : {"32-28", "3228"}) EXPECT_EQ(find(text), 1) << text;
  for (const char* text : {"04-09", "4-9", "0409", "49"}) EXPECT_EQ(find(text), 2) << text;
  for (const char* text : {"26x8", "26x08", "26:8", "268", "2608", "26x17x8", "26x17x08", "26:17:8", "26x8x21x12", "26-8"})
    EXPECT_EQ(find(text), 3) << text;
  for (const char* text : {"32x28", "32:28", "26x21x12", "26x17", "9"}) EXPECT_EQ(find(text), 0) << text;
}

TEST(FindMoveByText, AmbiguousFileNeedsTheFullStartSquare) {
  // c3 and c7 both take towards e5: the short form names neither.
  TypedList moves;
  moves.Add(Capture({10, 14, 19}, mfAmbiguousFile));
  moves.Add(Capture({26, 22, 19}, mfAmbiguousFile));
  auto find = [&](std::string_view text) { return FindMoveByText(text, moves.count, moves.list, gtRussian); };
  EXPECT_EQ(find("cxe5"), 0);
  EXPECT_EQ(find("c:e5"), 0);
  EXPECT_EQ(find("c3xe5"), 1);
  EXPECT_EQ(find("c7:e5"), 2);
  EXPECT_EQ(find("c7e5"), 2);
}

TEST(FindMoveByText, TheLowestNumberedMatchingMoveWins) {
  // "ce5" is a late rendering of the capture and an early one of the king move;
  // list order decides, not the order of the renderings.
  const TMove capture = Capture({26, 22, 19});
  const TMove kingMove = Plain(10, 19);
  TypedList a;
  a.Add(capture);
  a.Add(kingMove);
  EXPECT_EQ(FindMoveByText("ce5", a.count, a.list, gtRussian), 1);
  TypedList b;
  b.Add(kingMove);
  b.Add(capture);
  EXPECT_EQ(FindMoveByText("ce5", b.count, b.list, gtRussian), 1);
  // Two routes to the same end: the first one found.
  TypedList routes;
  routes.Add(Capture({10, 14, 19, 23, 28}));
  routes.Add(Capture({10, 14, 19, 23, 28}));
  EXPECT_EQ(FindMoveByText("c3:g7", routes.count, routes.list, gtRussian), 1);
}

TEST(FindMoveByText, CountIsBoundedAndDamagedMovesAreSkipped) {
  TMoveList list{};
  list[0] = Capture({10, 14, 19});
  list[0].lt = 90;  // damaged
  list[MaxMoves - 1] = Plain(10, 14);
  EXPECT_EQ(FindMoveByText("c3-d4", 1000, list, gtRussian), MaxMoves);
  EXPECT_EQ(FindMoveByText("c3-d4", MaxMoves - 1, list, gtRussian), 0);
  EXPECT_EQ(FindMoveByText("c3-d4", -5, list, gtRussian), 0);
  EXPECT_EQ(FindMoveByText("c3-d4", MaxMoves, list, 0), 0);
  EXPECT_EQ(FindMoveByText("err", MaxMoves, list, gtRussian), 0);
}

TEST(FindMoveByText, PoolReadsTheNotationItShows) {
  TypedList moves;
  moves.Add(Plain(10, 14));
  {
    PoolChessScope scope(true);
    EXPECT_EQ(FindMoveByText("c3-d4", moves.count, moves.list, gtPool), 1);
    EXPECT_EQ(FindMoveByText("11-15", moves.count, moves.list, gtPool), 0);
  }
  {
    PoolChessScope scope(false);
    EXPECT_EQ(FindMoveByText("11-15", moves.count, moves.list, gtPool), 1);
    EXPECT_EQ(FindMoveByText("c3-d4", moves.count, moves.list, gtPool), 0);
  }
}

TEST(NotationSettings, Defaults) {
  EXPECT_EQ(NotationMode, 0);
  EXPECT_EQ(TakeChar, "x");
  EXPECT_FALSE(PoolChessNotation);
}

}  // namespace
}  // namespace kestrel
