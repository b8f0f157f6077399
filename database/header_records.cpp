#include "database/header_records.h"

#include "database/byte_order.h"

namespace kestrel {
namespace {

template <typename T>
void Put(uint8_t* record, std::size_t offset, T value) {
  PutLE(record + offset, static_cast<uint32_t>(value), sizeof(T));
}

template <typename T>
T Get(const uint8_t* record, std::size_t offset) {
  return static_cast<T>(GetLE(record + offset, sizeof(T)));
}

TDColor ColorOf(uint8_t byte) { return byte == 0 ? TDColor::white : TDColor::black; }

void PutPlayer(uint8_t* p, const TPlayerInfo& player) {
  Put(p, offsetof(TPlayerInfo, NameIndex), player.NameIndex);
  Put(p, offsetof(TPlayerInfo, Title), player.Title);
  Put(p, offsetof(TPlayerInfo, Rating), player.Rating);
  Put(p, offsetof(TPlayerInfo, Country), player.Country);
}

void GetPlayer(const uint8_t* p, TPlayerInfo& player) {
  player.NameIndex = Get<int32_t>(p, offsetof(TPlayerInfo, NameIndex));
  player.Title = Get<uint8_t>(p, offsetof(TPlayerInfo, Title));
  player.Rating = Get<uint16_t>(p, offsetof(TPlayerInfo, Rating));
  player.Country = Get<uint8_t>(p, offsetof(TPlayerInfo, Country));
}

void GetOldPlayer(const uint8_t* p, TPlayerInfo& player) {
  player.NameIndex = Get<uint16_t>(p, offsetof(TPlayerInfoOld, NameIndex));
  player.Title = Get<uint8_t>(p, offsetof(TPlayerInfoOld, Title));
  player.Rating = Get<uint16_t>(p, offsetof(TPlayerInfoOld, Rating));
  player.Country = Get<uint8_t>(p, offsetof(TPlayerInfoOld, Country));
}

}  // namespace

#define KESTREL_PUT(field) Put(b, offsetof(TGameHeader, field), h.field)
#define KESTREL_GET(field) h.field = Get<decltype(h.field)>(b, offsetof(TGameHeader, field))

void EncodeHeader(const TGameHeader& h, THeaderBytes& bytes) {
  bytes.fill(0);
  uint8_t* b = bytes.data();
  PutPlayer(b + offsetof(TGameHeader, White), h.White);
  PutPlayer(b + offsetof(TGameHeader, Black), h.Black);
  KESTREL_PUT(AnnotatorIndex);
  KESTREL_PUT(TournamentIndex);
  KESTREL_PUT(SiteIndex);
  KESTREL_PUT(Round);
  KESTREL_PUT(Subround);
  Put(b, offsetof(TGameHeader, Date) + offsetof(TGameDate, Day), h.Date.Day);
  Put(b, offsetof(TGameHeader, Date) + offsetof(TGameDate, Month), h.Date.Month);
  Put(b, offsetof(TGameHeader, Date) + offsetof(TGameDate, Year), h.Date.Year);
  KESTREL_PUT(Flags);
  KESTREL_PUT(ShowFrom);
  Put(b, offsetof(TGameHeader, FirstMove), static_cast<uint8_t>(h.FirstMove));
  KESTREL_PUT(TypeOfGame);
  KESTREL_PUT(Result);
  KESTREL_PUT(NumerationFrom);
  KESTREL_PUT(LastMove);
  KESTREL_PUT(GameLength);
  KESTREL_PUT(Offset);
  KESTREL_PUT(Length);
  KESTREL_PUT(Opening);
  KESTREL_PUT(Medals);
  KESTREL_PUT(Crc);
}

void DecodeHeader(const THeaderBytes& bytes, TGameHeader& h) {
  const uint8_t* b = bytes.data();
  GetPlayer(b + offsetof(TGameHeader, White), h.White);
  GetPlayer(b + offsetof(TGameHeader, Black), h.Black);
  KESTREL_GET(AnnotatorIndex);
  KESTREL_GET(TournamentIndex);
  KESTREL_GET(SiteIndex);
  KESTREL_GET(Round);
  KESTREL_GET(Subround);
  h.Date.Day = Get<uint8_t>(b, offsetof(TGameHeader, Date) + offsetof(TGameDate, Day));
  h.Date.Month = Get<uint8_t>(b, offsetof(TGameHeader, Date) + offsetof(TGameDate, Month));
  h.Date.Year = Get<uint16_t>(b, offsetof(TGameHeader, Date) + offsetof(TGameDate, Year));
  KESTREL_GET(Flags);
  KESTREL_GET(ShowFrom);
  h.FirstMove = ColorOf(Get<uint8_t>(b, offsetof(TGameHeader, FirstMove)));
  KESTREL_GET(TypeOfGame);
  KESTREL_GET(Result);
  KESTREL_GET(NumerationFrom);
  KESTREL_GET(LastMove);
  KESTREL_GET(GameLength);
  KESTREL_GET(Offset);
  KESTREL_GET(Length);
  KESTREL_GET(Opening);
  KESTREL_GET(Medals);
  KESTREL_GET(Crc);
}

#undef KESTREL_PUT
#undef KESTREL_GET

void DecodeOldHeader(const TOldHeaderBytes& bytes, TGameHeader& h) {
  const uint8_t* b = bytes.data();
  GetOldPlayer(b + offsetof(TGameHeaderOld, White), h.White);
  GetOldPlayer(b + offsetof(TGameHeaderOld, Black), h.Black);
  h.AnnotatorIndex = Get<uint16_t>(b, offsetof(TGameHeaderOld, AnnotatorIndex));
  h.TournamentIndex = Get<uint16_t>(b, offsetof(TGameHeaderOld, TournamentIndex));
  h.SiteIndex = Get<uint16_t>(b, offsetof(TGameHeaderOld, SiteIndex));
  h.Round = Get<uint8_t>(b, offsetof(TGameHeaderOld, Round));
  h.Subround = Get<uint8_t>(b, offsetof(TGameHeaderOld, Subround));
  h.Date.Day = Get<uint8_t>(b, offsetof(TGameHeaderOld, Day));
  h.Date.Month = Get<uint8_t>(b, offsetof(TGameHeaderOld, Month));
  h.Date.Year = Get<uint16_t>(b, offsetof(TGameHeaderOld, Year));
  h.Flags = Get<uint8_t>(b, offsetof(TGameHeaderOld, Flags));
  h.ShowFrom = Get<uint16_t>(b, offsetof(TGameHeaderOld, ShowFrom));
  h.FirstMove = ColorOf(Get<uint8_t>(b, offsetof(TGameHeaderOld, FirstMove)));
  h.TypeOfGame = Get<uint8_t>(b, offsetof(TGameHeaderOld, TypeOfGame));
  h.Result = Get<uint8_t>(b, offsetof(TGameHeaderOld, Result));
  h.NumerationFrom = Get<uint8_t>(b, offsetof(TGameHeaderOld, NumerationFrom));
  h.LastMove = Get<uint16_t>(b, offsetof(TGameHeaderOld, LastMove));
  h.GameLength = Get<uint8_t>(b, offsetof(TGameHeaderOld, GameLength));
  h.Offset = Get<int32_t>(b, offsetof(TGameHeaderOld, Offset));
  h.Length = Get<int32_t>(b, offsetof(TGameHeaderOld, Length));
  h.Opening = Get<uint16_t>(b, offsetof(TGameHeaderOld, Opening));
  h.Medals = Get<uint8_t>(b, offsetof(TGameHeaderOld, Medals));
}

}  // namespace kestrel
