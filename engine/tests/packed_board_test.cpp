#include "engine/packed_board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kestrel {
namespace {

TBrd RandomBoard(std::mt19937& rng, int squares) {
  TBrd brd;
  std::uniform_int_distribution<int> cell(-2, 2);
  for (int s = 1; s <= squares; ++s) brd[s] = static_cast<int8_t>(cell(rng));
  return brd;
}

TEST(PackedBoard, KnownBytes) {
  static_assert(sizeof(TPackedBoardNew) == 24);
  TPackedBoardNew p{};
  PackBoard(TBrd{}, p);
  for (uint8_t byte : p) EXPECT_EQ(byte, 62);

  TBrd king;
  king[1] = WhiteKing;
  PackBoard(king, p);
  EXPECT_EQ(p[0], 64);
  for (size_t j = 1; j < p.size(); ++j) EXPECT_EQ(p[j], 62);

  // Digits are low first: squares 4, 5, 6 are byte 1.
  TBrd three;
  three[4] = BlackKing;  // digit 0
  three[5] = BlackMan;   // digit 1
  three[6] = WhiteKing;  // digit 4
  PackBoard(three, p);
  EXPECT_EQ(p[1], 0 + 5 * 1 + 25 * 4);

  TBrd full;
  for (int s = 1; s <= MaxSquares; ++s) full[s] = WhiteKing;
  PackBoard(full, p);
  for (uint8_t byte : p) EXPECT_EQ(byte, 124);
}

TEST(PackedBoard, RoundTripsEveryBoardSize) {
  std::mt19937 rng(12345);
  for (int squares : {32, 40, 50, 72}) {
    for (int n = 0; n < 200; ++n) {
      const TBrd brd = RandomBoard(rng, squares);
      TPackedBoardNew p;
      PackBoard(brd, p);
      TBrd back;
      back[7] = 1;  // must be overwritten
      ASSERT_TRUE(UnpackBoard(p, back));
      EXPECT_EQ(back, brd);
    }
  }
}

TEST(PackedBoard, DamagedBytesAreRefused) {
  TPackedBoardNew p;
  PackBoard(TBrd{}, p);
  p[5] = 125;
  TBrd brd;
  brd[1] = WhiteMan;
  EXPECT_FALSE(UnpackBoard(p, brd));
  EXPECT_EQ(brd, TBrd{});

  std::array<uint8_t, 17> old{};
  old.fill(62);
  old[16] = 255;
  brd[1] = WhiteMan;
  EXPECT_FALSE(UnpackOldBoard(old, brd));
  EXPECT_EQ(brd, TBrd{});
}

TEST(PackedBoard, InvalidCellsPackAsEmpty) {
  TBrd brd;
  brd[1] = 7;
  brd[2] = -100;
  TPackedBoardNew p;
  PackBoard(brd, p);
  EXPECT_EQ(p[0], 62);
}

TEST(PackedBoard, OldFormKeepsFiftySquares) {
  std::mt19937 rng(99);
  const TBrd brd = RandomBoard(rng, 50);
  TPackedBoardNew p;
  PackBoard(brd, p);
  // The older form uses the same digits, 17 bytes long.
  std::array<uint8_t, 17> old;
  std::copy_n(p.begin(), 17, old.begin());
  old[16] = static_cast<uint8_t>(old[16] % 25 + 25 * 4);  // entry 51 set: must be ignored
  TBrd back;
  back[60] = BlackKing;  // beyond 50: must come back empty
  ASSERT_TRUE(UnpackOldBoard(old, back));
  EXPECT_EQ(back, brd);
}

}  // namespace
}  // namespace kestrel
