// The encoded form of one game in the main file: the start position when it
// is not the standard one, the game comment, and every move slot 1..LastMove
// (free ones too, so slot numbers survive). Numbers are big-endian.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "game/game.h"

namespace kestrel {

// Slot flag byte.
constexpr uint8_t sfMain = 0x80;
constexpr uint8_t sfFree = 0x40;
constexpr uint8_t sfAnnotated = 0x20;
constexpr uint8_t sfShortParent = 0x10;
constexpr uint8_t sfShortCount = 0x08;
constexpr uint8_t sfCountBits = 0x07;

// A counted string holds at most this many bytes; longer comments are cut.
constexpr std::size_t MaxCountedString = 65535;

// The start position every game of `type` begins from when not set up.
bool IsStandardStart(const TPackedBoardNew& board, int type);
TPackedBoardNew StandardStart(int type);

// Encodes the game in the current format (version 30) into `out`, replacing
// its contents. The game's type must be valid and its slots 1..LastMove must
// exist with at most MaxCaptured captures each; raises TDatabaseError
// otherwise.
void EncodeGameBlob(const TGame& game, std::vector<uint8_t>& out);

// Decodes a blob of format `version` (20..30) into `game`, whose Header is
// already read: LastMove says how many slots follow and TypeOfGame which
// start position flag 0 means. Slots above LastMove are freed. On failure
// returns false with the reason in `error`; the game is then half-filled and
// must be cleared by the caller.
bool DecodeGameBlob(std::span<const uint8_t> blob, int version, TGame& game, std::string& error);

}  // namespace kestrel
