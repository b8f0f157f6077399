// Cutting PDN files into games: line ends, byte order marks, encodings,
// escape lines, line comments and tags where moves are expected.
#include <gtest/gtest.h>

#include <sstream>

#include "database/code_page.h"
#include "formats/pdn_source.h"

namespace kestrel {
namespace {

std::vector<TPdnRawGame> Cut(const std::string& text) {
  std::istringstream in(text);
  TPdnSource source(in);
  std::vector<TPdnRawGame> games;
  TPdnRawGame raw;
  while (source.Next(raw)) games.push_back(raw);
  EXPECT_EQ(source.BytesRead(), static_cast<int64_t>(text.size()));
  return games;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

const std::string TwoGames =
    "[Event \"one\"]\n[White \"A\"]\n\n1. 32-28 18-23\n2. 37-32 *\n\n"
    "[Event \"two\"]\n  \n1. 33-29 1-0\n";

TEST(PdnSource, GamesAreTagLinesThenMoveLines) {
  const auto games = Cut(TwoGames);
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(games[0].tags, (std::vector<std::string>{"[Event \"one\"]", "[White \"A\"]"}));
  EXPECT_EQ(games[0].moveText, "1. 32-28 18-23 2. 37-32 * ");
  EXPECT_EQ(games[0].firstLine, 1);
  EXPECT_EQ(games[1].tags, (std::vector<std::string>{"[Event \"two\"]"}));
  EXPECT_EQ(games[1].moveText, "1. 33-29 1-0 ");
  EXPECT_EQ(games[1].firstLine, 7);
}

TEST(PdnSource, EveryLineEndAndAByteOrderMark) {
  const auto lf = Cut(TwoGames);
  for (const std::string& text : {Replaced(TwoGames, "\n", "\r\n"), Replaced(TwoGames, "\n", "\r"),
                                  "\xEF\xBB\xBF" + Replaced(TwoGames, "\n", "\r\n")}) {
    const auto games = Cut(text);
    ASSERT_EQ(games.size(), lf.size());
    for (size_t i = 0; i < games.size(); ++i) {
      EXPECT_EQ(games[i].tags, lf[i].tags);
      EXPECT_EQ(games[i].moveText, lf[i].moveText);
      EXPECT_EQ(games[i].firstLine, lf[i].firstLine);
    }
  }
}

TEST(PdnSource, LineEndsAcrossTheReadBuffer) {
  // Long enough that CR and LF of some line fall on both sides of a buffer
  // boundary.
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "[Event \"game " + std::to_string(i) + "\"]\r\n\r\n1. 32-28 *\r\n\r\n";
  const auto games = Cut(text);
  ASSERT_EQ(games.size(), 3000u);
  for (size_t i = 0; i < games.size(); ++i) {
    ASSERT_EQ(games[i].firstLine, static_cast<int64_t>(4 * i + 1));
    ASSERT_EQ(games[i].moveText, "1. 32-28 * ");
  }
}

TEST(PdnSource, Utf8LinesBecomeTheCodePageAndEightBitLinesStay) {
  const std::string utf8 = "[White \"\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\"]\n";  // Иван in UTF-8
  const std::string ansi = "[Black \"\xCF\xE5\xF2\xF0\"]\n";                 // Петр in Windows-1251
  const auto games = Cut(utf8 + ansi + "1. c3-d4 {\xC2\xB0} *\n");
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].tags[0], "[White \"\xC8\xE2\xE0\xED\"]");
  EXPECT_EQ(games[0].tags[1], ansi.substr(0, ansi.size() - 1));
  EXPECT_EQ(games[0].moveText, "1. c3-d4 {\xB0} * ");  // the degree sign of Windows-1251
}

TEST(PdnSource, EscapeLinesAndLineComments) {
  const auto games = Cut(
      "% written by a program\n[Event \"e\"]\n% between tags\n[Site \"s\"]\n\n"
      "1. 32-28 ; a {line} comment\n% escape\n18-23 { % not an escape\n% inside a comment } *\n");
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].tags.size(), 2u);
  EXPECT_EQ(games[0].moveText,
            "1. 32-28  { a  line  comment } 18-23 { % not an escape % inside a comment } * ");
}

TEST(PdnSource, BracketsInsideCommentsAndTagsAfterTheMoves) {
  const auto games = Cut(
      "[Event \"a\"]\n1. 32-28 { see\n[#]\n[%clock w0:01]\nthen } 18-23 1-0[Event \"b\"]\n1. 33-29 *\n"
      "[Event \"c\"]\n{ never closed\n[Event \"d\"]\n*\n");
  ASSERT_EQ(games.size(), 4u);
  EXPECT_EQ(games[0].moveText, "1. 32-28 { see [#] [%clock w0:01] then } 18-23 1-0 ");
  EXPECT_EQ(games[1].tags, (std::vector<std::string>{"[Event \"b\"]"}));
  EXPECT_EQ(games[1].moveText, "1. 33-29 * ");
  // A comment left open does not swallow the next game.
  EXPECT_EQ(games[2].moveText, "{ never closed ");
  EXPECT_EQ(games[3].tags, (std::vector<std::string>{"[Event \"d\"]"}));
}

TEST(PdnSource, GamesWithoutTagsOrWithoutMoves) {
  auto games = Cut("1. 32-28 *\n");
  ASSERT_EQ(games.size(), 1u);
  EXPECT_TRUE(games[0].tags.empty());
  games = Cut("[Event \"a\"]\n\n[Event \"b\"]\n1. 32-28\n");
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(games[0].moveText, "");
  EXPECT_TRUE(Cut("").empty());
  EXPECT_TRUE(Cut("\n\r\n  \n% only escapes\n").empty());
  // Control characters are blanks.
  games = Cut(std::string("1.\t32-28\0*\x1A", 11));
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].moveText, "1. 32-28 * ");
}

TEST(PdnSource, EightBitModeTakesEveryLineAsItIs) {
  std::istringstream in("[White \"\xD0\x98\"]\n");
  TPdnSource source(in, false);
  TPdnRawGame raw;
  ASSERT_TRUE(source.Next(raw));
  EXPECT_EQ(raw.tags[0], "[White \"\xD0\x98\"]");
}

}  // namespace
}  // namespace kestrel
