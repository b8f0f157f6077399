// Reading move text: numbers, comments, variations, glyphs, results,
// ballots, capture forms and the stop at an unreadable move.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/packed_board.h"
#include "formats/pdn_move_text.h"
#include "formats/tests/pdn_test_util.h"
#include "game/new_game.h"

namespace kestrel {
namespace {

TGame Fresh(int type) {
  TGame game;
  NewGame(game, type);
  return game;
}

TGame SetUpGame(int type, std::initializer_list<int> white, std::initializer_list<int> black, TDColor side,
            std::initializer_list<int> whiteKings = {}, std::initializer_list<int> blackKings = {}) {
  TBrd b{};
  for (int s : white) b[s] = WhiteMan;
  for (int s : black) b[s] = BlackMan;
  for (int s : whiteKings) b[s] = WhiteKing;
  for (int s : blackKings) b[s] = BlackKing;
  TGame game;
  EXPECT_TRUE(SetUpPosition(game, b, side, 1, type));
  return game;
}

std::string Text(const TGame& game, int slot) { return MoveToTextPath(game.Moves[slot], GameTypeOf(game), 1, "-"); }

// The moves of the line that always takes the first continuation from `node`.
std::vector<std::string> Line(const TGame& game, int node = 0) {
  std::vector<std::string> moves;
  for (int s = FirstChild(game, node); s != 0; s = FirstChild(game, s)) moves.push_back(Text(game, s));
  return moves;
}

using Moves = std::vector<std::string>;

TEST(PdnMoveText, NumbersAndTheResultTokenAreSkipped) {
  TGame game = Fresh(gtEnglish);
  const TMoveTextResult r = ReadPdnMoveText(game, "21. 11-15 22-18 *");
  EXPECT_TRUE(r.complete) << r.reason;
  EXPECT_EQ(r.moves, 2);
  EXPECT_EQ(Line(game), (Moves{"11-15", "22-18"}));
}

TEST(PdnMoveText, NumbersGluedToMovesAndBlackNumbersWithDots) {
  TGame game = Fresh(gtInternational);
  const TMoveTextResult r = ReadPdnMoveText(game, "1.32-28 1...18-23 2. 37-32 2... 12-18 3. ... 41-37 *");
  EXPECT_TRUE(r.complete) << r.reason;
  EXPECT_EQ(Line(game), (Moves{"32-28", "18-23", "37-32", "12-18", "41-37"}));
}

TEST(PdnMoveText, TheFirstNumberGivesTheFirstMoveNumberOfTheGame) {
  TGame white = Fresh(gtInternational);
  ReadPdnMoveText(white, "21. 32-28 18-23");
  EXPECT_EQ(white.Header.NumerationFrom, 40);
  TGame black = Fresh(gtInternational);
  black.Header.FirstMove = TDColor::black;
  ReadPdnMoveText(black, "12... 18-23 13. 32-28");
  EXPECT_EQ(black.Header.NumerationFrom, 22);
  TGame plain = Fresh(gtInternational);
  ReadPdnMoveText(plain, "1. 32-28");
  EXPECT_EQ(plain.Header.NumerationFrom, 0);
  // A number that would come before the start is not taken.
  black = Fresh(gtInternational);
  black.Header.FirstMove = TDColor::black;
  ReadPdnMoveText(black, "1. 18-23");
  EXPECT_EQ(black.Header.NumerationFrom, 0);
  TMoveTextOptions options;
  options.readNumeration = false;
  TGame off = Fresh(gtInternational);
  ReadPdnMoveText(off, "30. 32-28", options);
  EXPECT_EQ(off.Header.NumerationFrom, 0);
}

TEST(PdnMoveText, AVariationAfterAWhiteMoveReplacesThatMove) {
  TGame game = Fresh(gtInternational);
  const TMoveTextResult r =
      ReadPdnMoveText(game, "1. 32-28 ( 1. 33-29 18-23 ( 17-21 ) 2. 29x18 ) 17-22 2. 28x17 11x22 *");
  ASSERT_TRUE(r.complete) << r.reason;
  EXPECT_EQ(Line(game), (Moves{"32-28", "17-22", "28-17", "11-22"}));
  const std::vector<int32_t> first = Children(game, 0);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(Text(game, first[1]), "33-29");
  EXPECT_EQ(Line(game, first[1]), (Moves{"18-23", "29-18"}));
  const std::vector<int32_t> reply = Children(game, first[1]);
  ASSERT_EQ(reply.size(), 2u);
  EXPECT_EQ(Text(game, reply[1]), "17-21");
  EXPECT_TRUE(game.Moves[first[0]].main);
  EXPECT_FALSE(game.Moves[first[1]].main);
}

TEST(PdnMoveText, VariationsAtTheStartAndNestedDeeply) {
  TGame game = Fresh(gtInternational);
  // Before any move a variation starts from the same position.
  TMoveTextResult r = ReadPdnMoveText(game, "( 33-29 ) 32-28");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(Children(game, 0).size(), 2u);
  // Thousands of open parentheses end the reading without harm.
  TGame deep = Fresh(gtInternational);
  r = ReadPdnMoveText(deep, "1. 32-28 " + std::string(70000, '(') + " 18-23");
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(Line(deep), (Moves{"32-28"}));
}

TEST(PdnMoveText, CommentsBeforeAndAfterMovesAndGlyphs) {
  TGame game = Fresh(gtInternational);
  const TMoveTextResult r = ReadPdnMoveText(
      game, "{ intro } 1. 32-28 { a {nested} one } $1 $14 $3 { next } 18-23 !? 2. 37-32? (?) 12-18 $16 { late } *");
  ASSERT_TRUE(r.complete) << r.reason;
  const std::vector<int32_t> line = {FirstChild(game, 0), 0, 0, 0};
  int s = line[0];
  EXPECT_EQ(game.CommentsBef[s], "intro");
  EXPECT_EQ(game.CommentsAft[s], "a {nested} one");
  // "$3" replaces "$1": the same kind.
  EXPECT_EQ(game.Moves[s].comm, 0x21);
  s = FirstChild(game, s);
  EXPECT_EQ(game.CommentsBef[s], "next");
  EXPECT_EQ(game.Moves[s].comm, 3);  // "!?"
  s = FirstChild(game, s);
  EXPECT_EQ(game.Moves[s].comm, 5);  // "?" glued, then "(?)"
  s = FirstChild(game, s);
  EXPECT_EQ(game.Moves[s].comm, 0x10);
  // A comment with no move after it stays with the last move.
  EXPECT_EQ(game.CommentsAft[s], "late");
  EXPECT_TRUE(game.CommentsAft[0].empty());
}

TEST(PdnMoveText, TwoCommentsBeforeTheFirstMoveAreTheGameCommentAndTheMovesComment) {
  TGame game = Fresh(gtInternational);
  ReadPdnMoveText(game, "{ game } { } 1. 32-28");
  EXPECT_EQ(game.CommentsAft[0], "game");
  EXPECT_EQ(game.CommentsBef[FirstChild(game, 0)], "");
  TGame only = Fresh(gtInternational);
  ReadPdnMoveText(only, "{ no moves at all } 1-0");
  EXPECT_EQ(only.CommentsAft[0], "no moves at all");
  // Comments in a row before a later move are joined by a blank.
  TGame later = Fresh(gtInternational);
  ReadPdnMoveText(later, "1. 32-28 $1 {one} {two} 18-23");
  EXPECT_EQ(later.CommentsBef[FirstChild(later, FirstChild(later, 0))], "one two");
}

TEST(PdnMoveText, ResultsAnywhereAndWithBlanks) {
  TGame game = Fresh(gtInternational);
  TMoveTextResult r = ReadPdnMoveText(game, "1. 32-28 2-0 18-23 ( 1-1 ) 1/2-1/2 0-0 1 - 0");
  EXPECT_TRUE(r.complete) << r.reason;
  EXPECT_EQ(Line(game), (Moves{"32-28", "18-23"}));
  TGame spaced = Fresh(gtRussian);
  r = ReadPdnMoveText(spaced, "1. c3-d4 1/2 : 1/2");
  EXPECT_TRUE(r.complete) << r.reason;
}

TEST(PdnMoveText, AnUnreadableMoveStopsWithTheRestKeptAsAComment) {
  TGame game = Fresh(gtInternational);
  const TMoveTextResult r = ReadPdnMoveText(game, "1. 32-28 18-23 2. 32-27 { why } 12-18 ( 3. x ) 1-0");
  EXPECT_FALSE(r.complete);
  EXPECT_NE(r.reason.find("32-27"), std::string::npos) << r.reason;
  EXPECT_EQ(Line(game), (Moves{"32-28", "18-23"}));
  const int last = FirstChild(game, FirstChild(game, 0));
  EXPECT_EQ(game.CommentsAft[last], "* 32-27 { why } 12-18 ( 3. x ) 1-0");
}

TEST(PdnMoveText, CapturesInEveryFormAndRebuiltFromTheirEnds) {
  // c3 takes d4 and f6, landing on e5 and g7.
  const auto fresh = [] { return SetUpGame(gtRussian, {10}, {14, 23, 32}, TDColor::white); };
  for (const char* text : {"c3:g7", "c3xg7", "c3-g7", "c3:e5:g7", "c3xe5xg7", "c3xg7xd4xf6", "c3g7", "c:g7",
                           "cg7", "C3:G7", "c3:f4:g7", "c3x?xg7"}) {
    TGame game = fresh();
    const TMoveTextResult r = ReadPdnMoveText(game, text);
    EXPECT_TRUE(r.complete) << text << ": " << r.reason;
    EXPECT_EQ(Line(game), (Moves{"c3-e5-g7"})) << text;
  }
  TGame game = fresh();
  EXPECT_FALSE(ReadPdnMoveText(game, "c3-d4").complete);  // a capture is due
}

TEST(PdnMoveText, NumericCapturesWithEveryLandingSquare) {
  TGame game = Fresh(gtEnglish);
  const TMoveTextResult r = ReadPdnMoveText(game, "1. 11-15 22-18 2. 15x22 25x18 3. 12-16 18-14 4. 9x18 23x14 *");
  EXPECT_TRUE(r.complete) << r.reason;
  EXPECT_EQ(Line(game).size(), 8u);
}

TEST(PdnMoveText, PoolMovesInChessNames) {
  testing::SettingsScope scope;
  PoolChessNotation = false;
  TGame game = Fresh(gtPool);
  const TMoveTextResult r = ReadPdnMoveText(game, "1. c3-d4 f6-g5 2. 9-14");
  EXPECT_TRUE(r.complete) << r.reason;
  // c3-d4 and f6-g5 in Pool's own numbers, then a move in them.
  EXPECT_EQ(Line(game), (Moves{"11-15", "22-17", "9-14"}));
}

// A Pool file reads whichever notation setting wrote it and whichever is on.
TEST(PdnMoveText, PoolFilesReadWithEitherNotationSetting) {
  testing::SettingsScope scope;
  for (const bool chess : {false, true}) {
    PoolChessNotation = chess;
    for (const char* text : {"1. c3-d4 f6-g5 2. b2-c3", "1. 11-15 22-17 2. 8-11"}) {
      SCOPED_TRACE(std::string(text) + (chess ? ", chess names on" : ", chess names off"));
      TGame game = Fresh(gtPool);
      const TMoveTextResult r = ReadPdnMoveText(game, text);
      EXPECT_TRUE(r.complete) << r.reason;
      EXPECT_EQ(r.moves, 3);
    }
  }
}

TEST(PdnMoveText, BallotOpeningChangesTheStartPosition) {
  TGame game = Fresh(gtRussian);
  const TMoveTextResult r = ReadPdnMoveText(game, "c3>d4 f6>g5 1. d4-c5 b6:d4");
  EXPECT_TRUE(r.complete) << r.reason;
  TBrd start;
  ASSERT_TRUE(UnpackBoard(game.StartBoard, start));
  EXPECT_EQ(start[10], Empty);      // c3
  EXPECT_EQ(start[14], WhiteMan);   // d4
  EXPECT_EQ(start[23], Empty);      // f6
  EXPECT_EQ(start[20], BlackMan);   // g5
  EXPECT_EQ(Line(game).size(), 2u);

  TGame half = Fresh(gtRussian);
  ReadPdnMoveText(half, "- f6>g5");
  ASSERT_TRUE(UnpackBoard(half.StartBoard, start));
  EXPECT_EQ(start[10], WhiteMan);
  EXPECT_EQ(start[20], BlackMan);
  EXPECT_EQ(start[23], Empty);

  // Not a ballot: one token only, or not square names.
  TGame none = Fresh(gtRussian);
  EXPECT_FALSE(ReadPdnMoveText(none, "c3>d4 1. e3-f4").complete);
  EXPECT_EQ(none.StartBoard, Fresh(gtRussian).StartBoard);
  TMoveTextOptions options;
  options.readBallot = false;
  TGame off = Fresh(gtRussian);
  EXPECT_FALSE(ReadPdnMoveText(off, "c3>d4 f6>g5", options).complete);
}

TEST(PdnMoveText, MovesAlreadyInTheTreeAreFollowed) {
  TGame game = Fresh(gtInternational);
  ReadPdnMoveText(game, "1. 32-28 18-23");
  const int slots = game.SlotCount();
  const TMoveTextResult r = ReadPdnMoveText(game, "1. 32-28 18-23 2. 37-32 { new }");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(game.SlotCount(), slots + 1);
  EXPECT_EQ(Line(game), (Moves{"32-28", "18-23", "37-32"}));
}

TEST(PdnMoveText, ATreeWithoutRoomStopsTheReading) {
  // Two kings that move to and fro: more moves than a game can hold.
  TGame game = SetUpGame(gtRussian, {}, {}, TDColor::white, {1}, {24});
  std::string text;
  for (int i = 0; i < 16001; ++i) text += "a1-b2 h6-g5 b2-a1 g5-h6 ";
  const TMoveTextResult r = ReadPdnMoveText(game, text);
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(r.moves, MaxMoveSlots);
  EXPECT_EQ(r.reason, AddStatusText(TAddStatus::noFreePlace));
  EXPECT_EQ(game.SlotCount(), MaxMoveSlots + 1);
}

}  // namespace
}  // namespace kestrel
