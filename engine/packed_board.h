// The 24-byte packed position: the 72 cells of a TBrd in base 5, three cells
// per byte, as stored in book entries and game records.
#pragma once

#include <array>
#include <cstdint>

#include "rules/board.h"

namespace kestrel {

// Byte j = (s[3j]+2) + 5*(s[3j+1]+2) + 25*(s[3j+2]+2); values 0..124.
using TPackedBoardNew = std::array<uint8_t, 24>;

// Cells holding anything other than -2..2 pack as empty.
void PackBoard(const TBrd& brd, TPackedBoardNew& p);

// Returns false, with `brd` left empty, when a byte is above 124 (not a
// packed position); such bytes come only from damaged files.
bool UnpackBoard(const TPackedBoardNew& p, TBrd& brd);

// The older 17-byte form of 51 entries (the first 50 used); cells 51..72 of
// the result are empty. Same failure rule as UnpackBoard.
bool UnpackOldBoard(const std::array<uint8_t, 17>& p17, TBrd& brd);

}  // namespace kestrel
