#include "engine/bitboard_movegen.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/bitboard_captures.h"

#include "engine/tests/bitboard_positions.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using testing::Position;
using testing::Positions;
using testing::Results;

const int GeneratorTypes[] = {gtRussian,       gtEnglish, gtBrazilian, gtPool,         gtItalian,
                              gtInternational, gtCzech,   gtSpanish,   gtSpantsiretti, gtThai};

TEST(BitBoardMoves, StartPositions) {
  for (int type : GeneratorTypes) {
    TBitBoard64 pos;
    BoardToBit64(InitialPosition(type), pos, type);
    TBitMoveList list;
    uint8_t count = 0;
    GenerateMoves(pos, list, count, type);
    const int expected = GameTypes[type].SquareCount == 32 ? 7 : 9;
    EXPECT_EQ(count, expected) << GameTypeNames[type];
    // Turned over, the second side has the same number of moves.
    FlipBitBoard(pos, type);
    GenerateMoves(pos, list, count, type);
    EXPECT_EQ(count, expected) << GameTypeNames[type];
  }
}

TEST(BitBoardMoves, NothingToMoveAndUncoveredTypes) {
  TBitMoveList list;
  uint8_t count = 99;
  GenerateMoves(Position(gtRussian, "", "c3 Ke5"), list, count, gtRussian);
  EXPECT_EQ(count, 0);
  // Frisian captures orthogonally, Canadian has no bitboard: neither gets a
  // partial list.
  TBitBoard64 start;
  BoardToBit64(InitialPosition(gtFrisian), start, gtFrisian);
  GenerateMoves(start, list, count, gtFrisian);
  EXPECT_EQ(count, 0);
  BoardToBit64(InitialPosition(gtCanadian), start, gtCanadian);
  GenerateMoves(start, list, count, gtCanadian);
  EXPECT_EQ(count, 0);
  GenerateMoves(TBitBoard64{1, 0, 0}, list, count, 0);
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(HasBitBoardGenerator(gtFrisian));
  EXPECT_FALSE(HasBitBoardGenerator(gtCanadian));
  EXPECT_EQ(CaptureMask(Position(gtFrisian, "e5", "d6 f6"), gtFrisian), 0u);
}

TEST(BitBoardMoves, QuietMovesCrownOnTheLastRow) {
  EXPECT_EQ(Results(Position(gtRussian, "c7", "h8"), gtRussian), Positions(gtRussian, {{"Kb8", "h8"}, {"Kd8", "h8"}}));
  EXPECT_EQ(Results(Position(gtInternational, "c9", "a1"), gtInternational),
            Positions(gtInternational, {{"Kb10", "a1"}, {"Kd10", "a1"}}));
  // Flying and short kings.
  EXPECT_EQ(Results(Position(gtRussian, "Ka1", "b2 c3"), gtRussian).size(), 0u);
  EXPECT_EQ(Results(Position(gtRussian, "Kc1", "a3"), gtRussian),
            Positions(gtRussian, {{"Kb2", "a3"}, {"Kd2", "a3"}, {"Ke3", "a3"}, {"Kf4", "a3"}, {"Kg5", "a3"}, {"Kh6", "a3"}}));
  EXPECT_EQ(Results(Position(gtEnglish, "Kc1", "a3"), gtEnglish), Positions(gtEnglish, {{"Kb2", "a3"}, {"Kd2", "a3"}}));
}

// A king capture of two pieces and two man captures of one.
TEST(BitBoardMoves, KingCaptureAgainstManCaptures) {
  const char* white = "Kh2 e3";
  const char* black = "f4 d4";
  const auto king = Positions(gtCzech, {{"Kc3 e3", ""}, {"Kb2 e3", ""}, {"Ka1 e3", ""}});
  const auto men = Positions(gtCzech, {{"Kh2 c5", "f4"}, {"Kh2 g5", "d4"}});
  // Czech: any king capture excludes the men's.
  EXPECT_EQ(Results(Position(gtCzech, white, black), gtCzech), king);
  // Spanish and Brazilian: the most pieces.
  EXPECT_EQ(Results(Position(gtSpanish, white, black), gtSpanish), king);
  EXPECT_EQ(Results(Position(gtBrazilian, white, black), gtBrazilian), king);
  // Pool and Russian: any complete sequence.
  auto all = king;
  all.insert(men.begin(), men.end());
  EXPECT_EQ(Results(Position(gtPool, white, black), gtPool), all);
  EXPECT_EQ(Results(Position(gtRussian, white, black), gtRussian), all);
  // The masks: men first, kings when no man can capture.
  const TBitBoard64 pos = Position(gtPool, white, black);
  EXPECT_EQ(MenCaptureMask(pos, gtPool), Position(gtPool, "e3", "").w);
  EXPECT_EQ(KingCaptureMask(pos, gtPool), Position(gtPool, "Kh2", "").w);
  EXPECT_EQ(CaptureMask(pos, gtPool), Position(gtPool, "e3", "").w);
  EXPECT_EQ(CaptureMask(Position(gtPool, "Kh2", black), gtPool), Position(gtPool, "Kh2", "").w);
  // English kings move one step: h2 cannot reach f4.
  EXPECT_EQ(KingCaptureMask(Position(gtEnglish, white, black), gtEnglish), 0u);
}

TEST(BitBoardMoves, ItalianPrecedence) {
  // King and man each take one piece: only the king's capture.
  EXPECT_EQ(Results(Position(gtItalian, "Kc3 e3", "d4"), gtItalian), Positions(gtItalian, {{"Ke5 e3", ""}}));
  EXPECT_EQ(Results(Position(gtEnglish, "Kc3 e3", "d4"), gtEnglish),
            Positions(gtEnglish, {{"Ke5 e3", ""}, {"Kc3 c5", ""}}));
  // The man takes two, the king one: only the man's.
  EXPECT_EQ(Results(Position(gtItalian, "Kc3 e3", "d4 b6"), gtItalian), Positions(gtItalian, {{"Kc3 a7", ""}}));
  // Men never take kings.
  EXPECT_EQ(Results(Position(gtItalian, "e3", "Kd4"), gtItalian), Positions(gtItalian, {{"f4", "Kd4"}}));
  EXPECT_EQ(MenCaptureMask(Position(gtItalian, "e3", "Kd4"), gtItalian), 0u);
  EXPECT_EQ(Results(Position(gtEnglish, "e3", "Kd4"), gtEnglish), Positions(gtEnglish, {{"c5", ""}}));
  // Two king captures of two pieces with one king each: the king taken first wins.
  const char* black = "Ke5 g7 c5 Kc7";
  EXPECT_EQ(Results(Position(gtItalian, "Kd4", black), gtItalian), Positions(gtItalian, {{"Kh8", "c5 Kc7"}}));
  EXPECT_EQ(Results(Position(gtEnglish, "Kd4", black), gtEnglish),
            Positions(gtEnglish, {{"Kh8", "c5 Kc7"}, {"Kd8", "Ke5 g7"}}));
}

// e3 can take d4, Kb4, b2, d2 (one king, the king second) or d2, b2, Kb4,
// Kb6 (two kings): more kings wins, however late they are taken.
TEST(BitBoardMoves, ItalianMoreKingsBeforeKingsEarlier) {
  EXPECT_EQ(Results(Position(gtItalian, "Ke3 Kf6", "a1 b2 d2 Kb4 d4 Kb6"), gtItalian),
            Positions(gtItalian, {{"Ka7 Kf6", "a1 d4"}}));
}

TEST(BitBoardMoves, InternationalTakesTheMostPieces) {
  EXPECT_EQ(Results(Position(gtInternational, "a3 i1", "b4 d6 f8 h2 h4"), gtInternational),
            Positions(gtInternational, {{"g9 i1", "h2 h4"}}));
}

TEST(BitBoardMoves, SpanishCountsKingsAmongEqualCaptures) {
  const char* white = "a3 c3";
  const char* black = "b4 d4 f6 Kd6";
  EXPECT_EQ(Results(Position(gtSpanish, white, black), gtSpanish),
            Positions(gtSpanish, {{"a3 c7", "b4 f6"}, {"c3 e7", "d4 f6"}}));
  EXPECT_EQ(Results(Position(gtEnglish, white, black), gtEnglish),
            Positions(gtEnglish, {{"a3 c7", "b4 f6"}, {"c3 e7", "d4 f6"}, {"a3 g7", "b4 Kd6"}, {"a3 a5", "d4 f6 Kd6"}}));
}

TEST(BitBoardMoves, CrowningInTheMiddleOfACapture) {
  // Russian: crowned on d8, the man goes on as a flying king.
  EXPECT_EQ(Results(Position(gtRussian, "b6", "c7 e7"), gtRussian),
            Positions(gtRussian, {{"Kf6", ""}, {"Kg5", ""}, {"Kh4", ""}}));
  // Brazilian and Pool: it goes on as a man and ends uncrowned.
  EXPECT_EQ(Results(Position(gtBrazilian, "b6", "c7 e7"), gtBrazilian), Positions(gtBrazilian, {{"f6", ""}}));
  EXPECT_EQ(Results(Position(gtPool, "b6", "c7 e7"), gtPool), Positions(gtPool, {{"f6", ""}}));
  // Ending on the last row crowns it.
  EXPECT_EQ(Results(Position(gtBrazilian, "b6", "c7"), gtBrazilian), Positions(gtBrazilian, {{"Kd8", ""}}));
  // English: forward only, so the capture ends there.
  EXPECT_EQ(Results(Position(gtEnglish, "b6", "c7 e7"), gtEnglish), Positions(gtEnglish, {{"Kd8", "e7"}}));
}

// Crowned on h8 after taking g7, the man goes on as a king; g7 stays on the
// board until the move is over, so the king cannot come back over it to c3.
TEST(BitBoardMoves, PiecesTakenByAManStayUntilTheMoveEnds) {
  EXPECT_EQ(Results(Position(gtRussian, "a1 Kf4 f6", "Kf2 a3 c3 g7 b8"), gtRussian),
            Positions(gtRussian, {{"a1 Kf4 Kh8", "Kf2 a3 c3 b8"}}));
}

TEST(BitBoardMoves, ThaiKingsLandRightBehindAndTakenPiecesLeaveAtOnce) {
  EXPECT_EQ(Results(Position(gtThai, "Ka1", "d4"), gtThai), Positions(gtThai, {{"Ke5", ""}}));
  EXPECT_EQ(Results(Position(gtCzech, "Ka1", "d4"), gtCzech),
            Positions(gtCzech, {{"Ke5", ""}, {"Kf6", ""}, {"Kg7", ""}, {"Kh8", ""}}));
  // The king crosses the square of d2, taken before.
  EXPECT_EQ(Results(Position(gtThai, "Ka1", "b2 d2 b4"), gtThai), Positions(gtThai, {{"Ka5", ""}, {"Ke1", ""}}));
}

TEST(BitBoardMoves, FlyingKingMustLandWhereTheCaptureGoesOn) {
  EXPECT_EQ(Results(Position(gtRussian, "Ka1", "c3 f4"), gtRussian), Positions(gtRussian, {{"Kg3", ""}, {"Kh2", ""}}));
  // Without the second piece every square behind c3 is a landing square.
  EXPECT_EQ(Results(Position(gtRussian, "Ka1", "c3"), gtRussian).size(), 5u);
}

TEST(BitBoardMoves, OpponentCaptureMaskLooksFromTheOtherSide) {
  // Black's men move towards lower bits: d4 takes e3 towards f2.
  const TBitBoard64 pos = Position(gtRussian, "e3", "d4 h8");
  EXPECT_EQ(OpponentCaptureMask(pos, gtRussian), Position(gtRussian, "", "d4").b);
  // English men only capture forward: for Black that is downwards.
  EXPECT_EQ(OpponentCaptureMask(Position(gtEnglish, "e5", "d4"), gtEnglish), 0u);
  EXPECT_EQ(OpponentCaptureMask(Position(gtRussian, "e5", "d4"), gtRussian), Position(gtRussian, "", "d4").b);
  EXPECT_EQ(OpponentCaptureMask(Position(gtRussian, "e5", "Kb8"), gtRussian), Position(gtRussian, "", "Kb8").b);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// Positions from nowhere (overlapping sides, ghost bits, bits beyond the
// board) are read as the well-formed position inside them.
TEST(BitBoardMoves, MalformedPositionsStayInBounds) {
  std::mt19937_64 rng(17);
  for (int type : GeneratorTypes) {
    const uint64_t mask = GameTypes[type].BoardMask;
    for (int n = 0; n < 20000; ++n) {
      const uint64_t dense = n % 2 ? rng() | rng() : rng() & rng();
      const TBitBoard64 pos{dense, rng() & rng(), rng()};
      TBitMoveList list;
      uint8_t count = 0;
      GenerateMoves(pos, list, count, type);
      ASSERT_LE(count, MaxMoves);
      const TBitBoard64 clean{pos.w & mask, pos.b & mask & ~pos.w, pos.k & mask & (pos.w | pos.b)};
      TBitMoveList expected;
      uint8_t expectedCount = 0;
      GenerateMoves(clean, expected, expectedCount, type);
      ASSERT_EQ(count, expectedCount);
      for (int i = 0; i < count; ++i) {
        ASSERT_EQ(list[i], expected[i]);
        ASSERT_EQ((list[i].w | list[i].b | list[i].k) & ~mask, 0u);
      }
      (void)CaptureMask(pos, type);
      (void)OpponentCaptureMask(pos, type);
    }
  }
}

TEST(BitBoardMoves, AFullListDropsRepeatsFirst) {
  TBitMoveList list;
  uint8_t count = 0;
  bitgen::TResultList out{list, count};
  // 200 capture routes reaching 10 positions: when the list fills up, the
  // repeats go and the routes after them still find room.
  for (uint64_t i = 0; i < 200; ++i) out.Offer<bitgen::VRussian>(TBitBoard64{i % 10 + 1, 0, 0}, 1, 0, 1);
  EXPECT_LT(count, MaxMoves);
  testing::PositionSet distinct;
  for (int i = 0; i < count; ++i) distinct.merge(testing::Key(list[i]));
  EXPECT_EQ(distinct.size(), 10u);
  // Without repeats the list stops at 128.
  count = 0;
  for (uint64_t i = 0; i < 200; ++i) out.Offer<bitgen::VRussian>(TBitBoard64{i + 1, 0, 0}, 1, 0, 1);
  EXPECT_EQ(count, MaxMoves);
  EXPECT_EQ(list[127].w, 128u);
}

}  // namespace
}  // namespace kestrel
