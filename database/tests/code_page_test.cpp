// UTF-8 and the 8-bit code page: detection and conversion both ways.
#include <gtest/gtest.h>

#include "database/code_page.h"
#include "test_support/code_page_scope.h"

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
    if (c.lost == 0) {
      EXPECT_EQ(AnsiToUtf8(ansi), c.utf8);
    }
  }
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

using kestrel::testing::CodePageScope;

constexpr const char* Mueller = "M\xC3\xBCller Jos\xC3\xA9";                        // Müller José
constexpr const char* Fadeev = "\xD0\xA4\xD0\xB0\xD0\xB4\xD0\xB5\xD0\xB5\xD0\xB2";  // Фадеев
constexpr const char* GaoWenlong = "\xE9\xAB\x98\xE6\x96\x87\xE9\xBE\x99";          // 高文龙

// The three names in each code page the setting offers: the stored bytes
// (from the code page tables), the characters lost, and the trip back.
TEST(CodePageSetting, NamesRoundTripInEachCodePage) {
  struct Case {
    TCodePage page;
    const char* utf8;
    const char* stored;  // nullptr: not held whole
    int lost;
  };
  const Case cases[] = {
      {TCodePage::windows1251, Fadeev, "\xD4\xE0\xE4\xE5\xE5\xE2", 0},
      {TCodePage::windows1251, Mueller, nullptr, 2},
      {TCodePage::windows1251, GaoWenlong, nullptr, 3},
      {TCodePage::windows1252, Mueller, "M\xFCller Jos\xE9", 0},
      {TCodePage::windows1252, Fadeev, nullptr, 6},
      {TCodePage::windows1252, GaoWenlong, nullptr, 3},
      {TCodePage::utf8, Mueller, Mueller, 0},
      {TCodePage::utf8, Fadeev, Fadeev, 0},
      {TCodePage::utf8, GaoWenlong, GaoWenlong, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(CodePageName(c.page)) + " " + c.utf8);
    CodePageScope scope(c.page);
    int lost = 0;
    const std::string stored = Utf8ToAnsi(c.utf8, lost);
    EXPECT_EQ(lost, c.lost);
    if (c.stored) {
      EXPECT_EQ(stored, c.stored);
      EXPECT_EQ(AnsiToUtf8(stored), c.utf8);
    } else {
      EXPECT_NE(AnsiToUtf8(stored), c.utf8);
    }
    // A file line is read the same way.
    int fileLost = 0;
    EXPECT_EQ(ToAnsiText(c.utf8, fileLost), stored);
    EXPECT_EQ(fileLost, c.lost);
  }
}

TEST(CodePageSetting, NamesAndOlderFiles) {
  for (const char* name : {"Windows-1251", "windows1251", "CP1251", "1251"})
    EXPECT_EQ(ParseCodePage(name), TCodePage::windows1251) << name;
  for (const char* name : {"Windows-1252", "cp1252"}) EXPECT_EQ(ParseCodePage(name), TCodePage::windows1252) << name;
  for (const char* name : {"UTF-8", "utf8"}) EXPECT_EQ(ParseCodePage(name), TCodePage::utf8) << name;
  for (const char* name : {"", "KOI8-R", "Windows-125"}) EXPECT_FALSE(ParseCodePage(name)) << name;
  for (TCodePage page : {TCodePage::windows1251, TCodePage::windows1252, TCodePage::utf8})
    EXPECT_EQ(ParseCodePage(CodePageName(page)), page);

  // With UTF-8 databases an 8-bit line of an older file is Windows-1251.
  CodePageScope scope(TCodePage::utf8);
  EXPECT_EQ(ToAnsiText("\xD4\xE0\xE4\xE5\xE5\xE2"), Fadeev);
  EXPECT_EQ(FileTextToUtf8("\xD4\xE0\xE4\xE5\xE5\xE2"), Fadeev);
  // An 8-bit export of UTF-8 stored text counts what the page lacks.
  int lost = 0;
  EXPECT_EQ(AnsiToCodePage(std::string(Fadeev) + " " + GaoWenlong, TCodePage::windows1251, lost).substr(0, 7),
            "\xD4\xE0\xE4\xE5\xE5\xE2 ");
  EXPECT_EQ(lost, 3);
  // Malformed stored bytes never reach a window as broken UTF-8.
  EXPECT_EQ(AnsiToUtf8("x\xFFy"), "x?y");
}

}  // namespace
}  // namespace kestrel
