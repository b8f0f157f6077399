// Header fields that are recomputed each time a game is stored: the viewing
// start, the main-line length and the summary flags shown in the game list.
#pragma once

#include <cstdint>

#include "game/game.h"

namespace kestrel {

// Flags bits.
constexpr uint8_t hfFullSetUp = 1;       // set-up position, full piece counts ("p")
constexpr uint8_t hfSetUp = 2;           // any other set-up position ("P")
constexpr uint8_t hfFewVariations = 4;   // 1..5 variation moves ("v")
constexpr uint8_t hfVariations = 8;      // more ("V")
constexpr uint8_t hfFewComments = 16;    // 1..5 annotated items, at most 300 characters ("c")
constexpr uint8_t hfComments = 32;       // more ("C")
constexpr uint8_t hfDeleted = 128;

// A viewing start on a free or missing slot becomes the start position.
void NormalizeShowFrom(TGame& game);

// Crc = 0; GameLength = full moves of the main line, at most 255; Flags
// recomputed except the deleted bit, which marks the main line on the way.
void DeriveHeaderFields(TGame& game);

}  // namespace kestrel
