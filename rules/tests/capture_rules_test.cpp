// The capture rules of each game type on hand-built positions.
#include <gtest/gtest.h>

#include "rules/tests/move_test_support.h"

namespace kestrel {
namespace {

using testing::Board;
using testing::Moves;
using testing::Paths;
using testing::Sq;
using Set = std::set<std::string>;

constexpr TDColor W = TDColor::white;
constexpr TDColor B = TDColor::black;

// --- crowning in the middle of a capture -------------------------------------

TEST(CaptureRules, RussianManCrownedMidCaptureGoesOnAsFlyingKing) {
  // b6 takes c7 and reaches d8; f6 is two squares away, out of a man's reach.
  const TBoard board = Board(gtRussian, "b6", "c7,f6");
  EXPECT_EQ(Paths(board, W, gtRussian), (Set{"b6:d8:g5", "b6:d8:h4"}));
  // Brazilian men are only crowned where the capture ends.
  EXPECT_EQ(Paths(board, W, gtBrazilian), (Set{"b6:d8"}));

  TBoard after = board;
  const auto moves = Moves(board, W, gtRussian);
  ApplyMove(moves.at(0), after, gtRussian);
  EXPECT_EQ(after.b[moves[0].To()], WhiteKing);
  EXPECT_EQ(after.b[Sq("c7", gtRussian)], Empty);
  EXPECT_EQ(after.b[Sq("f6", gtRussian)], Empty);
}

TEST(CaptureRules, SpantsirettiManCrownedMidCapture) {
  const TBoard board = Board(gtSpantsiretti, "b6", "c7,f6");
  // Ten files: the long diagonal from d8 goes on to i3 and j2.
  EXPECT_EQ(Paths(board, W, gtSpantsiretti), (Set{"b6:d8:g5", "b6:d8:h4", "b6:d8:i3", "b6:d8:j2"}));
}

TEST(CaptureRules, InternationalManPassesLastRankAndStaysMan) {
  // b8 takes c9 to d10 on the last rank, then e9 backwards to f8.
  const TBoard board = Board(gtInternational, "b8", "c9,e9");
  const auto moves = Moves(board, W, gtInternational);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(testing::Path(moves[0], gtInternational), "b8:d10:f8");
  TBoard after = board;
  ApplyMove(moves[0], after, gtInternational);
  EXPECT_EQ(after.b[Sq("f8", gtInternational)], WhiteMan);
  // In Russian the same man would have been crowned on d10 and gone on.
  EXPECT_EQ(Paths(Board(gtRussian, "b6", "c7,e7"), W, gtRussian), (Set{"b6:d8:f6", "b6:d8:g5", "b6:d8:h4"}));
}

TEST(CaptureRules, ManEndingOnLastRankIsCrowned) {
  for (int type : {gtRussian, gtBrazilian, gtEnglish, gtInternational}) {
    SCOPED_TRACE(type);
    const bool big = GameTypes[type].SquareCount == 50;
    const TBoard board = big ? Board(type, "b8", "c9") : Board(type, "b6", "c7");
    const auto moves = Moves(board, W, type);
    ASSERT_EQ(moves.size(), 1u);
    TBoard after = board;
    ApplyMove(moves[0], after, type);
    EXPECT_EQ(after.b[moves[0].To()], WhiteKing);
  }
}

// --- majority ------------------------------------------------------------------

TEST(CaptureRules, AnyCaptureOrOnlyTheLongest) {
  // a3 can take one piece; h2 can take two.
  const TBoard board = Board(gtEnglish, "a3,h2", "b4,g3,e5");
  const Set both{"a3:c5", "h2:f4:d6"};
  EXPECT_EQ(Paths(board, W, gtEnglish), both);
  EXPECT_EQ(Paths(board, W, gtRussian), both);
  EXPECT_EQ(Paths(board, W, gtPool), both);
  EXPECT_EQ(Paths(board, W, gtBrazilian), (Set{"h2:f4:d6"}));
  EXPECT_EQ(Paths(board, W, gtSpanish), (Set{"h2:f4:d6"}));
  EXPECT_EQ(Paths(board, W, gtItalian), (Set{"h2:f4:d6"}));
}

TEST(CaptureRules, CaptureIsCompulsory) {
  const TBoard board = Board(gtRussian, "c3,g3", "d4");
  EXPECT_EQ(Paths(board, W, gtRussian), (Set{"c3:e5"}));
}

// --- king before man, most kings, earliest kings ---------------------------

TEST(CaptureRules, CzechKingCaptureExcludesLongerManCapture) {
  // King b8 can take g3 (one piece); man a1 can take b2, b4 and b6.
  const TBoard board = Board(gtCzech, "a1,Kb8", "b2,b4,b6,g3");
  EXPECT_EQ(Paths(board, W, gtCzech), (Set{"b8:h2"}));
  const TBoard noKing = Board(gtCzech, "a1", "b2,b4,b6,g3");
  EXPECT_EQ(Paths(noKing, W, gtCzech), (Set{"a1:c3:a5:c7"}));
  // Spanish counts pieces: the man's three beat the king's one.
  EXPECT_EQ(Paths(board, W, gtSpanish), (Set{"a1:c3:a5:c7"}));
}

TEST(CaptureRules, ItalianManCannotTakeKing) {
  const TBoard board = Board(gtItalian, "c3", "Kd4");
  EXPECT_EQ(Paths(board, W, gtItalian), (Set{"c3-b4"}));
  EXPECT_EQ(Paths(board, W, gtEnglish), (Set{"c3:e5"}));
  // A king may take a king.
  EXPECT_EQ(Paths(Board(gtItalian, "Kc3", "Kd4"), W, gtItalian), (Set{"c3:e5"}));
}

TEST(CaptureRules, ItalianKingBeforeManWithEqualCount) {
  // King a5 takes b4 and d2; man e3 takes f4 and f6.
  const TBoard board = Board(gtItalian, "Ka5,e3", "b4,d2,f4,f6");
  EXPECT_EQ(Paths(board, W, gtItalian), (Set{"a5:c3:e1"}));
  // Spanish has no such precedence (and its flying king may take f6 instead).
  EXPECT_EQ(Paths(board, W, gtSpanish), (Set{"a5:c3:e1", "a5:c3:g7", "a5:c3:h8", "e3:g5:e7"}));
}

TEST(CaptureRules, ItalianKingTakenEarlierWins) {
  // From d4: e5 (a king) then g7, or c5 then c7 (a king); one king each.
  const TBoard board = Board(gtItalian, "Kd4", "Ke5,g7,c5,Kc7");
  EXPECT_EQ(Paths(board, W, gtItalian), (Set{"d4:f6:h8"}));
  EXPECT_EQ(Paths(board, W, gtSpanish).count("d4:f6:h8"), 1u);
  EXPECT_EQ(Paths(Board(gtEnglish, "Kd4", "Ke5,g7,c5,Kc7"), W, gtEnglish), (Set{"d4:f6:h8", "d4:b6:d8"}));
}

TEST(CaptureRules, ItalianAndSpanishMostKings) {
  // d4 can take e5 then g7 (no king) or c5 then c7 (one king).
  const TBoard board = Board(gtItalian, "Kd4", "e5,g7,c5,Kc7");
  EXPECT_EQ(Paths(board, W, gtItalian), (Set{"d4:b6:d8"}));
  EXPECT_EQ(Paths(board, W, gtSpanish), (Set{"d4:b6:d8"}));
  EXPECT_EQ(Paths(board, W, gtBrazilian), (Set{"d4:b6:d8", "d4:f6:h8"}));
}

// f4 can take four pieces as e5, Ke7, g7, g5 (one king, kings early) or as
// g5, g7, Ke7, Kc7 (two kings, later). More kings come first; the order value
// only decides between captures of as many kings.
TEST(CaptureRules, ItalianMoreKingsBeatEarlierKings) {
  const TBoard board = Board(gtItalian, "Kf4,Kf6", "Kb2,e5,g5,Kc7,Ke7,g7");
  EXPECT_EQ(Paths(board, W, gtItalian), (Set{"f4:h6:f8:d6:b8"}));
}

TEST(CaptureRules, SpanishTwoKingsBeatOne) {
  // a1 takes b2, Kb4, b6; h2 takes g3, Kg5, Kg7.
  const TBoard board = Board(gtSpanish, "a1,h2", "b2,Kb4,b6,g3,Kg5,Kg7");
  EXPECT_EQ(Paths(board, W, gtSpanish), (Set{"h2:f4:h6:f8"}));
  EXPECT_EQ(Paths(board, W, gtBrazilian), (Set{"a1:c3:a5:c7", "h2:f4:h6:f8"}));
}

// --- Frisian -------------------------------------------------------------------

TEST(CaptureRules, FrisianManCapturesOrthogonally) {
  const struct {
    const char* victim;
    const char* path;
  } cases[] = {{"e7", "e5:e9"}, {"e3", "e5:e1"}, {"g5", "e5:i5"}, {"c5", "e5:a5"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.victim);
    const TBoard board = Board(gtFrisian, "e5", c.victim);
    EXPECT_EQ(Paths(board, W, gtFrisian), (Set{c.path}));
    // International men do not.
    EXPECT_EQ(Paths(board, W, gtInternational).count(c.path), 0u);
  }
}

TEST(CaptureRules, FrisianKingFliesOrthogonally) {
  const TBoard board = Board(gtFrisian, "Ka1", "a5");
  EXPECT_EQ(Paths(board, W, gtFrisian), (Set{"a1:a7", "a1:a9"}));
}

TEST(CaptureRules, FrisianKingBeforeManAndMostKings) {
  // King a1 can take c3, man i1 can take i3: one piece each.
  const TBoard board = Board(gtFrisian, "Ka1,i1", "c3,i3");
  for (const auto& p : Paths(board, W, gtFrisian)) EXPECT_EQ(p.substr(0, 2), "a1") << p;
  // One king taken beats none with as many pieces.
  const TBoard kings = Board(gtFrisian, "e1,i1", "e3,Ki3");
  EXPECT_EQ(Paths(kings, W, gtFrisian), (Set{"i1:i5"}));
}

TEST(CaptureRules, FrisianKingLimitedToThreePlainMovesInARow) {
  // King e5 has 16 plain moves, man a1 one.
  TBoard board = Board(gtFrisian, "Ke5,a1", "j2");
  const int king = Sq("e5", gtFrisian);
  board.nmpiece[0] = static_cast<uint8_t>(king);
  board.nmcount[0] = 3;
  EXPECT_EQ(Paths(board, W, gtFrisian), (Set{"a1-b2"}));
  // Another king of the same side is not limited.
  TBoard two = Board(gtFrisian, "Ke5,Ka1", "j2");
  two.nmpiece[0] = static_cast<uint8_t>(king);
  two.nmcount[0] = 3;
  EXPECT_EQ(Paths(two, W, gtFrisian), (Set{"a1-b2", "a1-c3", "a1-d4"}));
  // Alone on its side it may go on.
  TBoard alone = Board(gtFrisian, "Ke5", "j2");
  alone.nmpiece[0] = static_cast<uint8_t>(king);
  alone.nmcount[0] = 3;
  EXPECT_EQ(Moves(alone, W, gtFrisian).size(), 17u);
  // Two moves in a row do not limit it.
  board.nmcount[0] = 2;
  EXPECT_EQ(Moves(board, W, gtFrisian).size(), 17u);
  // The counters belong to the king that made the moves, and to Frisian.
  board.nmcount[0] = 3;
  board.nmpiece[0] = static_cast<uint8_t>(Sq("d4", gtFrisian));
  EXPECT_EQ(Moves(board, W, gtFrisian).size(), 17u);
  board.nmpiece[0] = static_cast<uint8_t>(king);
  EXPECT_EQ(Moves(board, W, gtInternational).size(), 17u);
  // Black's counters limit Black's king.
  TBoard black = Board(gtFrisian, "j2", "Ke5,a9");
  black.nmpiece[1] = static_cast<uint8_t>(king);
  black.nmcount[1] = 3;
  EXPECT_EQ(Paths(black, B, gtFrisian), (Set{"a9-b8"}));
}

TEST(CaptureRules, FrisianCountersFollowThePlainMoves) {
  TBoard board = Board(gtFrisian, "Ka1,c1", "j10,h10");
  auto play = [&](const char* from, const char* to, TDColor side) {
    for (const TMove& m : Moves(board, side, gtFrisian))
      if (m.From() == Sq(from, gtFrisian) && m.To() == Sq(to, gtFrisian)) return ApplyMove(m, board, gtFrisian);
    FAIL() << from << "-" << to << " not legal";
  };
  play("a1", "c3", W);
  EXPECT_EQ(board.nmpiece[0], Sq("c3", gtFrisian));
  EXPECT_EQ(board.nmcount[0], 1);
  play("h10", "g9", B);
  play("c3", "e5", W);
  play("g9", "f8", B);
  play("e5", "d4", W);
  EXPECT_EQ(board.nmcount[0], 3);
  EXPECT_EQ(board.nmpiece[1], 0);  // black moved a man
  // Now only the man may move.
  for (const auto& p : Paths(board, W, gtFrisian)) EXPECT_EQ(p.substr(0, 2), "c1") << p;
  play("c1", "d2", W);
  EXPECT_EQ(board.nmpiece[0], 0);
  // A plain move of another king starts a new count.
  board.b[Sq("a5", gtFrisian)] = WhiteKing;
  play("a5", "b6", W);
  EXPECT_EQ(board.nmpiece[0], Sq("b6", gtFrisian));
  EXPECT_EQ(board.nmcount[0], 1);
  // A capture clears it.
  board.b[Sq("f8", gtFrisian)] = Empty;
  board.b[Sq("c7", gtFrisian)] = BlackMan;
  play("b6", "d8", W);
  EXPECT_EQ(board.nmpiece[0], 0);
}

// --- Thai ----------------------------------------------------------------------

TEST(CaptureRules, ThaiKingLandsRightBehindAndCrossesTakenSquares) {
  // From afar over d4: Thai lands on e5 only.
  EXPECT_EQ(Paths(Board(gtThai, "Ka1", "d4"), W, gtThai), (Set{"a1:e5"}));
  EXPECT_EQ(Paths(Board(gtRussian, "Ka1", "d4"), W, gtRussian), (Set{"a1:e5", "a1:f6", "a1:g7", "a1:h8"}));
  // b2, then b4 and d2 in either order: the second crosses the square of a
  // piece already gone.
  const TBoard board = Board(gtThai, "Ka1", "b2,b4,d2");
  EXPECT_EQ(Paths(board, W, gtThai), (Set{"a1:c3:a5:e1", "a1:c3:e1:a5"}));
  // Where taken pieces stay until the end, they block the way back.
  EXPECT_EQ(Paths(board, W, gtRussian), (Set{"a1:c3:a5", "a1:c3:e1"}));
}

TEST(CaptureRules, ThaiKingsFlyWhenNotCapturing) {
  EXPECT_EQ(Moves(Board(gtThai, "Ka1", "h2"), W, gtThai).size(), 7u);
}

// --- flying kings -----------------------------------------------------------

TEST(CaptureRules, FlyingKingMustLandWhereTheCaptureGoesOn) {
  // Behind b2 lie c3, d4 and e5; only from d4 can c5 be taken.
  const TBoard board = Board(gtRussian, "Ka1,f6", "b2,c5");
  EXPECT_EQ(Paths(board, W, gtRussian), (Set{"a1:d4:b6", "a1:d4:a7"}));
  // Without the second piece every landing square is allowed.
  EXPECT_EQ(Paths(Board(gtRussian, "Ka1,f6", "b2"), W, gtRussian), (Set{"a1:c3", "a1:d4", "a1:e5"}));
}

TEST(CaptureRules, TakenPiecesCannotBeJumpedTwice) {
  // International: a king may not cross a piece it has taken.
  const TBoard board = Board(gtInternational, "Ka1", "c3,e3,e7,c7");
  for (const TMove& m : Moves(board, W, gtInternational)) {
    std::set<int> taken;
    for (int k = 1; k <= m.lt; ++k) EXPECT_TRUE(taken.insert(m.mv[2 * k - 1]).second);
  }
}

TEST(CaptureRules, KingCaptureMayEndOnItsStartSquare) {
  // A ring around c3: d4, f4, f2, d2, taken either way round.
  const TBoard board = Board(gtRussian, "Kc3", "d4,f4,f2,d2");
  EXPECT_EQ(Paths(board, W, gtRussian),
            (Set{"c3:e5:g3:e1:c3", "c3:e5:g3:e1:b4", "c3:e5:g3:e1:a5", "c3:e1:g3:e5:c3", "c3:e1:g3:e5:b2",
                 "c3:e1:g3:e5:a1"}));
  // The two routes back to c3 are one move; the first found stays.
  const auto moves = Moves(board, W, gtRussian, true);
  EXPECT_EQ(moves.size(), 5u);
  int toStart = 0;
  for (const TMove& m : moves)
    if (m.To() == Sq("c3", gtRussian)) {
      ++toStart;
      EXPECT_EQ(testing::Path(m, gtRussian), "c3:e5:g3:e1:c3");
    }
  EXPECT_EQ(toStart, 1);
  TBoard after = board;
  ApplyMove(moves[0], after, gtRussian);
  EXPECT_EQ(after.b[Sq("c3", gtRussian)], WhiteKing);
  for (const char* s : {"d4", "f4", "f2", "d2"}) EXPECT_EQ(after.b[Sq(s, gtRussian)], Empty);
}

TEST(CaptureRules, ShortKingsStepOnly) {
  EXPECT_EQ(Paths(Board(gtEnglish, "Ka1", "d4"), W, gtEnglish), (Set{"a1-b2"}));
  EXPECT_EQ(Paths(Board(gtEnglish, "Kc3", "d4"), W, gtEnglish), (Set{"c3:e5"}));
  EXPECT_EQ(Paths(Board(gtEnglish, "Kc3", "Kd4"), W, gtEnglish), (Set{"c3:e5"}));
}

TEST(CaptureRules, BlackMovesTowardsLowerSquares) {
  EXPECT_EQ(Paths(Board(gtRussian, "", "d4"), B, gtRussian), (Set{"d4-c3", "d4-e3"}));
  EXPECT_EQ(Paths(Board(gtEnglish, "c3", "d4"), B, gtEnglish), (Set{"d4:b2"}));
  EXPECT_EQ(Paths(Board(gtEnglish, "e5", "d4"), B, gtEnglish), (Set{"d4-c3", "d4-e3"}));
  EXPECT_EQ(Paths(Board(gtRussian, "e5", "d4"), B, gtRussian), (Set{"d4:f6"}));
}

}  // namespace
}  // namespace kestrel
