// The written form of games: tags in both dialects, move numbers, comments,
// glyphs, variations and the line breaking.
#include <gtest/gtest.h>

#include <sstream>

#include "formats/pdn_glyphs.h"
#include "formats/pdn_writer.h"
#include "formats/tests/pdn_test_util.h"
#include "game/navigation.h"
#include "game/new_game.h"

namespace kestrel {
namespace {

using testing::LegalMoves;

// Plays `texts` (in the type's notation) one after the other from `node`.
int Play(TGame& game, int node, std::initializer_list<const char*> texts) {
  for (const char* text : texts) {
    TBoard board;
    TDColor side;
    EXPECT_TRUE(PositionAt(game, node, board, side));
    TMoveList list;
    uint8_t count = 0;
    const int type = GameTypeOf(game);
    GenerateMoveList(board, side, list, type, count);
    const int k = FindMoveByText(text, count, list, type);
    EXPECT_NE(k, 0) << text;
    if (k == 0) return node;
    node = AddMove(game, node, list[k - 1]).slot;
  }
  return node;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TGame IvanovPetrov() {
  TGame game;
  NewGame(game, gtRussian);
  game.WhiteName = "Ivanov";
  game.BlackName = "Petrov";
  game.Header.Round = 2;
  game.Header.Date = {9, 3, 2014};
  game.Header.Result = 1;
  Play(game, 0, {"c3-d4", "f6-g5"});
  return game;
}

TEST(PdnWriter, RussianGameWithEnglishTags) {
  const std::vector<std::string> lines = Lines(PDNGameText(IvanovPetrov()));
  const std::vector<std::string> expected = {
      "[White \"Ivanov\"]", "[Black \"Petrov\"]", "[Event \"\"]",    "[Site \"\"]",    "[Round \"2\"]",
      "[Date \"2014.3.9\"]", "[Result \"1-0\"]",  "[GameType \"25\"]", "",               "1. c3-d4 f6-g5 1-0",
      ""};
  EXPECT_EQ(lines, expected);
}

TEST(PdnWriter, ItalianTagNames) {
  TPdnWriteOptions options;
  options.italianTags = true;
  const std::vector<std::string> lines = Lines(PDNGameText(IvanovPetrov(), options));
  ASSERT_GE(lines.size(), 8u);
  const std::vector<std::string> tags(lines.begin(), lines.begin() + 8);
  const std::vector<std::string> expected = {"[Bianco \"Ivanov\"]", "[Nero \"Petrov\"]",  "[Dati \"\"]",
                                             "[Localita \"\"]",     "[Turno \"2\"]",      "[Anno \"2014.3.9\"]",
                                             "[Esito \"1-0\"]",     "[GameType \"25\"]"};
  EXPECT_EQ(tags, expected);
}

TEST(PdnWriter, EnglishAndPoolNameTheProgramsWhiteBlack) {
  for (int type : {gtEnglish, gtPool}) {
    TGame game;
    NewGame(game, type);
    game.WhiteName = "First";
    game.BlackName = "Second";
    const std::vector<std::string> lines = Lines(PDNGameText(game));
    EXPECT_EQ(lines[0], "[Black \"First\"]");
    EXPECT_EQ(lines[1], "[White \"Second\"]");
  }
}

TEST(PdnWriter, RatingsAnnotatorAndSetUpTags) {
  TGame game;
  TBrd board{};
  board[1] = WhiteKing;
  board[32] = BlackMan;
  ASSERT_TRUE(SetUpPosition(game, board, TDColor::black, 1, gtRussian));
  game.Header.White.Rating = 2400;
  game.AnnotatorName = "Notes";
  const std::string text = PDNGameText(game);
  EXPECT_NE(text.find("[ELO1 \"2400\"]\r\n"), std::string::npos);
  EXPECT_EQ(text.find("ELO2"), std::string::npos);
  EXPECT_NE(text.find("[GameType \"25\"]\r\n[Setup \"1\"]\r\n[FEN \"B:WKa1:Bh8.\"]\r\n[Annotator \"Notes\"]\r\n"),
            std::string::npos)
      << text;
}

TEST(PdnWriter, DrawInBothResultStylesInTagAndAfterTheMoves) {
  TGame game = IvanovPetrov();
  game.Header.Result = 2;
  TPdnWriteOptions options;
  std::string text = PDNGameText(game, options);
  EXPECT_NE(text.find("[Result \"1/2-1/2\"]"), std::string::npos);
  EXPECT_NE(text.find("f6-g5 1/2-1/2\r\n"), std::string::npos);
  options.resultStyle = 1;
  text = PDNGameText(game, options);
  EXPECT_NE(text.find("[Result \"1-1\"]"), std::string::npos);
  EXPECT_NE(text.find("f6-g5 1-1\r\n"), std::string::npos);
}

TEST(PdnWriter, CommentsGlyphsAndVariations) {
  TGame game;
  NewGame(game, gtInternational);
  const int a = Play(game, 0, {"32-28"});
  const int b = Play(game, a, {"18-23"});
  const int alt = Play(game, 0, {"33-29"});
  Play(game, alt, {"19-23"});
  const int blackAlt = Play(game, a, {"17-22"});
  game.CommentsBef[a] = "first";
  game.CommentsAft[a] = "good";
  game.Moves[a].comm = 0x12;  // "!" and "+-"
  game.CommentsBef[b] = "before";
  game.Moves[blackAlt].comm = 5;  // "?"
  const std::string moves = PdnMoveSection(game, {});
  EXPECT_EQ(moves,
            "{ first } 1. 32-28 { good } $1 $16 ( 1. 33-29 19-23 ) { before } 18-23 ( 17-22 $2 ) *");
}

TEST(PdnWriter, BareMoveBeforeACommentGetsAnEmptyCommentBetween) {
  TGame game;
  NewGame(game, gtInternational);
  const int a = Play(game, 0, {"32-28"});
  const int b = Play(game, a, {"18-23"});
  game.CommentsBef[b] = "now";
  EXPECT_EQ(PdnMoveSection(game, {}), "1. 32-28 { } { now } 18-23 *");
}

TEST(PdnWriter, GameCommentComesFirstFollowedByTheFirstMovesComment) {
  TGame game;
  NewGame(game, gtInternational);
  Play(game, 0, {"32-28"});
  game.CommentsAft[0] = "about the game";
  EXPECT_EQ(PdnMoveSection(game, {}), "{ about the game } { } 1. 32-28 *");
  TGame empty;
  NewGame(empty, gtInternational);
  empty.CommentsAft[0] = "no moves";
  EXPECT_EQ(PdnMoveSection(empty, {}), "{ no moves } *");
}

TEST(PdnWriter, MoveNumbersFollowTheFirstMoverAndTheFirstMoveNumber) {
  TGame game;
  TBrd board{};
  board[13] = WhiteMan;
  board[30] = BlackMan;
  board[31] = BlackMan;
  ASSERT_TRUE(SetUpPosition(game, board, TDColor::black, 12, gtRussian));
  Play(game, 0, {"d8-e7", "b4-a5", "e7-f6"});
  // Black's first move is numbered with dots so that the number survives.
  EXPECT_EQ(PdnMoveSection(game, {}), "12... d8-e7 13. b4-a5 e7-f6 *");
}

TEST(PdnWriter, NumericSquaresWithoutLeadingZeros) {
  TGame game;
  NewGame(game, gtInternational);
  Play(game, 0, {"31-26", "19-24", "36-31", "14-19", "41-36", "10-14", "46-41", "05-10"});
  EXPECT_EQ(PdnMoveSection(game, {}), "1. 31-26 19-24 2. 36-31 14-19 3. 41-36 10-14 4. 46-41 5-10 *");
}

// Every legal move of random positions, written as the writer writes it,
// reads back as that very move, also where several captures share their
// start and end squares.
TEST(PdnWriter, EveryMoveIsWrittenSoThatItReadsBack) {
  std::mt19937 rng(20240611);
  int ambiguous = 0;
  for (int type = 1; type <= GameTypeCount; ++type) {
    for (int round = 0; round < 300; ++round) {
      const TBoard board = testing::RandomPosition(rng, type, 45);
      const TDColor side = round % 2 ? TDColor::black : TDColor::white;
      TMoveList list;
      uint8_t count = 0;
      GenerateMoveList(board, side, list, type, count);
      for (int k = 1; k <= count; ++k) {
        const std::string token = PdnMoveToken(list, count, k, type);
        const int found = FindPdnMove(token, list, count, type);
        ASSERT_NE(found, 0) << GameTypeNames[type] << " " << token;
        ASSERT_TRUE(SameMoveExactly(list[found - 1], list[k - 1])) << GameTypeNames[type] << " " << token;
        if (token != WithoutLeadingZeros(MoveToText(list[k - 1], type, 0, "x"))) ++ambiguous;
        if (!IsAlgebraicType(type)) {
          for (size_t i = 0; i + 1 < token.size(); ++i)
            ASSERT_FALSE(token[i] == '0' && (i == 0 || !std::isdigit(static_cast<unsigned char>(token[i - 1]))))
                << token;
        }
      }
    }
  }
  // The random positions do hold such captures, so the longer forms were needed.
  EXPECT_GT(ambiguous, 0);
}

TEST(PdnLines, CutAfterSeventyCharactersAtALoneBlank) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "abcd ";
  text += "end";
  const std::vector<std::string> lines = BreakPdnLine(text);
  ASSERT_GE(lines.size(), 2u);
  std::string joined;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 75u);
    joined += line;
  }
  EXPECT_EQ(joined, text);
  EXPECT_EQ(lines[0].size(), 75u);  // the blank at 70 is inside "abcd", the next one at 74
  EXPECT_EQ(lines[0].back(), ' ');

  // Never at a double blank, nor before "[", "%" or ";".
  std::string tricky(70, 'a');
  tricky += "  b [#] %x ;y z";
  const std::vector<std::string> parts = BreakPdnLine(tricky);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[1], "z");
  // A text without a blank stays whole.
  EXPECT_EQ(BreakPdnLine(std::string(200, 'q')).size(), 1u);
  EXPECT_EQ(BreakPdnLine("short"), std::vector<std::string>{"short"});
}

TEST(PdnComments, UnpairedBracesAndLineBreaksAreMadeSafe) {
  EXPECT_EQ(PdnCommentText("a } b { c"), "a ) b ( c");
  EXPECT_EQ(PdnCommentText("{nested {ok}}"), "{nested {ok}}");
  EXPECT_EQ(PdnCommentText("line\r\nbreak"), "line  break");
  EXPECT_EQ(PdnCommentText("{ open"), "( open");
}

TEST(PdnGlyphs, TokensBothWays) {
  EXPECT_EQ(PdnGlyphTokens(0x00), "");
  EXPECT_EQ(PdnGlyphTokens(0x01), "$3 ");
  EXPECT_EQ(PdnGlyphTokens(0x76), "$4 $13 ");
  EXPECT_EQ(PdnGlyphTokens(0x60), "");  // " x" has no number
  EXPECT_EQ(PdnGlyphTokens(0x92), "$1 ");  // bit 7: no position glyph
  for (int move = 1; move <= 6; ++move) {
    const std::string token = PdnGlyphTokens(static_cast<uint16_t>(move));
    const auto glyph = GlyphFromNag(token.substr(0, token.size() - 1));
    ASSERT_TRUE(glyph);
    EXPECT_EQ(glyph->kind, 1);
    EXPECT_EQ(glyph->code, move);
  }
  for (int position : {1, 2, 3, 4, 5, 7}) {
    const std::string token = PdnGlyphTokens(static_cast<uint16_t>(position << 4));
    const auto glyph = GlyphFromNag(token.substr(0, token.size() - 1));
    ASSERT_TRUE(glyph);
    EXPECT_EQ(glyph->kind, 2);
    EXPECT_EQ(glyph->code, position);
  }
  EXPECT_EQ(GlyphFromNag("$18")->code, 1);
  EXPECT_EQ(GlyphFromNag("$19")->code, 5);
  EXPECT_FALSE(GlyphFromNag("$7"));
  EXPECT_FALSE(GlyphFromNag("$"));
  EXPECT_FALSE(GlyphFromNag("$x"));
  EXPECT_EQ(MoveGlyphFromMark("?!"), 4);
  EXPECT_EQ(MoveGlyphFromMark("!!!"), 0);
}

}  // namespace
}  // namespace kestrel
