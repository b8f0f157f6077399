// The header records against the byte tables of the index file.
#include <gtest/gtest.h>

#include <cstring>

#include "database/header_records.h"

namespace kestrel {
namespace {

// Little-endian bytes at an offset of a record, written independently of
// the encoder.
template <std::size_t N>
void Put(std::array<uint8_t, N>& r, int offset, int size, uint32_t value) {
  for (int i = 0; i < size; ++i) r[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

TGameHeader DistinctHeader() {
  TGameHeader h;
  h.White = {0x01020304, 5, 0x0607, 8};
  h.Black = {-2, 9, 2400, 10};
  h.AnnotatorIndex = 0x11121314;
  h.TournamentIndex = 0x15161718;
  h.SiteIndex = 0x191A1B1C;
  h.Round = 0x1D1E1F20;
  h.Subround = 0x21222324;
  h.Date = {25, 12, 2023};
  h.Flags = 0xA5;
  h.ShowFrom = 0x26272829;
  h.FirstMove = TDColor::black;
  h.TypeOfGame = 11;
  h.Result = 5;
  h.NumerationFrom = 48;
  h.LastMove = 0x2A2B2C2D;
  h.GameLength = 0x2E2F;
  h.Offset = 0x30313233;
  h.Length = 0x34353637;
  h.Opening = 0x38393A3B;
  h.Medals = 0x3C3D3E3F;
  h.Crc = 0x40414243;
  return h;
}

TEST(HeaderRecord, EveryFieldAtItsOffsetPaddingZero) {
  THeaderBytes expected{};
  Put(expected, 0, 4, 0x01020304);
  Put(expected, 4, 1, 5);
  Put(expected, 6, 2, 0x0607);
  Put(expected, 8, 1, 8);
  Put(expected, 12, 4, 0xFFFFFFFE);
  Put(expected, 16, 1, 9);
  Put(expected, 18, 2, 2400);
  Put(expected, 20, 1, 10);
  Put(expected, 24, 4, 0x11121314);
  Put(expected, 28, 4, 0x15161718);
  Put(expected, 32, 4, 0x191A1B1C);
  Put(expected, 36, 4, 0x1D1E1F20);
  Put(expected, 40, 4, 0x21222324);
  Put(expected, 44, 1, 25);
  Put(expected, 45, 1, 12);
  Put(expected, 46, 2, 2023);
  Put(expected, 48, 1, 0xA5);
  Put(expected, 52, 4, 0x26272829);
  Put(expected, 56, 1, 1);
  Put(expected, 57, 1, 11);
  Put(expected, 58, 1, 5);
  Put(expected, 59, 1, 48);
  Put(expected, 60, 4, 0x2A2B2C2D);
  Put(expected, 64, 2, 0x2E2F);
  Put(expected, 68, 4, 0x30313233);
  Put(expected, 72, 4, 0x34353637);
  Put(expected, 76, 4, 0x38393A3B);
  Put(expected, 80, 4, 0x3C3D3E3F);
  Put(expected, 84, 4, 0x40414243);

  THeaderBytes bytes;
  bytes.fill(0xEE);  // the encoder must clear what it does not write
  EncodeHeader(DistinctHeader(), bytes);
  for (int i = 0; i < HeaderRecordSize; ++i) EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;

  TGameHeader back;
  DecodeHeader(bytes, back);
  THeaderBytes again;
  EncodeHeader(back, again);
  EXPECT_EQ(again, bytes);
  EXPECT_EQ(back.Black.NameIndex, -2);
  EXPECT_EQ(back.FirstMove, TDColor::black);
}

TEST(HeaderRecord, PaddingIsIgnoredOnReading) {
  THeaderBytes bytes;
  EncodeHeader(DistinctHeader(), bytes);
  for (int pad : {5, 9, 10, 11, 17, 21, 22, 23, 49, 50, 51, 66, 67}) bytes[pad] = 0x77;
  TGameHeader back;
  DecodeHeader(bytes, back);
  THeaderBytes clean;
  EncodeHeader(back, clean);
  THeaderBytes expected;
  EncodeHeader(DistinctHeader(), expected);
  EXPECT_EQ(clean, expected);
}

TEST(HeaderRecord, OlderRecordWidensFieldByField) {
  TOldHeaderBytes r{};
  Put(r, 0, 2, 0xFFF0);  // unsigned: 65520
  Put(r, 2, 1, 3);
  Put(r, 4, 2, 2100);
  Put(r, 6, 1, 7);
  Put(r, 8, 2, 513);
  Put(r, 10, 1, 4);
  Put(r, 12, 2, 1900);
  Put(r, 14, 1, 9);
  Put(r, 16, 2, 12);
  Put(r, 18, 2, 300);
  Put(r, 20, 2, 301);
  Put(r, 22, 1, 200);
  Put(r, 23, 1, 6);
  Put(r, 24, 1, 31);
  Put(r, 25, 1, 1);
  Put(r, 26, 2, 1999);
  Put(r, 28, 1, 0x85);
  Put(r, 30, 2, 40000);
  Put(r, 32, 1, 1);
  Put(r, 33, 1, 3);
  Put(r, 34, 1, 2);
  Put(r, 35, 1, 10);
  Put(r, 36, 2, 60000);
  Put(r, 38, 1, 200);
  Put(r, 40, 4, 0x01020304);
  Put(r, 44, 4, 777);
  Put(r, 48, 2, 0xBEEF);
  Put(r, 50, 1, 0x99);
  for (int pad : {3, 7, 11, 15, 29, 39, 51}) r[pad] = 0x55;

  TGameHeader h;
  h.Crc = 1234;  // not in the older record: stays
  DecodeOldHeader(r, h);
  EXPECT_EQ(h.White.NameIndex, 65520);
  EXPECT_EQ(h.White.Title, 3);
  EXPECT_EQ(h.White.Rating, 2100);
  EXPECT_EQ(h.White.Country, 7);
  EXPECT_EQ(h.Black.NameIndex, 513);
  EXPECT_EQ(h.Black.Title, 4);
  EXPECT_EQ(h.Black.Rating, 1900);
  EXPECT_EQ(h.Black.Country, 9);
  EXPECT_EQ(h.AnnotatorIndex, 12);
  EXPECT_EQ(h.TournamentIndex, 300);
  EXPECT_EQ(h.SiteIndex, 301);
  EXPECT_EQ(h.Round, 200);
  EXPECT_EQ(h.Subround, 6);
  EXPECT_EQ(h.Date.Day, 31);
  EXPECT_EQ(h.Date.Month, 1);
  EXPECT_EQ(h.Date.Year, 1999);
  EXPECT_EQ(h.Flags, 0x85);
  EXPECT_EQ(h.ShowFrom, 40000);
  EXPECT_EQ(h.FirstMove, TDColor::black);
  EXPECT_EQ(h.TypeOfGame, 3);
  EXPECT_EQ(h.Result, 2);
  EXPECT_EQ(h.NumerationFrom, 10);
  EXPECT_EQ(h.LastMove, 60000);
  EXPECT_EQ(h.GameLength, 200);
  EXPECT_EQ(h.Offset, 0x01020304);
  EXPECT_EQ(h.Length, 777);
  EXPECT_EQ(h.Opening, 0xBEEF);
  EXPECT_EQ(h.Medals, 0x99);
  EXPECT_EQ(h.Crc, 1234);
}

}  // namespace
}  // namespace kestrel
