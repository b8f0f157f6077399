// Published perft counts (capture routes to the same position counted once)
// from the start positions, and move lists of the international rulebook.
#include "engine/bitboard_perft.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/bitboard_generate.h"
#include "engine/bitboard_movegen.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

uint64_t StartPerft(int type, int depth) {
  return BitBoardPerft(InitialPosition(type), TDColor::white, type, depth);
}

void ExpectSeries(int type, const std::vector<uint64_t>& counts) {
  for (size_t d = 0; d < counts.size(); ++d)
    EXPECT_EQ(StartPerft(type, static_cast<int>(d) + 1), counts[d]) << GameTypeNames[type] << " depth " << d + 1;
}

TEST(BitBoardPerft, StartPositions) {
  EXPECT_EQ(StartPerft(gtRussian, 0), 1u);
  // Depth 8 is the first where two capture routes reach the same position.
  ExpectSeries(gtRussian, {7, 49, 302, 1469, 7482, 37986, 190146, 929899});
  ExpectSeries(gtBrazilian, {7, 49, 302, 1469, 7473, 37628, 187302, 907830});
  ExpectSeries(gtPool, {7, 49, 302, 1469, 7482, 37986, 190146, 929896});
  ExpectSeries(gtEnglish, {7, 49, 302, 1469, 7361, 36768, 179740, 845931});
  ExpectSeries(gtCzech, {7, 49, 302, 1469, 7361, 36768, 179740, 845931});
  ExpectSeries(gtInternational, {9, 81, 658, 4265, 27117, 167140, 1049442});
  // Spantsiretti here has Russian captures; its published series, under
  // international rules, is checked below.
  ExpectSeries(gtSpantsiretti, {9, 81, 658, 4265});
  // Italian and Spanish first differ at depth 9 (Spanish men take kings).
  ExpectSeries(gtItalian, {7, 49, 302, 1469, 7361, 36473, 177532, 828783, 3860875});
  ExpectSeries(gtSpanish, {7, 49, 302, 1469, 7361, 36473, 177532, 828783, 3860866});
}

// The generator under international rules on the 10 by 8 board.
constexpr bitgen::TBitVariant InternationalOn10x8 = [] {
  bitgen::TBitVariant v = bitgen::VInternational;
  v.mask = bitgen::Mask10x8;
  v.quietCrownFrom = bitgen::Bit(32);
  v.lastRowFrom = bitgen::Bit(38);
  return v;
}();

uint64_t InternationalOn10x8Perft(const TBitBoard64& pos, int depth) {
  if (depth == 0) return 1;
  TBitMoveList list;
  uint8_t count = 0;
  bitgen::Generate<InternationalOn10x8>(pos, list, count);
  const int distinct = RemoveRepeatedPositions(list.data(), count);
  uint64_t nodes = 0;
  for (int i = 0; i < distinct; ++i) {
    TBitBoard64 next = list[i];
    FlipBitBoard(next, gtSpantsiretti);
    nodes += InternationalOn10x8Perft(next, depth - 1);
  }
  return nodes;
}

TEST(BitBoardPerft, InternationalRulesOnTenByEight) {
  TBitBoard64 start;
  BoardToBit64(InitialPosition(gtSpantsiretti), start, gtSpantsiretti);
  const uint64_t counts[] = {9, 81, 658, 4265, 27117, 167140, 1029319};
  for (int d = 1; d <= 7; ++d) EXPECT_EQ(InternationalOn10x8Perft(start, d), counts[d - 1]) << "depth " << d;
}

// International square numbers as the rulebooks write them: 1 is the far
// left of the second side's back row, 46 the near left corner.
int FromFmjd(int s) { return (9 - (s - 1) / 5) * 5 + (s - 1) % 5 + 1; }

TBitBoard64 Fmjd(std::initializer_list<int> white, std::initializer_list<int> black,
                 std::initializer_list<int> kings = {}) {
  TBoard board;
  for (int s : white) board.b[FromFmjd(s)] = WhiteMan;
  for (int s : black) board.b[FromFmjd(s)] = BlackMan;
  for (int s : kings) board.b[FromFmjd(s)] = static_cast<int8_t>(2 * board.b[FromFmjd(s)]);
  TBitBoard64 bb;
  BoardToBit64(board, bb, gtInternational);
  return bb;
}

// Destination squares (rulebook numbers) of the moves of White.
std::set<int> Destinations(const TBitBoard64& pos) {
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, gtInternational);
  std::set<int> to;
  for (int i = 0; i < count; ++i) {
    TBrd brd;
    Bit64toBoard(TBitBoard64{list[i].w & ~pos.w, 0, 0}, brd, gtInternational);
    for (int s = 1; s <= 50; ++s)
      if (brd[FromFmjd(s)] != 0) to.insert(s);
  }
  return to;
}

TEST(BitBoardPerft, InternationalRulebookCaptures) {
  using S = std::set<int>;
  EXPECT_EQ(Destinations(Fmjd({28, 32}, {23})), (S{19}));
  EXPECT_EQ(Destinations(Fmjd({46}, {23}, {46})), (S{19, 14, 10, 5}));
  EXPECT_EQ(Destinations(Fmjd({15}, {8, 19, 20})), (S{2}));
  EXPECT_EQ(Destinations(Fmjd({47}, {9, 12, 33}, {47})), (S{17, 21, 26}));
  EXPECT_EQ(Destinations(Fmjd({41, 49}, {9, 10, 12, 19, 38}, {41})), (S{43}));
  EXPECT_EQ(Destinations(Fmjd({48}, {24, 31, 34, 42, 43}, {31, 42})), (S{19}));
  EXPECT_EQ(Destinations(Fmjd({35}, {30, 40}, {40})), (S{24, 44}));
  EXPECT_EQ(Destinations(Fmjd({47}, {13, 14, 22, 24, 31, 34, 41, 44}, {41})), (S{49}));
  EXPECT_EQ(Destinations(Fmjd({1}, {7, 9, 17, 19, 20, 30, 31, 33, 43, 44}, {1})), (S{15}));
  EXPECT_EQ(Destinations(Fmjd({48}, {7, 8, 31, 34, 42, 44}, {48, 42})), (S{50}));
  EXPECT_EQ(Destinations(Fmjd({26}, {12, 21, 31, 32}, {21})), (S{8, 28}));
  EXPECT_EQ(Destinations(Fmjd({15}, {9, 10})), (S{13}));
  EXPECT_EQ(Destinations(Fmjd({28}, {}, {28})).size(), 17u);
}

TEST(BitBoardPerft, InternationalSpecialPositions) {
  std::vector<int> white, black, whiteKings, blackKings;
  // All kings: twenty a side.
  TBoard kings;
  for (int s = 31; s <= 50; ++s) kings.b[FromFmjd(s)] = WhiteKing;
  for (int s = 1; s <= 20; ++s) kings.b[FromFmjd(s)] = BlackKing;
  const uint64_t allKings[] = {17, 79, 352, 1399, 7062};
  for (int d = 1; d <= 5; ++d) EXPECT_EQ(BitBoardPerft(kings, TDColor::white, gtInternational, d), allKings[d - 1]);
  // Men one step from promotion.
  const TBitBoard64 almost = Fmjd({6, 7, 8, 9, 10}, {41, 42, 43, 44, 45});
  const uint64_t almostCounts[] = {9, 81, 795, 7578, 86351};
  for (int d = 1; d <= 5; ++d) EXPECT_EQ(BitBoardPerft(almost, gtInternational, d), almostCounts[d - 1]);
}

TEST(BitBoardPerft, DivideAddsUpAndRepeatsAreRemoved) {
  TBitBoard64 start;
  BoardToBit64(InitialPosition(gtRussian), start, gtRussian);
  const auto lines = BitBoardPerftDivide(start, gtRussian, 4);
  ASSERT_EQ(lines.size(), 7u);
  uint64_t sum = 0;
  for (const auto& [pos, count] : lines) sum += count;
  EXPECT_EQ(sum, 1469u);

  TBitBoard64 list[5] = {{1, 0, 0}, {2, 0, 0}, {1, 0, 0}, {3, 0, 0}, {2, 0, 0}};
  ASSERT_EQ(RemoveRepeatedPositions(list, 5), 3);
  EXPECT_EQ(list[0].w, 1u);
  EXPECT_EQ(list[1].w, 2u);
  EXPECT_EQ(list[2].w, 3u);
  // Per rules-core move, in its order, with the same counts as its own divide.
  for (int type : {gtRussian, gtItalian, gtInternational, gtThai}) {
    const auto rules = PerftDivide(InitialPosition(type), TDColor::white, type, 3);
    const auto bits = BitBoardPerftDivide(InitialPosition(type), TDColor::white, type, 3);
    ASSERT_EQ(bits.size(), rules.size());
    for (size_t i = 0; i < rules.size(); ++i) {
      EXPECT_EQ(bits[i].move.mv, rules[i].move.mv);
      EXPECT_EQ(bits[i].count, rules[i].count);
    }
  }
  EXPECT_TRUE(BitBoardPerftDivide(InitialPosition(gtFrisian), TDColor::white, gtFrisian, 2).empty());

  EXPECT_EQ(BitBoardPerft(start, gtCanadian, 3), 0u);
  EXPECT_EQ(BitBoardPerft(start, gtFrisian, 3), 0u);
}

}  // namespace
}  // namespace kestrel
