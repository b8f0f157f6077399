// The header of a game: the record stored byte for byte in a database's index
// file, and the header that travels with its five names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "rules/board.h"

namespace kestrel {

struct TPlayerInfo {
  int32_t NameIndex = 0;  // index in the database's name list
  uint8_t Title = 0;
  uint16_t Rating = 0;
  uint8_t Country = 0;
};

struct TGameDate {
  uint8_t Day = 0;  // 0 = unknown, for all three
  uint8_t Month = 0;
  uint16_t Year = 0;
};

// Natural alignment gives exactly the stored 88-byte layout; the asserts
// below keep it that way.
struct TGameHeader {
  TPlayerInfo White;
  TPlayerInfo Black;
  int32_t AnnotatorIndex = 0;
  int32_t TournamentIndex = 0;
  int32_t SiteIndex = 0;
  int32_t Round = 0;  // 0 = none
  int32_t Subround = 0;
  TGameDate Date;
  uint8_t Flags = 0;
  int32_t ShowFrom = 0;  // slot shown when the game is loaded
  TDColor FirstMove = TDColor::white;
  uint8_t TypeOfGame = 1;
  uint8_t Result = 0;
  uint8_t NumerationFrom = 0;  // plies before the start position
  int32_t LastMove = 0;        // highest slot that has been used
  uint16_t GameLength = 0;
  int32_t Offset = 0;
  int32_t Length = 0;
  int32_t Opening = 0;
  int32_t Medals = 0;
  int32_t Crc = 0;
};

static_assert(sizeof(TPlayerInfo) == 12);
static_assert(offsetof(TPlayerInfo, Rating) == 2 + 4);
static_assert(offsetof(TGameHeader, Black) == 12);
static_assert(offsetof(TGameHeader, AnnotatorIndex) == 24);
static_assert(offsetof(TGameHeader, Date) == 44);
static_assert(offsetof(TGameHeader, Flags) == 48);
static_assert(offsetof(TGameHeader, ShowFrom) == 52);
static_assert(offsetof(TGameHeader, FirstMove) == 56);
static_assert(offsetof(TGameHeader, NumerationFrom) == 59);
static_assert(offsetof(TGameHeader, LastMove) == 60);
static_assert(offsetof(TGameHeader, GameLength) == 64);
static_assert(offsetof(TGameHeader, Offset) == 68);
static_assert(offsetof(TGameHeader, Crc) == 84);
static_assert(sizeof(TGameHeader) == 88);

// A header with its names, between the database window and the header editor.
struct TQuickGameHeader {
  TGameHeader Header;
  std::string WhiteName;
  std::string BlackName;
  std::string AnnotatorName;
  std::string Tournament;
  std::string Site;
};

}  // namespace kestrel
