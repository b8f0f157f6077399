#include "engine/packed_board.h"

#include <cstddef>

namespace kestrel {
namespace {

constexpr uint8_t MaxPackedByte = 124;

uint8_t Digit(int8_t cell) {
  if (cell < BlackKing || cell > WhiteKing) return 2;  // empty
  return static_cast<uint8_t>(cell + 2);
}

// Unpacks `count` bytes into cells 0..3*count-1 (0-based), keeping at most
// `usedCells` of them. False, with the board emptied, on a byte above 124.
template <std::size_t N>
bool Unpack(const std::array<uint8_t, N>& bytes, std::size_t usedCells, TBrd& brd) {
  brd = TBrd{};
  for (uint8_t byte : bytes)
    if (byte > MaxPackedByte) return false;
  for (std::size_t j = 0; j < N; ++j) {
    const int byte = bytes[j];
    const int8_t digits[3] = {static_cast<int8_t>(byte % 5 - 2), static_cast<int8_t>(byte / 5 % 5 - 2),
                              static_cast<int8_t>(byte / 25 - 2)};
    for (std::size_t d = 0; d < 3; ++d)
      if (3 * j + d < usedCells) brd.cells[3 * j + d] = digits[d];
  }
  return true;
}

}  // namespace

void PackBoard(const TBrd& brd, TPackedBoardNew& p) {
  for (std::size_t j = 0; j < p.size(); ++j)
    p[j] = static_cast<uint8_t>(Digit(brd.cells[3 * j]) + 5 * Digit(brd.cells[3 * j + 1]) +
                                25 * Digit(brd.cells[3 * j + 2]));
}

bool UnpackBoard(const TPackedBoardNew& p, TBrd& brd) { return Unpack(p, MaxSquares, brd); }

bool UnpackOldBoard(const std::array<uint8_t, 17>& p17, TBrd& brd) { return Unpack(p17, 50, brd); }

}  // namespace kestrel
