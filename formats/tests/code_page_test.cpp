// UTF-8 and the 8-bit code page: detection and conversion both ways.
#include <gtest/gtest.h>

#include "formats/code_page.h"

namespace kestrel {
namespace {

TEST(CodePage, Utf8IsRecognised) {
  EXPECT_TRUE(IsUtf8WithNonAscii("\xD0\x98\xD0\xB2"));      // Ив
  EXPECT_TRUE(IsUtf8WithNonAscii("a \xE2\x82\xAC b"));      // €
  EXPECT_TRUE(IsUtf8WithNonAscii("\xF0\x9F\x98\x80"));      // four bytes
  EXPECT_FALSE(IsUtf8WithNonAscii("plain ascii"));
  EXPECT_FALSE(IsUtf8WithNonAscii("\xC8\xE2\xE0\xED"));     // Иван in Windows-1251
  EXPECT_FALSE(IsUtf8WithNonAscii("\xD0"));                  // cut short
  EXPECT_FALSE(IsUtf8WithNonAscii("\xC0\xAF"));              // overlong
  EXPECT_FALSE(IsUtf8WithNonAscii("\xED\xA0\x80"));          // a surrogate
  EXPECT_FALSE(IsUtf8WithNonAscii("\xF4\x90\x80\x80"));      // beyond U+10FFFF
}

TEST(CodePage, ConversionsBothWays) {
  const std::string ansi = "\xC8\xE2\xE0\xED\xEE\xE2 \xB8\xA8 \xB0";  // Иванов ёЁ °
  const std::string utf8 = AnsiToUtf8(ansi);
  EXPECT_EQ(utf8, "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2 \xD1\x91\xD0\x81 \xC2\xB0");
  EXPECT_EQ(Utf8ToAnsi(utf8), ansi);
  EXPECT_EQ(ToAnsiText(utf8), ansi);
  EXPECT_EQ(ToAnsiText(ansi), ansi);
  // What the code page lacks becomes something readable, never nothing.
  const std::string chinese = Utf8ToAnsi("a\xE4\xB8\xAD" "b");
  EXPECT_EQ(chinese.front(), 'a');
  EXPECT_EQ(chinese.back(), 'b');
  EXPECT_GE(chinese.size(), 3u);
  // Bad sequences in the middle do not stop the conversion.
  EXPECT_EQ(Utf8ToAnsi("x\xD0y"), "x?y");
  EXPECT_EQ(WithoutBom("\xEF\xBB\xBFtext"), "text");
  EXPECT_EQ(WithoutBom("text"), "text");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// What the program's code page holds survives the trip; every character it
// does not is counted, never dropped without a word.
TEST(CodePageLoss, CharactersTheCodePageCannotHoldAreCounted) {
  struct Case {
    const char* utf8;
    int lost;
  };
  const Case cases[] = {
      {"\xD0\xA4\xD0\xB0\xD0\xB4\xD0\xB5\xD0\xB5\xD0\xB2", 0},  // Фадеев
      {"Ivanov", 0},
      {"M\xC3\xBCller Jos\xC3\xA9", 2},                          // Müller José
      {"\xE9\xAB\x98\xE6\x96\x87\xE9\xBE\x99", 3},               // 高文龙
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    int lost = 0;
    const std::string ansi = ToAnsiText(c.utf8, lost);
    EXPECT_EQ(lost, c.lost);
    if (c.lost == 0) EXPECT_EQ(AnsiToUtf8(ansi), c.utf8);
  }
}

}  // namespace
}  // namespace kestrel
