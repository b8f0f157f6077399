#include <bit>

#include "engine/bitboard.h"
#include "engine/bitboard_tables.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

// Square count of a type with a bitboard form, 0 otherwise.
int BitBoardSquares(int gametype) {
  if (!IsValidGameType(gametype)) return 0;
  const int n = GameTypes[gametype].SquareCount;
  return n == 32 || n == 40 || n == 50 ? n : 0;
}

}  // namespace

bool HasBitBoardForm(int gametype) { return BitBoardSquares(gametype) != 0; }

uint64_t BitBoardMask(int gametype) {
  switch (BitBoardSquares(gametype)) {
    case 32: return BitTables.Mask8x8;
    case 40: return BitTables.Mask10x8;
    case 50: return BitTables.Mask10x10;
    default: return 0;
  }
}

void BoardToBit64(const TBoard& board, TBitBoard64& bb, int gametype) {
  bb = TBitBoard64{};
  const int n = BitBoardSquares(gametype);
  for (int i = 0; i < n; ++i) {
    const int8_t cell = board.b.cells[i];
    const uint64_t bit = BitMask[SquareToBit(i, n)];
    if (cell == WhiteMan || cell == WhiteKing) bb.w |= bit;
    else if (cell == BlackMan || cell == BlackKing) bb.b |= bit;
    if (cell == WhiteKing || cell == BlackKing) bb.k |= bit;
  }
}

void Bit64toBoard(const TBitBoard64& bb, TBrd& brd, int gametype) {
  brd = TBrd{};
  const int n = BitBoardSquares(gametype);
  for (int i = 0; i < n; ++i) {
    const uint64_t bit = BitMask[SquareToBit(i, n)];
    const int8_t size = (bb.k & bit) ? 2 : 1;
    if (bb.w & bit) brd.cells[i] = size;
    else if (bb.b & bit) brd.cells[i] = static_cast<int8_t>(-size);
  }
}

void Bit64oldtoBoard(const TBitBoard64& bb, TBrd& brd) {
  brd = TBrd{};
  for (int i = 0; i < 32; ++i) {
    const uint64_t bit = BitMask[i + (i + 4) / 8];
    const int8_t size = (bb.k & bit) ? 2 : 1;
    if (bb.w & bit) brd.cells[i] = size;
    else if (bb.b & bit) brd.cells[i] = static_cast<int8_t>(-size);
  }
}

void FlipBitBoard(TBitBoard64& bb, int gametype) {
  if (IsValidGameType(gametype)) FlipBitBoardBy(bb, GameTypes[gametype].FlipShift);
}

// The processor's bit scan gives the same answer as HighBit16 on the highest
// non-zero quarter.
int HighestBit64(uint64_t x) { return x == 0 ? 0 : 63 - std::countl_zero(x); }

}  // namespace kestrel
