// The move record: the generator's output and the node of a game's move tree.
#pragma once

#include <array>
#include <cstdint>

namespace kestrel {

constexpr int MaxMoves = 128;     // moves in one list
constexpr int MaxCaptured = 25;   // pieces taken by one capture

// Notation flags set by the generator.
constexpr uint8_t mfOnlyMoveOfPiece = 1;
constexpr uint8_t mfUniqueTarget = 2;
constexpr uint8_t mfHideExtraShort = 4;
constexpr uint8_t mfHideExtraShort2 = 8;
constexpr uint8_t mfAmbiguousFile = 16;

struct TMove {
  uint16_t comm = 0;     // annotation glyphs
  int32_t parent = 0;    // tree link
  bool main = false;     // tree flag
  bool free = false;     // tree flag
  uint8_t flags = 0;     // notation flags
  uint8_t lt = 0;        // pieces captured
  // mv[0] start square; plain move: mv[1] destination; capture step k:
  // mv[2k-1] the piece taken, mv[2k] the landing square.
  std::array<uint8_t, 2 * MaxCaptured + 1> mv{};

  int From() const { return mv[0]; }
  int To() const { return lt == 0 ? mv[1] : mv[2 * lt]; }
  // Number of mv bytes in use.
  int UsedBytes() const { return lt == 0 ? 2 : 2 * lt + 1; }
};

// Moves are numbered from 1 in generation order: move k is list[k - 1].
using TMoveList = std::array<TMove, MaxMoves>;

void FlipMove(TMove& move, int type);

}  // namespace kestrel
