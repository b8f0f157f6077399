// The header records of the index file (.abd): the 88-byte record of version
// 30, which is TGameHeader stored field for field, and the 52-byte record of
// versions 20 to 29, which is only read. Both are little-endian with zero
// padding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/game_header.h"

namespace kestrel {

constexpr int HeaderRecordSize = 88;
constexpr int OldHeaderRecordSize = 52;
using THeaderBytes = std::array<uint8_t, HeaderRecordSize>;
using TOldHeaderBytes = std::array<uint8_t, OldHeaderRecordSize>;

static_assert(sizeof(TGameHeader) == HeaderRecordSize);
static_assert(offsetof(TGameHeader, White) == 0);
static_assert(offsetof(TPlayerInfo, NameIndex) == 0);
static_assert(offsetof(TPlayerInfo, Title) == 4);
static_assert(offsetof(TPlayerInfo, Rating) == 6);
static_assert(offsetof(TPlayerInfo, Country) == 8);
static_assert(offsetof(TGameHeader, Black) == 12);
static_assert(offsetof(TGameHeader, AnnotatorIndex) == 24);
static_assert(offsetof(TGameHeader, TournamentIndex) == 28);
static_assert(offsetof(TGameHeader, SiteIndex) == 32);
static_assert(offsetof(TGameHeader, Round) == 36);
static_assert(offsetof(TGameHeader, Subround) == 40);
static_assert(offsetof(TGameHeader, Date) == 44);
static_assert(offsetof(TGameDate, Day) == 0);
static_assert(offsetof(TGameDate, Month) == 1);
static_assert(offsetof(TGameDate, Year) == 2);
static_assert(offsetof(TGameHeader, Flags) == 48);
static_assert(offsetof(TGameHeader, ShowFrom) == 52);
static_assert(offsetof(TGameHeader, FirstMove) == 56);
static_assert(offsetof(TGameHeader, TypeOfGame) == 57);
static_assert(offsetof(TGameHeader, Result) == 58);
static_assert(offsetof(TGameHeader, NumerationFrom) == 59);
static_assert(offsetof(TGameHeader, LastMove) == 60);
static_assert(offsetof(TGameHeader, GameLength) == 64);
static_assert(offsetof(TGameHeader, Offset) == 68);
static_assert(offsetof(TGameHeader, Length) == 72);
static_assert(offsetof(TGameHeader, Opening) == 76);
static_assert(offsetof(TGameHeader, Medals) == 80);
static_assert(offsetof(TGameHeader, Crc) == 84);

// The older record as laid out in files; 2-byte numbers are unsigned and
// widen to the 4-byte fields of TGameHeader.
struct TPlayerInfoOld {
  uint16_t NameIndex;
  uint8_t Title;
  uint8_t pad1;
  uint16_t Rating;
  uint8_t Country;
  uint8_t pad2;
};

struct TGameHeaderOld {
  TPlayerInfoOld White;
  TPlayerInfoOld Black;
  uint16_t AnnotatorIndex;
  uint16_t TournamentIndex;
  uint16_t SiteIndex;
  uint8_t Round;
  uint8_t Subround;
  uint8_t Day;
  uint8_t Month;
  uint16_t Year;
  uint8_t Flags;
  uint8_t pad1;
  uint16_t ShowFrom;
  uint8_t FirstMove;
  uint8_t TypeOfGame;
  uint8_t Result;
  uint8_t NumerationFrom;
  uint16_t LastMove;
  uint8_t GameLength;
  uint8_t pad2;
  int32_t Offset;
  int32_t Length;
  uint16_t Opening;
  uint8_t Medals;
  uint8_t pad3;
};

static_assert(sizeof(TPlayerInfoOld) == 8);
static_assert(offsetof(TPlayerInfoOld, Title) == 2);
static_assert(offsetof(TPlayerInfoOld, Rating) == 4);
static_assert(offsetof(TPlayerInfoOld, Country) == 6);
static_assert(offsetof(TGameHeaderOld, Black) == 8);
static_assert(offsetof(TGameHeaderOld, AnnotatorIndex) == 16);
static_assert(offsetof(TGameHeaderOld, TournamentIndex) == 18);
static_assert(offsetof(TGameHeaderOld, SiteIndex) == 20);
static_assert(offsetof(TGameHeaderOld, Round) == 22);
static_assert(offsetof(TGameHeaderOld, Subround) == 23);
static_assert(offsetof(TGameHeaderOld, Day) == 24);
static_assert(offsetof(TGameHeaderOld, Month) == 25);
static_assert(offsetof(TGameHeaderOld, Year) == 26);
static_assert(offsetof(TGameHeaderOld, Flags) == 28);
static_assert(offsetof(TGameHeaderOld, ShowFrom) == 30);
static_assert(offsetof(TGameHeaderOld, FirstMove) == 32);
static_assert(offsetof(TGameHeaderOld, TypeOfGame) == 33);
static_assert(offsetof(TGameHeaderOld, Result) == 34);
static_assert(offsetof(TGameHeaderOld, NumerationFrom) == 35);
static_assert(offsetof(TGameHeaderOld, LastMove) == 36);
static_assert(offsetof(TGameHeaderOld, GameLength) == 38);
static_assert(offsetof(TGameHeaderOld, Offset) == 40);
static_assert(offsetof(TGameHeaderOld, Length) == 44);
static_assert(offsetof(TGameHeaderOld, Opening) == 48);
static_assert(offsetof(TGameHeaderOld, Medals) == 50);
static_assert(sizeof(TGameHeaderOld) == OldHeaderRecordSize);

// Field by field, little-endian, padding written as 0.
void EncodeHeader(const TGameHeader& header, THeaderBytes& bytes);
void DecodeHeader(const THeaderBytes& bytes, TGameHeader& header);

// Widens an older record into `header`; Crc is not in the older record and
// keeps the value it had.
void DecodeOldHeader(const TOldHeaderBytes& bytes, TGameHeader& header);

}  // namespace kestrel
