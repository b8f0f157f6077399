// The legal moves of the current position with their opening-book figures,
// as the book grid shows them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "rules/move.h"

namespace kestrel {

struct TOpenMove {
  uint8_t num = 0;  // 1-based number in the legal move list
  uint16_t wh = 0;  // book game counts of the position after the move
  uint16_t bl = 0;
  uint16_t dr = 0;
  uint8_t sign = 0;  // index into BookSigns
  std::string move;
  std::string stat;
  int16_t eval = 0;
  uint8_t freq = 0;
  uint8_t qual = 0;
  uint8_t col = 0;  // 0 not in the book, 1 bad, 2 in the book, 3 good
  uint8_t eb = 0;   // 1 once built
};

struct TOpenMoves {
  uint8_t Op_moves = 0;
  // Entries 1..Op_moves are used; entry 0 is scratch space for sorting.
  std::array<TOpenMove, MaxMoves + 1> openmoves{};
  std::string openposcomm;
};

}  // namespace kestrel
