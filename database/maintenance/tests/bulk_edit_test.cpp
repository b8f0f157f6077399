// Headers Set with its patterns, removing comments and variations, Append.
#include <gtest/gtest.h>

#include "database/maintenance/bulk_edit.h"
#include "database/maintenance/game_append.h"
#include "database/list_texts.h"
#include "game/glyphs.h"
#include "game/navigation.h"
#include "maintenance_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

TEST(HeadersSet, PatternsAndFieldsAndOneNamesWrite) {
  TempDir dir;
  TKestrelDB db;
  FillDatabase(dir, db, 5, 51);
  THeaderFields f;
  std::string error;
  for (const char* a : {"Tournament=Round [$]", "Site=Game [#] at [@]", "year=1999", "Result=2"})
    ASSERT_TRUE(ParseHeaderField(a, f, error)) << error;
  for (const char* bad : {"Colour=white", "Month=13", "Result=6", "Year=x", "White"})
    EXPECT_FALSE(ParseHeaderField(bad, f, error)) << bad;
  TQuickGameHeader before;
  ASSERT_TRUE(ReadQuickHeader(db, 4, before));
  const auto namesBefore = std::filesystem::last_write_time(db.DBNameNames);
  EXPECT_EQ(SetHeaders(db, {{1, 2}, {2, 4}, {3, 5}}, f), 3);
  const int games[] = {2, 4, 5};
  for (int k = 0; k < 3; ++k) {
    TQuickGameHeader q;
    ASSERT_TRUE(ReadQuickHeader(db, games[k], q));
    EXPECT_EQ(q.Tournament, "Round " + std::to_string(k + 1));
    EXPECT_EQ(q.Site, "Game " + std::to_string(games[k]) + " at " + std::to_string(k + 1));
    EXPECT_EQ(q.Header.Date.Year, 1999);
    EXPECT_EQ(q.Header.Result, 2);
    if (games[k] == 4) {
      EXPECT_EQ(q.WhiteName, before.WhiteName);
      EXPECT_EQ(q.Header.Offset, before.Header.Offset);
      EXPECT_EQ(q.Header.Date.Month, before.Header.Date.Month);
    }
  }
  // The new names reached the names file with the command.
  TKestrelDB again;
  ASSERT_TRUE(OpenDatabase(db.DBNameIdx, again, false, TDBAccess::readOnly).ok());
  TQuickGameHeader q;
  ASSERT_TRUE(ReadQuickHeader(again, 5, q));
  EXPECT_EQ(q.Tournament, "Round 3");
  (void)namesBefore;
}

TEST(RemoveVariationsAndComments, OnlyTheMainLineAndGlyphsStay) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  TGame g = LineGame(gtRussian, 4);  // slots 1..4
  AddMove(g, 1, Step(20, 24));       // a side line at the second move
  AddMove(g, 5, Step(24, 28));
  g.CommentsAft[2] = "main comment";
  g.CommentsBef[5] = "side comment";
  g.CommentsAft[0] = "game comment";
  g.Moves[3].comm = 2;
  WriteDBGame(g, 0, db, false);
  RemoveVariations(db, {1});
  TGame v;
  ASSERT_TRUE(ReadDBGame(db, 1, false, v));
  EXPECT_EQ(v.Header.LastMove, 6);
  EXPECT_TRUE(v.Moves[5].free);
  EXPECT_TRUE(v.Moves[6].free);
  EXPECT_EQ(MainLineLength(v), 4);
  EXPECT_EQ(v.CommentsAft[2], "main comment");
  RemoveComments(db, {1});
  ASSERT_TRUE(ReadDBGame(db, 1, false, v));
  EXPECT_EQ(v.CommentsAft[2], "");
  EXPECT_EQ(v.CommentsAft[0], "game comment");
  EXPECT_EQ(MoveGlyphCode(v.Moves[3].comm), 2);
}

TEST(Append, MergesAtTheMatchingPositionOrItsMirror) {
  // Target: 4 moves of a Russian line; source: the same first two moves
  // then two of its own, so it joins after move 2.
  TGame target = LineGame(gtRussian, 4);
  TGame source = LineGame(gtRussian, 2);
  AddMove(source, 2, Step(30, 26));
  source.WhiteName = "W";
  source.BlackName = "B";
  source.Tournament = "Cup";
  source.Header.Result = 2;
  source.Header.Date.Year = 1990;
  const TAppendResult r = AppendGameInto(target, source, 0);
  ASSERT_TRUE(r.added);
  EXPECT_FALSE(r.reversed);
  EXPECT_EQ(target.Moves[r.lastNode].parent, 2);
  EXPECT_EQ(target.CommentsAft[r.lastNode], std::string(ResultText(2, 0)) + " W - B, Cup, 1990");

  // A game that starts from the mirror image of the position after move 2.
  TBoard at;
  TDColor side;
  ASSERT_TRUE(PositionAt(target, 2, at, side));
  TBrd mirrored = at.b;
  FlipBoard(mirrored, gtRussian);
  TGame reversed;
  NewGame(reversed, gtRussian);
  PackBoard(mirrored, reversed.StartBoard);
  AddMove(reversed, 0, Step(8, 12));
  const TAppendResult m = AppendGameInto(target, reversed, 0);
  ASSERT_TRUE(m.added);
  EXPECT_TRUE(m.reversed);
  EXPECT_EQ(target.Moves[m.lastNode].mv[0], 32 + 1 - 8);
  EXPECT_EQ(target.Moves[m.lastNode].parent, 2);
  const std::string& note = target.CommentsAft[m.lastNode];
  EXPECT_EQ(note.substr(note.size() - 11), " [Reversed]");

  TGame elsewhere;
  NewGame(elsewhere, gtRussian);
  TBrd empty{};
  empty[5] = 1;
  PackBoard(empty, elsewhere.StartBoard);
  EXPECT_FALSE(AppendGameInto(target, elsewhere, 0).added);
}

}  // namespace
}  // namespace kestrel
