// Tag lines, game-type codes, results, dates and rounds.
#include <gtest/gtest.h>

#include "formats/pdn_tags.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

TEST(PdnTagLine, KeyAndValueBetweenTheFirstAndLastQuote) {
  auto tag = SplitTagLine("[White \"Say \"Hi\" to me\"]");
  ASSERT_TRUE(tag);
  EXPECT_EQ(tag->key, "white");
  EXPECT_EQ(tag->value, "Say \"Hi\" to me");

  tag = SplitTagLine("  [ GameType  =  \" 20,W,10,10,N2,0 \" ]  ");
  ASSERT_TRUE(tag);
  EXPECT_EQ(tag->key, "gametype");
  EXPECT_EQ(tag->value, "20,W,10,10,N2,0");

  // Without quotes the value runs from the first blank to before the last
  // character.
  tag = SplitTagLine("[Round 3]");
  ASSERT_TRUE(tag);
  EXPECT_EQ(tag->key, "round");
  EXPECT_EQ(tag->value, "3");

  EXPECT_FALSE(SplitTagLine("[Round]"));
  // A single quote: the value is empty.
  tag = SplitTagLine("[Event \"]");
  ASSERT_TRUE(tag);
  EXPECT_EQ(tag->value, "");
}

TEST(PdnGameTypes, CodesBothWaysAndTheBoardDescriptionAfterTheCode) {
  const int codes[] = {0, 25, 21, 26, 23, 22, 20, 29, 24, 40, 41, 27, 31};
  for (int type = 1; type <= GameTypeCount; ++type) {
    EXPECT_EQ(PdnGameTypeCode(type), codes[type]) << type;
    EXPECT_EQ(GameTypeFromPdnCode(codes[type]), type);
  }
  EXPECT_EQ(GameTypeFromTagValue("20,W,10,10,N2,0"), gtInternational);
  EXPECT_EQ(GameTypeFromTagValue(" 23,W,8,8,A0,0"), gtPool);
  EXPECT_EQ(GameTypeFromTagValue("31"), gtThai);
  // Chess, Portuguese, Turkish and nonsense are not ours.
  EXPECT_FALSE(GameTypeFromTagValue("0"));
  EXPECT_FALSE(GameTypeFromTagValue("28,W,8,8,N1,1"));
  EXPECT_FALSE(GameTypeFromTagValue("30"));
  EXPECT_FALSE(GameTypeFromTagValue("twenty"));
  EXPECT_FALSE(GameTypeFromTagValue("99999999999999999999"));
}

TEST(PdnResults, TagValuesReadByTheTable) {
  for (const char* v : {"1:0", "1-0", "2:0", "2-0", "1 : 0", "1 - 0", "2 : 0", "2 - 0"}) EXPECT_EQ(ResultFromTagValue(v), 1) << v;
  for (const char* v : {"1/2:1/2", "1/2-1/2", "1:1", "1-1", "1/2 : 1/2", "1/2 - 1/2", "1 : 1", "1 - 1"})
    EXPECT_EQ(ResultFromTagValue(v), 2) << v;
  for (const char* v : {"0:1", "0-1", "0:2", "0-2", "0 : 1", "0 - 1", "0 : 2", "0 - 2"}) EXPECT_EQ(ResultFromTagValue(v), 3) << v;
  for (const char* v : {"1:0t", "1-0t", "2:0t", "2-0t"}) EXPECT_EQ(ResultFromTagValue(v), 4) << v;
  for (const char* v : {"0:1t", "0-1t", "0:2t", "0-2t"}) EXPECT_EQ(ResultFromTagValue(v), 5) << v;
  for (const char* v : {"*", "", "?", "1-0 ", "3-0", "1/2"}) EXPECT_EQ(ResultFromTagValue(v), 0) << v;
}

TEST(PdnResults, WrittenInBothStylesAndReadBack) {
  EXPECT_EQ(PdnResultText(2, 0), "1/2-1/2");
  EXPECT_EQ(PdnResultText(2, 1), "1-1");
  EXPECT_EQ(PdnResultText(1, 1), "2-0");
  EXPECT_EQ(PdnResultText(5, 0), "0-1t");
  EXPECT_EQ(PdnResultText(0, 0), "*");
  EXPECT_EQ(PdnResultText(200, 0), "*");
  for (int style = 0; style < 2; ++style)
    for (uint8_t r = 0; r <= 5; ++r) {
      EXPECT_EQ(ResultFromTagValue(PdnResultText(r, style)), r) << int(r) << " style " << style;
      EXPECT_TRUE(IsResultToken(PdnResultText(r, style)));
    }
  EXPECT_FALSE(IsResultToken("32-28"));
  EXPECT_FALSE(IsResultToken("1-2"));
}

TGameDate Date(int d, int m, int y) {
  return {static_cast<uint8_t>(d), static_cast<uint8_t>(m), static_cast<uint16_t>(y)};
}

void ExpectDate(std::string_view text, int d, int m, int y) {
  const TGameDate date = DateFromTagValue(text);
  EXPECT_EQ(date.Day, d) << text;
  EXPECT_EQ(date.Month, m) << text;
  EXPECT_EQ(date.Year, y) << text;
}

TEST(PdnDates, TheFormsFilesUse) {
  ExpectDate("2012.05.17", 17, 5, 2012);
  ExpectDate("17.05.2012", 17, 5, 2012);
  ExpectDate("17-05-2012", 17, 5, 2012);
  ExpectDate("2012", 0, 0, 2012);
  ExpectDate("5.2012", 5, 0, 2012);
  ExpectDate("3000.1.1", 1, 1, 2100);
  ExpectDate("1841-?\?-?\?", 0, 0, 1841);
  ExpectDate("2009.??.??", 0, 0, 2009);
  ExpectDate("1950.", 0, 0, 1950);
  ExpectDate("", 0, 0, 0);
  ExpectDate("yesterday", 0, 0, 0);
  // Parts no calendar has stay unknown rather than wrapping around a byte.
  ExpectDate("2012.13.40", 0, 0, 2012);
  ExpectDate("2012.300.5", 5, 0, 2012);
}

TEST(PdnDates, EveryDateIsWrittenSoThatItReadsBack) {
  EXPECT_EQ(PdnDateText(Date(9, 3, 2014)), "2014.3.9");
  EXPECT_EQ(PdnDateText(Date(0, 0, 2014)), "2014");
  EXPECT_EQ(PdnDateText(Date(0, 0, 0)), "");
  // Partial dates: the month is never taken for the day.
  EXPECT_EQ(PdnDateText(Date(9, 0, 2014)), "2014.??.9");
  EXPECT_EQ(PdnDateText(Date(0, 3, 2014)), "2014.3.??");
  for (int y : {0, 1, 31, 32, 1950, 2100})
    for (int m = 0; m <= 12; ++m)
      for (int d = 0; d <= 31; ++d) {
        const TGameDate back = DateFromTagValue(PdnDateText(Date(d, m, y)));
        ASSERT_EQ(back.Day, d) << d << "." << m << "." << y;
        ASSERT_EQ(back.Month, m) << d << "." << m << "." << y;
        ASSERT_EQ(back.Year, y) << d << "." << m << "." << y;
      }
}

TEST(PdnRounds, RoundAndSubroundModulo256) {
  int32_t round = -1, sub = -1;
  RoundFromTagValue("3.2", round, sub);
  EXPECT_EQ(round, 3);
  EXPECT_EQ(sub, 2);
  RoundFromTagValue("257", round, sub);
  EXPECT_EQ(round, 1);
  EXPECT_EQ(sub, 0);
  RoundFromTagValue("?", round, sub);
  EXPECT_EQ(round, 0);
  RoundFromTagValue("-1", round, sub);
  EXPECT_EQ(round, 255);
  EXPECT_EQ(PdnRoundText(2, 0), "2");
  EXPECT_EQ(PdnRoundText(0, 0), "");
  EXPECT_EQ(PdnRoundText(0, 4), ".4");
  for (int r : {0, 1, 255})
    for (int s : {0, 1, 255}) {
      RoundFromTagValue(PdnRoundText(r, s), round, sub);
      EXPECT_EQ(round, r);
      EXPECT_EQ(sub, s);
    }
}

TEST(PdnIntegers, WholeTextOnly) {
  EXPECT_EQ(PdnInteger("42"), 42);
  EXPECT_EQ(PdnInteger(" -7 "), -7);
  EXPECT_EQ(PdnInteger("4x"), 0);
  EXPECT_EQ(PdnInteger(""), 0);
  EXPECT_EQ(PdnInteger("12345678901234567890"), 0);
}

}  // namespace
}  // namespace kestrel
