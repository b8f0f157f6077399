// Games written to a database and read back: every stored part of a game,
// the header fields derived on writing, the placement of blobs, and the
// adjustments made on loading.
#include <gtest/gtest.h>

#include <random>

#include "database/ballot_description.h"
#include "database/derived_header.h"
#include "database/load_options.h"
#include "database/names_file.h"
#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

class GameStorageTest : public ::testing::Test {
 protected:
  void SetUp() override { FreshDatabase(dir, db); }
  void TearDown() override { LoadRusAsPool = false; }

  // Writes and reads back through a reopened database.
  TGame RoundTrip(TGame& game) {
    const TGame before = game;
    const int32_t n = WriteDBGame(game, 0, db, true);
    EXPECT_EQ(n, db.DBSize);
    EXPECT_TRUE(OpenDatabase(dir.File("games.abd"), db, false).ok());
    TGame back;
    std::string message;
    EXPECT_TRUE(ReadDBGame(db, n, false, back, &message)) << message;
    ExpectSameMoves(before, back);
    ExpectSameHeader(game.Header, back.Header);
    EXPECT_EQ(back.DBGameNo, n);
    EXPECT_EQ(back.DBName, db.DBNameMain);
    return back;
  }

  TempDir dir;
  TKestrelDB db;
};

TEST_F(GameStorageTest, RandomGamesOfEveryTypeWithNamesAndHeaders) {
  std::mt19937 rng(3);
  for (int type = 1; type <= GameTypeCount; ++type) {
    TGame game = RandomGame(type, rng, {.legal = false, .additions = 80});
    game.AnnotatorName = "Annotator";
    game.Header.White.Rating = 2500;
    game.Header.Black.Title = 3;
    game.Header.Round = 4;
    game.Header.Subround = 2;
    game.Header.NumerationFrom = 10;
    game.Header.Opening = 77;
    game.Header.Medals = 5;
    const TGame back = RoundTrip(game);
    EXPECT_EQ(back.WhiteName, game.WhiteName);
    EXPECT_EQ(back.BlackName, game.BlackName);
    EXPECT_EQ(back.AnnotatorName, "Annotator");
    EXPECT_EQ(back.Tournament, game.Tournament);
    EXPECT_EQ(back.Site, game.Site);
    EXPECT_EQ(back.Header.TypeOfGame, type);
  }
}

TEST_F(GameStorageTest, SetUpPositionsWithBlackToMove) {
  TGame game;
  TBrd board;
  board[5] = WhiteKing;
  board[20] = BlackMan;
  board[21] = BlackKing;
  ASSERT_TRUE(SetUpPosition(game, board, TDColor::black, 25, gtBrazilian));
  AddMove(game, 0, Step(20, 16));
  const TGame back = RoundTrip(game);
  EXPECT_EQ(back.Header.FirstMove, TDColor::black);
  EXPECT_EQ(back.Header.NumerationFrom, 48);
  EXPECT_EQ(back.Header.Flags & 3, hfSetUp);
}

TEST_F(GameStorageTest, DerivedFieldsOfTheHeader) {
  // Main line of 5 plies (3 full moves), 6 alternatives to its second move,
  // glyph + two comments (3 items, few characters), full set-up of 12
  // against 12.
  TGame game = LineGame(gtRussian, 5);
  for (int i = 0; i < 6; ++i) AddMove(game, 1, Step(30 - i, 29 - i));
  game.Moves[1].comm = 2;
  game.CommentsBef[2] = "x";
  game.CommentsAft[3] = "y";
  TBrd board = InitialPosition(gtRussian).b;
  std::swap(board[12], board[13]);
  PackBoard(board, game.StartBoard);
  game.Header.Flags = hfDeleted | 0x40;  // bit 6 is not kept, bit 7 is
  game.Header.Crc = 99;
  game.Header.ShowFrom = 3;
  WriteDBGame(game, 0, db, false);
  EXPECT_EQ(game.Header.GameLength, 3);
  EXPECT_EQ(game.Header.Crc, 0);
  EXPECT_EQ(game.Header.Flags, hfDeleted | hfFullSetUp | hfVariations | hfFewComments);
  EXPECT_EQ(game.Header.ShowFrom, 3);
  for (int s = 1; s <= 5; ++s) EXPECT_TRUE(game.Moves[s].main) << s;

  // Long comments and a single side line: only its first move counts, the
  // later ones are the main continuations of their own parents. A viewing
  // start on a free slot.
  game.CommentsAft[3] = std::string(301, 'c');
  for (int s = 7; s <= 11; ++s) DeleteSubtree(game, s);
  for (int node = 6, i = 0; i < 4; ++i) node = AddMove(game, node, Step(1 + i, 5 + i)).slot;
  game.Header.ShowFrom = 11;
  ASSERT_TRUE(game.Moves[11].free);
  game.Header.Flags = 0;
  WriteDBGame(game, 1, db, false);
  EXPECT_EQ(game.Header.Flags, hfFullSetUp | hfFewVariations | hfComments);
  EXPECT_EQ(game.Header.ShowFrom, 0);

  // Any other set-up, and the standard start with no annotation at all.
  TGame plain = LineGame(gtInternational, 600);
  WriteDBGame(plain, 0, db, false);
  EXPECT_EQ(plain.Header.GameLength, 255);
  EXPECT_EQ(plain.Header.Flags, 0);
  TBrd few;
  few[1] = WhiteMan;
  few[50] = BlackMan;
  PackBoard(few, plain.StartBoard);
  WriteDBGame(plain, 2, db, false);
  EXPECT_EQ(plain.Header.Flags, hfSetUp);
}

TEST_F(GameStorageTest, MainFlagsSetOnWritingReachTheBlobNextTime) {
  TGame game = LineGame(gtRussian, 3);
  game.Moves[2].main = false;  // still the only child, so on the main line
  WriteDBGame(game, 0, db, false);
  EXPECT_TRUE(game.Moves[2].main);
  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_FALSE(back.Moves[2].main);
  WriteDBGame(game, 1, db, false);
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_TRUE(back.Moves[2].main);
}

TEST_F(GameStorageTest, AReplacedGameGoesToTheEndAndLeavesItsOldMovesAlone) {
  TGame a = LineGame(gtRussian, 10);
  TGame b = LineGame(gtRussian, 4);
  WriteDBGame(a, 0, db, false);
  WriteDBGame(b, 0, db, false);
  EXPECT_EQ(a.Header.Offset, 1);
  EXPECT_EQ(b.Header.Offset, 1 + a.Header.Length);
  const std::vector<uint8_t> before = ReadBytes(db.DBNameMain);

  // Shrinking, the same length, growing: every version at the end, and the
  // bytes written before never change.
  a.CommentsAft[0] = "";
  DeleteSubtree(a, 9);
  a.Header.LastMove = 8;
  for (const std::string comment : {"", "", "a longer comment than before"}) {
    a.CommentsAft[0] = comment;
    const int64_t size = db.DBMain.Size();
    WriteDBGame(a, 1, db, false);
    EXPECT_EQ(a.Header.Offset, size);
    EXPECT_EQ(db.DBMain.Size(), size + a.Header.Length);
    const std::vector<uint8_t> now = ReadBytes(db.DBNameMain);
    ASSERT_GE(now.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), now.begin()));
  }

  // Both games still read whole, the other one untouched.
  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  ExpectSameMoves(a, back);
  ASSERT_TRUE(ReadDBGame(db, 2, false, back));
  ExpectSameMoves(b, back);
  EXPECT_EQ(db.DBSize, 2);
}

TEST_F(GameStorageTest, GameNumbersOutsideTheDatabase) {
  TGame game = LineGame(gtRussian, 2);
  EXPECT_THROW(WriteDBGame(game, 1, db, false), TDatabaseError);
  EXPECT_THROW(WriteDBGame(game, -1, db, false), TDatabaseError);
  WriteDBGame(game, 0, db, false);
  EXPECT_THROW(WriteDBGame(game, 2, db, false), TDatabaseError);
  TGame back;
  std::string message;
  EXPECT_FALSE(ReadDBGame(db, 0, false, back, &message));
  EXPECT_FALSE(ReadDBGame(db, 2, false, back, &message));
  EXPECT_FALSE(message.empty());
  TQuickGameHeader quick;
  EXPECT_FALSE(ReadQuickHeader(db, 2, quick));
}

TEST_F(GameStorageTest, RussianLoadsAsPoolWhenAsked) {
  TGame game = LineGame(gtRussian, 4);
  WriteDBGame(game, 0, db, false);
  LoadRusAsPool = true;
  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_EQ(back.Header.TypeOfGame, gtPool);
  ASSERT_TRUE(ReadDBGame(db, 1, true, back));
  EXPECT_EQ(back.Header.TypeOfGame, gtPool);
  TQuickGameHeader quick;
  ASSERT_TRUE(ReadQuickHeader(db, 1, quick));
  EXPECT_EQ(quick.Header.TypeOfGame, gtRussian);  // the record keeps its type
}

TEST_F(GameStorageTest, BallotOpeningIsDescribed) {
  TBrd board = InitialPosition(gtRussian).b;
  std::swap(board[10], board[14]);  // c3-d4
  std::swap(board[23], board[20]);  // f6-g5
  TGame game;
  NewGame(game, gtRussian);
  PackBoard(board, game.StartBoard);
  WriteDBGame(game, 0, db, false);

  TGame unmoved;
  NewGame(unmoved, gtRussian);
  TBrd kings = InitialPosition(gtRussian).b;
  kings[1] = WhiteKing;
  PackBoard(kings, unmoved.StartBoard);
  WriteDBGame(unmoved, 0, db, false);

  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_EQ(back.CommentsBef[0], "c3>d4 f6>g5");
  ASSERT_TRUE(ReadDBGame(db, 2, false, back));
  EXPECT_EQ(back.CommentsBef[0], "");  // a king: no ballot
  TGame kept;
  ASSERT_TRUE(ReadDBGame(db, 1, true, kept));
  EXPECT_EQ(kept.CommentsBef[0], "");  // only when the record is not kept
}

TEST(BallotDescription, OneMovePerSideAtMost) {
  TBrd board = InitialPosition(gtRussian).b;
  EXPECT_EQ(BallotDescription(board), "---- ----");
  std::swap(board[23], board[20]);  // f6-g5 only
  EXPECT_EQ(BallotDescription(board), "---- f6>g5");
  std::swap(board[9], board[13]);  // a3-b4
  EXPECT_EQ(BallotDescription(board), "a3>b4 f6>g5");
  std::swap(board[10], board[14]);  // and c3-d4: two white moves
  EXPECT_EQ(BallotDescription(board), "");
  board = InitialPosition(gtRussian).b;
  board[21] = Empty;  // eleven black men
  EXPECT_EQ(BallotDescription(board), "");
}

TEST_F(GameStorageTest, UnsupportedGameTypeReadsAsAnEmptyGame) {
  TGame game = LineGame(gtRussian, 4);
  game.WhiteName = "Somebody";
  WriteDBGame(game, 0, db, false);
  TGameHeader h = game.Header;
  h.TypeOfGame = 13;
  WriteHeaderRecord(db, 1, h);
  TGame back = LineGame(gtRussian, 2);
  std::string message;
  EXPECT_TRUE(ReadDBGame(db, 1, false, back, &message));
  EXPECT_EQ(message, UnsupportedGameTypeText);
  EXPECT_EQ(back.Header.LastMove, 0);
  EXPECT_TRUE(back.WhiteName.empty());
}

TEST_F(GameStorageTest, QuickHeadersKeepTheStoredMoves) {
  TGame game = LineGame(gtRussian, 6);
  game.WhiteName = "A";
  WriteDBGame(game, 0, db, false);
  TQuickGameHeader quick;
  ASSERT_TRUE(ReadQuickHeader(db, 1, quick));
  EXPECT_EQ(quick.WhiteName, "A");
  quick.WhiteName = "New player";
  quick.Site = "Kyiv";
  quick.Header.Result = 3;
  quick.Header.Offset = 1 << 30;  // a header editor has no say over these
  quick.Header.Length = 5;
  quick.Header.LastMove = 1;
  WriteQuickHeader(db, 1, quick);
  EXPECT_FALSE(db.DBChanged);  // the names file is written at once
  EXPECT_NE(ReadText(db.DBNameNames).find("^New player\r\n"), std::string::npos);

  TGame back;
  ASSERT_TRUE(ReadDBGame(db, 1, false, back));
  EXPECT_EQ(back.WhiteName, "New player");
  EXPECT_EQ(back.Site, "Kyiv");
  EXPECT_EQ(back.Header.Result, 3);
  ExpectSameMoves(game, back);
  EXPECT_THROW(WriteQuickHeader(db, 2, quick), TDatabaseError);
}

TEST_F(GameStorageTest, KeepRecordReadsIntoAGameWithMoreSlots) {
  TGame big = LineGame(gtRussian, 30);
  TGame small = LineGame(gtRussian, 3);
  WriteDBGame(big, 0, db, false);
  WriteDBGame(small, 0, db, false);
  TGame scratch;
  ASSERT_TRUE(ReadDBGame(db, 1, true, scratch));
  ASSERT_TRUE(ReadDBGame(db, 2, true, scratch));
  ExpectSameMoves(small, scratch);
  EXPECT_EQ(MainLineLength(scratch), 3);
  for (int s = 4; s < scratch.SlotCount(); ++s) EXPECT_TRUE(scratch.Moves[s].free) << s;
}

TEST_F(GameStorageTest, DamagedTreesInMemoryAreNotWritten) {
  TGame game = LineGame(gtRussian, 3);
  game.Moves[2].parent = 3;  // a cycle 2 <-> 3
  EXPECT_THROW(WriteDBGame(game, 0, db, false), TDatabaseError);
  game.Moves[2].parent = 1;
  game.Header.TypeOfGame = 0;
  game.WhiteName = "Nobody";
  EXPECT_THROW(WriteDBGame(game, 0, db, false), TDatabaseError);
  EXPECT_EQ(db.DBNames.Find("Nobody"), -1);
  EXPECT_EQ(db.DBSize, 0);
  EXPECT_EQ(db.DBMain.Size(), 1);
}

}  // namespace
}  // namespace kestrel
