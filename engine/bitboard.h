// The engine's position: three 64-bit sets of squares, and the conversions
// between it and the rules core's board.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "rules/board.h"

namespace kestrel {

// Inside the engine the side to move is always `w`, and its men move towards
// higher bits. Rows start at bits 0, 6, 11, 17, 22, 28, 33, 39, 44, 50; the
// gaps between rows ("ghost" bits) are never set, so the four diagonal
// neighbours of bit x are x+5, x+6 (forward) and x-5, x-6 (backward), and a
// neighbour exists exactly when its bit is in the board mask.
//
// The fields are unsigned so that every shift is well defined; the record is
// the same 24 bytes either way. It is a plain record, so that lists of 128 of
// them cost nothing to declare in the search: `TBitBoard64{}` is the empty
// position, a variable declared without braces holds nothing defined.
struct TBitBoard64 {
  uint64_t w;  // pieces of the first side (the side to move inside the engine)
  uint64_t b;  // pieces of the second side
  uint64_t k;  // kings of either side
  bool operator==(const TBitBoard64&) const = default;
};
static_assert(sizeof(TBitBoard64) == 24);
static_assert(std::is_trivial_v<TBitBoard64>);

// Bit of the square at 0-based TBrd index `index` on a board of `squareCount`
// playable squares (32, 40 or 50).
constexpr int SquareToBit(int index, int squareCount) {
  if (squareCount == 32) {
    const int row = index / 4;
    return 5 * row + (row + 1) / 2 + index % 4;
  }
  return index + (index + 5) / 10;
}

// Whether the game type has a bitboard form (every board but 12 by 12).
bool HasBitBoardForm(int gametype);

// White into `w`, Black into `b`, in the board's own square order. A type
// without a bitboard form, or an invalid type, gives an empty position.
void BoardToBit64(const TBoard& board, TBitBoard64& bb, int gametype);
// All 72 cells are rewritten; nmpiece/nmcount live in TBoard and are not touched.
void Bit64toBoard(const TBitBoard64& bb, TBrd& brd, int gametype);
// The older 8 by 8 layout: square i (0..31) at bit i + (i+4)/8.
void Bit64oldtoBoard(const TBitBoard64& bb, TBrd& brd);

// Reverses the order of all 64 bits: bytes swapped, then the bits of each
// byte (the same as four Rev16 lookups, without the memory reads).
[[gnu::always_inline]] inline uint64_t Reverse64(uint64_t x) {
  x = __builtin_bswap64(x);
  x = ((x >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((x & 0x0F0F0F0F0F0F0F0Full) << 4);
  x = ((x >> 2) & 0x3333333333333333ull) | ((x & 0x3333333333333333ull) << 2);
  return ((x >> 1) & 0x5555555555555555ull) | ((x & 0x5555555555555555ull) << 1);
}

// Rotates the board by 180 degrees and exchanges the sides, so that the other
// side becomes `w`. Applying it twice gives back the position.
void FlipBitBoard(TBitBoard64& bb, int gametype);

// The same with the type's flip shift (63 minus its highest bit) already known.
[[gnu::always_inline]] inline void FlipBitBoardBy(TBitBoard64& bb, int flipShift) {
  const uint64_t w = Reverse64(bb.b) >> flipShift;
  bb.b = Reverse64(bb.w) >> flipShift;
  bb.w = w;
  if (bb.k != 0) bb.k = Reverse64(bb.k) >> flipShift;
}
// Set bits, counted in registers: the search asks for it at every node, and
// four lookups in a 64 KB table cost cache misses a plain count does not.
inline int PopCount64(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}
// Index of the highest set bit; 0 for an empty set.
int HighestBit64(uint64_t x);

// Board mask of the game type (the squares of its bitboard form); 0 for a
// type without one.
uint64_t BitBoardMask(int gametype);

}  // namespace kestrel
