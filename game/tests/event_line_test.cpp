#include <gtest/gtest.h>

#include "game/event_line.h"
#include "game/glyphs.h"

namespace kestrel {
namespace {

TGame Event(std::string tournament, std::string site, int round, int subround, int day, int month, int year,
            std::string annotator = "") {
  TGame g;
  g.Tournament = std::move(tournament);
  g.Site = std::move(site);
  g.Header.Round = round;
  g.Header.Subround = subround;
  g.Header.Date = {static_cast<uint8_t>(day), static_cast<uint8_t>(month), static_cast<uint16_t>(year)};
  g.AnnotatorName = std::move(annotator);
  return g;
}

TEST(EventLine, FullLine) {
  const TGame g = Event("T", "S", 3, 2, 7, 5, 2015, "A");
  EXPECT_EQ(EventLine(g, true), "T, S [3.2], 07.05.2015 (A)");
  EXPECT_EQ(EventLine(g, false), "T, S [3.2], 07.05.2015");
}

TEST(EventLine, DateForms) {
  EXPECT_EQ(EventLine(Event("T", "", 0, 0, 0, 0, 2015), false), "T, 2015");
  EXPECT_EQ(EventLine(Event("T", "", 0, 0, 0, 5, 2015), false), "T, 05.2015");
  EXPECT_EQ(EventLine(Event("T", "", 0, 0, 7, 0, 2015), false), "T, 2015");  // a day without month is not shown
  EXPECT_EQ(EventLine(Event("T", "", 0, 0, 7, 5, 0), false), "T");          // no year, no date
  EXPECT_EQ(EventLine(Event("", "", 0, 0, 0, 0, 987), false), "0987");
  EXPECT_EQ(EventLine(Event("", "", 0, 0, 31, 12, 1999), false), "31.12.1999");
}

TEST(EventLine, RoundsSitesAndMissingParts) {
  EXPECT_EQ(EventLine(Event("T", "", 4, 0, 0, 0, 0), false), "T [4]");
  EXPECT_EQ(EventLine(Event("T", "S", 0, 9, 0, 0, 0), false), "T, S");  // a subround needs a round
  EXPECT_EQ(EventLine(Event("", "S", 1, 0, 0, 0, 0), false), "S [1]");
  EXPECT_EQ(EventLine(Event("", "", 1, 1, 0, 0, 0, "A"), true), "[1.1] (A)");
  EXPECT_EQ(EventLine(Event("", "", 0, 0, 0, 0, 0, "A"), true), "(A)");
  EXPECT_EQ(EventLine(Event("", "", 0, 0, 0, 0, 0), true), "");
}

TEST(EventLine, TrimSpacesRemovesOnlyBlanks) {
  std::string s = "  a b \t ";
  TrimSpaces(s);
  EXPECT_EQ(s, "a b \t");
  s = "\tx ";
  TrimSpaces(s);
  EXPECT_EQ(s, "\tx");
  s = "    ";
  TrimSpaces(s);
  EXPECT_EQ(s, "");
  s = "";
  TrimSpaces(s);
  EXPECT_EQ(s, "");
}

TEST(Glyphs, TablesAndCodesOfComm) {
  const uint16_t comm = 2 | (7 << 4);
  EXPECT_EQ(MoveGlyphText(comm), "!");
  EXPECT_EQ(PositionGlyphText(comm), "~");
  EXPECT_EQ(MoveGlyphText(6), "??");
  EXPECT_EQ(MoveGlyphText(7), "");
  EXPECT_EQ(PositionGlyphText(1 << 4), "+-");
  EXPECT_EQ(PositionGlyphText(5 << 4), "-+");
  // Codes a damaged record may hold show nothing.
  EXPECT_EQ(MoveGlyphText(0x0F), "");
  EXPECT_EQ(PositionGlyphText(0xF0), "");
  EXPECT_EQ(BookSigns[0], "#");
  EXPECT_EQ(BookSigns[4], "");
  EXPECT_EQ(BookSigns[7], "??");
}

}  // namespace
}  // namespace kestrel
