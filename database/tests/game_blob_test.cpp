// The byte layout of game blobs, both formats, and the decoder's refusal of
// damaged data.
#include <gtest/gtest.h>

#include <random>

#include "database/game_blob.h"
#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;
using Bytes = std::vector<uint8_t>;

Bytes Encode(const TGame& game) {
  Bytes out;
  EncodeGameBlob(game, out);
  return out;
}

// A decoded copy of `blob` under the header of `like`.
bool Decode(const Bytes& blob, int version, const TGame& like, TGame& out, std::string* why = nullptr) {
  NewGame(out, like.Header.TypeOfGame);
  out.Header.LastMove = like.Header.LastMove;
  std::string error;
  const bool ok = DecodeGameBlob(blob, version, out, error);
  if (why) *why = error;
  return ok;
}

TEST(GameBlob, EmptyGameIsThreeZeroBytes) {
  TGame game;
  NewGame(game, gtRussian);
  EXPECT_EQ(Encode(game), (Bytes{0x00, 0x00, 0x00}));
}

TEST(GameBlob, SmallGameByteForByte) {
  TGame game;
  NewGame(game, gtRussian);
  game.CommentsAft[0] = "Hi";
  const int s1 = AddMove(game, 0, Step(10, 14)).slot;  // c3-d4
  TMove reply = Step(23, 20);                          // f6-g5
  reply.flags = mfUniqueTarget;
  const int s2 = AddMove(game, s1, reply).slot;
  game.Moves[s2].comm = 0x12;
  game.CommentsAft[s2] = "ok";
  const Bytes expected = {0x00, 0x00, 0x02, 'H', 'i',
                          0x98, 0x00, 0x00, 10, 14,
                          0xB8, 0x00, 0x12, 0x00, 0x00, 0x00, 0x02, 'o', 'k', 0x01, 0x02, 23, 20};
  EXPECT_EQ(Encode(game), expected);
}

TEST(GameBlob, ParentOf255IsShortAnd256TakesFourBytes) {
  const TGame game = LineGame(gtRussian, 257);
  const Bytes blob = Encode(game);
  ASSERT_EQ(blob.size(), 3u + 5 * 256 + 8);
  const std::size_t slot256 = 3 + 5 * 255;
  EXPECT_EQ(blob[slot256], 0x98);
  EXPECT_EQ(blob[slot256 + 1], 0xFF);
  const std::size_t slot257 = slot256 + 5;
  EXPECT_EQ(blob[slot257], 0x88);
  EXPECT_EQ((Bytes{blob.begin() + slot257 + 1, blob.begin() + slot257 + 5}), (Bytes{0x00, 0x00, 0x01, 0x00}));
  TGame back;
  ASSERT_TRUE(Decode(blob, 30, game, back));
  ExpectSameMoves(game, back);
}

TEST(GameBlob, CaptureCountsUpToSevenInTheFlagByte) {
  TGame game;
  NewGame(game, gtInternational);
  const TMove seven = Capture({1, 2, 3, 4, 5, 6, 7, 8}, {11, 12, 13, 14, 15, 16, 17});
  const TMove eight = Capture({1, 2, 3, 4, 5, 6, 7, 8, 9}, {11, 12, 13, 14, 15, 16, 17, 18});
  const int s1 = AddMove(game, 0, seven).slot;
  AddMove(game, s1, eight);
  const Bytes blob = Encode(game);
  // slot 1: flag, parent, flags, 15 squares
  EXPECT_EQ(blob[3] & 0x0F, 0x0F);
  const std::size_t slot2 = 3 + 3 + 15;
  ASSERT_EQ(blob.size(), slot2 + 4 + 17);
  EXPECT_EQ(blob[slot2] & 0x0F, 0x00);
  EXPECT_EQ(blob[slot2 + 1], 0x01);  // parent
  EXPECT_EQ(blob[slot2 + 2], 8);     // count byte
  EXPECT_EQ(blob[slot2 + 4], 1);     // first square
  EXPECT_EQ(blob.back(), 9);         // last landing square
  TGame back;
  ASSERT_TRUE(Decode(blob, 30, game, back));
  ExpectSameMoves(game, back);
}

TEST(GameBlob, GlyphOnlyAnnotationHasTwoEmptyStrings) {
  TGame game;
  NewGame(game, gtRussian);
  const int s = AddMove(game, 0, Step(9, 13)).slot;
  game.Moves[s].comm = 0x31;
  EXPECT_EQ(Encode(game), (Bytes{0, 0, 0, 0xB8, 0x00, 0x31, 0, 0, 0, 0, 0x00, 0x00, 9, 13}));
}

TEST(GameBlob, SetUpPositionIsStoredPacked) {
  TGame game;
  NewGame(game, gtRussian);
  TBrd board;
  board[1] = WhiteKing;
  board[32] = BlackMan;
  PackBoard(board, game.StartBoard);
  const Bytes blob = Encode(game);
  ASSERT_EQ(blob.size(), 1u + 24 + 2);
  EXPECT_EQ(blob[0], 1);
  EXPECT_EQ((Bytes{blob.begin() + 1, blob.begin() + 25}), (Bytes{game.StartBoard.begin(), game.StartBoard.end()}));
  TGame back;
  ASSERT_TRUE(Decode(blob, 30, game, back));
  EXPECT_EQ(back.StartBoard, game.StartBoard);
}

TEST(GameBlob, LongCommentsAreCutToWhatACountedStringHolds) {
  TGame game;
  NewGame(game, gtRussian);
  game.CommentsAft[0] = std::string(70000, 'a');
  const Bytes blob = Encode(game);
  ASSERT_EQ(blob.size(), 1u + 2 + 65535);
  EXPECT_EQ(blob[1], 0xFF);
  EXPECT_EQ(blob[2], 0xFF);
}

TEST(GameBlob, RandomTreesOfEveryTypeRoundTrip) {
  std::mt19937 rng(7);
  for (int type = 1; type <= GameTypeCount; ++type)
    for (int k = 0; k < 5; ++k) {
      const TGame game = RandomGame(type, rng, {.legal = false, .additions = 40 + 30 * k});
      TGame back;
      std::string why;
      ASSERT_TRUE(Decode(Encode(game), 30, game, back, &why)) << why;
      ExpectSameMoves(game, back);
    }
}

TEST(GameBlob, EveryTruncationIsRefused) {
  std::mt19937 rng(11);
  const TGame game = RandomGame(gtInternational, rng, {.legal = false, .additions = 60});
  const Bytes blob = Encode(game);
  for (std::size_t n = 0; n < blob.size(); ++n) {
    TGame back;
    EXPECT_FALSE(Decode(Bytes(blob.begin(), blob.begin() + n), 30, game, back)) << n;
  }
}

TEST(GameBlob, ImpossibleValuesAreRefused) {
  TGame game;
  NewGame(game, gtRussian);
  game.Header.LastMove = 1;
  TGame back;
  std::string why;
  // 26 captured pieces
  EXPECT_FALSE(Decode({0, 0, 0, 0x90, 0, 26, 0, 1, 2}, 30, game, back, &why));
  // a parent that is no slot, a move that is its own parent
  EXPECT_FALSE(Decode({0, 0, 0, 0x98, 5, 0, 1, 2}, 30, game, back));
  EXPECT_FALSE(Decode({0, 0, 0, 0x98, 1, 0, 1, 2}, 30, game, back));
  // a packed byte above 124 in the start position
  Bytes start{1};
  start.insert(start.end(), 24, 125);
  start.insert(start.end(), {0, 0, 0x98, 0, 0, 1, 2});
  EXPECT_FALSE(Decode(start, 30, game, back));
  // far more slots than the bytes could hold
  game.Header.LastMove = 60000;
  EXPECT_FALSE(Decode({0, 0, 0, 0x98, 0, 0, 1, 2}, 30, game, back, &why));
  game.Header.LastMove = MaxMoveSlots + 1;
  EXPECT_FALSE(Decode(Bytes(6 * (MaxMoveSlots + 1), 0), 30, game, back, &why));
  // two moves that are each other's parent
  game.Header.LastMove = 2;
  EXPECT_FALSE(Decode({0, 0, 0, 0x98, 2, 0, 1, 2, 0x98, 1, 0, 2, 3}, 30, game, back, &why));
  EXPECT_NE(why.find("tree"), std::string::npos) << why;
  // the same bytes with sound parents are accepted
  EXPECT_TRUE(Decode({0, 0, 0, 0x98, 0, 0, 1, 2, 0x98, 1, 0, 2, 3}, 30, game, back, &why)) << why;
}

TEST(GameBlob, OlderFormatHasNoCommentNoFlagsAndTwoByteParents) {
  // International set-up position in the 17-byte packing, then two slots:
  // the second with a long parent of two bytes and an annotation.
  TBrd board;
  board[1] = WhiteMan;
  board[26] = BlackKing;
  board[50] = BlackMan;
  Bytes blob{1};
  for (int j = 0; j < 17; ++j) {
    int byte = 0, weight = 1;
    for (int d = 0; d < 3; ++d, weight *= 5) {
      const int square = 3 * j + d + 1;
      byte += weight * ((square <= 50 ? board[square] : 0) + 2);
    }
    blob.push_back(static_cast<uint8_t>(byte));
  }
  blob.insert(blob.end(), {0x98, 0x00, 1, 6});                                 // slot 1: 1-6 from the start
  blob.insert(blob.end(), {0xA8, 0x00, 0x05, 0, 1, 'a', 0, 0, 0x00, 0x01, 26, 21});  // slot 2, parent 1 in 2 bytes
  TGame like;
  NewGame(like, gtInternational);
  like.Header.LastMove = 2;
  TGame back;
  std::string why;
  ASSERT_TRUE(Decode(blob, 25, like, back, &why)) << why;
  TPackedBoardNew expected;
  PackBoard(board, expected);
  EXPECT_EQ(back.StartBoard, expected);
  EXPECT_TRUE(back.CommentsAft[0].empty());
  EXPECT_EQ(back.Moves[1].parent, 0);
  EXPECT_EQ(back.Moves[2].parent, 1);
  EXPECT_EQ(back.Moves[2].comm, 5);
  EXPECT_EQ(back.CommentsBef[2], "a");
  EXPECT_EQ(back.Moves[2].mv[0], 26);
  EXPECT_EQ(back.Moves[2].mv[1], 21);
  EXPECT_EQ(back.Moves[2].flags, 0);
  // The same bytes read as version 30 do not make a game.
  EXPECT_FALSE(Decode(blob, 30, like, back));
}

TEST(GameBlob, OlderFormatKeeps24BytesFor72Squares) {
  TBrd board;
  board[72] = BlackMan;
  board[1] = WhiteMan;
  TPackedBoardNew packed;
  PackBoard(board, packed);
  Bytes blob{1};
  blob.insert(blob.end(), packed.begin(), packed.end());
  TGame like;
  NewGame(like, gtCanadian);
  TGame back;
  ASSERT_TRUE(Decode(blob, 22, like, back));
  EXPECT_EQ(back.StartBoard, packed);
}

}  // namespace
}  // namespace kestrel
