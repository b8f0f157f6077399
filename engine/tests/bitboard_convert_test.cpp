#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/bitboard.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

const int BitBoardTypes[] = {gtRussian, gtEnglish,      gtBrazilian, gtPool,    gtItalian, gtInternational,
                             gtCzech,   gtSpanish,      gtFrisian,   gtSpantsiretti, gtThai};

TBoard RandomBoard(std::mt19937& rng, int type, int fill_percent) {
  TBoard board;
  std::uniform_int_distribution<int> pct(0, 99), code(0, 3);
  const int8_t codes[] = {WhiteMan, WhiteKing, BlackMan, BlackKing};
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
    if (pct(rng) < fill_percent) board.b[s] = codes[code(rng)];
  return board;
}

TEST(BitBoardConvert, EmptyBoard) {
  for (int type : BitBoardTypes) {
    TBitBoard64 bb{1, 2, 3};
    BoardToBit64(TBoard{}, bb, type);
    EXPECT_EQ(bb, TBitBoard64{});
    TBrd brd;
    brd[3] = WhiteKing;
    Bit64toBoard(bb, brd, type);
    EXPECT_EQ(brd, TBrd{});
  }
}

TEST(BitBoardConvert, RoundTripOnEveryBitBoardType) {
  std::mt19937 rng(7);
  for (int type : BitBoardTypes) {
    const uint64_t mask = GameTypes[type].BoardMask;
    for (int n = 0; n < 300; ++n) {
      const TBoard board = RandomBoard(rng, type, n % 101);
      TBitBoard64 bb;
      BoardToBit64(board, bb, type);
      EXPECT_EQ(bb.w & bb.b, 0u);
      EXPECT_EQ(bb.k & ~(bb.w | bb.b), 0u);
      EXPECT_EQ((bb.w | bb.b) & ~mask, 0u) << "ghost or out-of-range bit set";
      TBrd back;
      Bit64toBoard(bb, back, type);
      ASSERT_EQ(back, board.b) << GameTypeNames[type];
    }
  }
}

TEST(BitBoardConvert, CanadianHasNoBitBoard) {
  std::mt19937 rng(3);
  const TBoard board = RandomBoard(rng, gtCanadian, 50);
  TBitBoard64 bb{1, 2, 3};
  BoardToBit64(board, bb, gtCanadian);
  EXPECT_EQ(bb, TBitBoard64{});
  TBrd brd;
  brd[1] = WhiteMan;
  Bit64toBoard(TBitBoard64{0xF, 0xF0, 0x11}, brd, gtCanadian);
  EXPECT_EQ(brd, TBrd{});
  EXPECT_FALSE(HasBitBoardForm(gtCanadian));
  // Nonsense types are treated alike.
  BoardToBit64(board, bb, 0);
  EXPECT_EQ(bb, TBitBoard64{});
  BoardToBit64(board, bb, 99);
  EXPECT_EQ(bb, TBitBoard64{});
}

// Diagonal neighbours on the board are +5 (forward, towards the a-file) and
// +6 (forward, away from it); squares off the board have no bit.
TEST(BitBoardConvert, DiagonalNeighboursAreFiveAndSixBitsApart) {
  for (int type : {gtRussian, gtSpantsiretti, gtInternational}) {
    const TBoardShape shape = BoardShape(type);
    const int squares = GameTypes[type].SquareCount;
    const uint64_t mask = GameTypes[type].BoardMask;
    auto squareAt = [&](int file, int rank) {  // 0-based, -1 when off the board or light
      if (file < 0 || file >= shape.files || rank < 0 || rank >= shape.ranks || (file + rank) % 2) return -1;
      return rank * shape.squaresPerRank + file / 2;
    };
    for (int i = 0; i < squares; ++i) {
      const int rank = i / shape.squaresPerRank;
      const int file = 2 * (i % shape.squaresPerRank) + rank % 2;
      const int bit = SquareToBit(i, squares);
      ASSERT_TRUE(mask & (uint64_t{1} << bit));
      const struct { int df, dr, step; } dirs[] = {{-1, 1, 5}, {1, 1, 6}, {1, -1, -5}, {-1, -1, -6}};
      for (auto [df, dr, step] : dirs) {
        const int neighbour = squareAt(file + df, rank + dr);
        const int target = bit + step;
        const bool onMask = target >= 0 && target < 64 && (mask & (uint64_t{1} << target));
        if (neighbour < 0) {
          EXPECT_FALSE(onMask) << GameTypeNames[type] << " square " << i + 1 << " step " << step;
        } else {
          EXPECT_EQ(SquareToBit(neighbour, squares), target);
        }
      }
    }
  }
  // The last square of a row on 8 by 8 (h2, bit 9) has no +6 neighbour.
  EXPECT_EQ(SquareToBit(7, 32), 9);
  EXPECT_FALSE(GameTypes[gtRussian].BoardMask & (uint64_t{1} << 15));
}

TEST(BitBoardConvert, FlipTurnsTheBoardAndExchangesSides) {
  TBoard a1;
  a1.b[1] = WhiteMan;
  TBitBoard64 bb;
  BoardToBit64(a1, bb, gtRussian);
  FlipBitBoard(bb, gtRussian);
  EXPECT_EQ(bb, (TBitBoard64{0, uint64_t{1} << 42, 0}));
  FlipBitBoard(bb, gtRussian);
  EXPECT_EQ(bb, (TBitBoard64{1, 0, 0}));

  std::mt19937 rng(11);
  for (int type : BitBoardTypes) {
    for (int n = 0; n < 200; ++n) {
      TBoard board = RandomBoard(rng, type, n % 60);
      if (n % 3 == 0)  // no kings at all
        for (int8_t& c : board.b.cells) c = static_cast<int8_t>(c > 0 ? WhiteMan : c < 0 ? BlackMan : Empty);
      TBitBoard64 bb;
      BoardToBit64(board, bb, type);
      TBitBoard64 flipped = bb;
      FlipBitBoard(flipped, type);
      // The rules core's own turn of the board, converted, must match.
      TBoard turned = board;
      FlipBoard(turned.b, type);
      TBitBoard64 expected;
      BoardToBit64(turned, expected, type);
      ASSERT_EQ(flipped, expected) << GameTypeNames[type];
      FlipBitBoard(flipped, type);
      ASSERT_EQ(flipped, bb);
    }
  }
}

// The older layout: squares at bits 0-3, 5-12, 14-21, 23-30, 32-35.
TEST(BitBoardConvert, OlderEightByEightLayout) {
  std::vector<int> bits;
  for (auto [from, to] : {std::pair{0, 3}, {5, 12}, {14, 21}, {23, 30}, {32, 35}})
    for (int b = from; b <= to; ++b) bits.push_back(b);
  ASSERT_EQ(bits.size(), 32u);
  std::mt19937 rng(5);
  for (int n = 0; n < 100; ++n) {
    const TBoard board = RandomBoard(rng, gtRussian, 50);
    TBitBoard64 old{};
    for (int i = 0; i < 32; ++i) {
      const uint64_t bit = uint64_t{1} << bits[i];
      const int8_t c = board.b.cells[i];
      if (c > 0) old.w |= bit;
      if (c < 0) old.b |= bit;
      if (c == WhiteKing || c == BlackKing) old.k |= bit;
    }
    TBrd back;
    back[40] = WhiteMan;
    Bit64oldtoBoard(old, back);
    ASSERT_EQ(back, board.b);
  }
}

}  // namespace
}  // namespace kestrel
