// The replay check against games whose legality is known: random legal
// trees pass, and one spoiled move is found where it stands.
#include <gtest/gtest.h>

#include <random>

#include "database/game_replay_check.h"
#include "db_test_util.h"
#include "game/navigation.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

// A random tree of legal moves with side lines.
TGame LegalTree(int type, std::mt19937& rng, int moves) {
  TGame game;
  NewGame(game, type);
  std::vector<int> nodes{0};
  for (int i = 0; i < moves; ++i) {
    const int node = rng() % 4 != 0 ? nodes.back() : nodes[rng() % nodes.size()];
    TBoard board;
    TDColor side;
    if (!PositionAt(game, node, board, side)) continue;
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(board, side, list, type, count);
    if (count == 0) continue;
    const TAddResult r = AddMove(game, node, list[rng() % count]);
    if (r.ok()) nodes.push_back(r.slot);
  }
  return game;
}

TEST(GameReplayCheck, LegalTreesPassAndASpoiledMoveIsFound) {
  std::mt19937 rng(7);
  for (int type = 1; type <= GameTypeCount; ++type) {
    SCOPED_TRACE(GameTypeNames[type]);
    for (int round = 0; round < 10; ++round) {
      TGame game = LegalTree(type, rng, 60);
      ASSERT_TRUE(CheckGameReplay(game).ok) << CheckGameReplay(game).reason;
      ASSERT_GT(game.Header.LastMove, 1);
      const int slot = 1 + static_cast<int>(rng() % game.Header.LastMove);
      if (!game.IsNode(slot)) continue;
      TMove& move = game.Moves[slot];
      const TMove kept = move;
      // Off the board, then a start square that holds no piece of the mover.
      move.mv[0] = static_cast<uint8_t>(GameTypes[type].SquareCount + 1);
      TReplayCheck check = CheckGameReplay(game);
      EXPECT_FALSE(check.ok);
      EXPECT_EQ(check.slot, slot);
      EXPECT_NE(check.reason.find("off the board"), std::string::npos) << check.reason;
      move = kept;
      move.mv[0] = move.To() != move.From() ? static_cast<uint8_t>(move.To()) : 1;
      check = CheckGameReplay(game);
      EXPECT_FALSE(check.ok);
      EXPECT_EQ(check.slot, slot);
      EXPECT_NE(check.reason.find("is no legal move"), std::string::npos) << check.reason;
    }
  }
}

TEST(GameReplayCheck, StoredGamesAreReplayed) {
  testing::TempDir dir;
  TKestrelDB db;
  testing::FreshDatabase(dir, db);
  std::mt19937 rng(3);
  TGame legal = LegalTree(gtInternational, rng, 40);
  TGame illegal = testing::LineGame(gtRussian, 4);  // square 1 to 6 first: blocked at the start
  WriteDBGame(legal, 0, db, false);
  WriteDBGame(illegal, 0, db, false);
  EXPECT_TRUE(CheckDBGameReplay(db, 1).ok);
  const TReplayCheck check = CheckDBGameReplay(db, 2);
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.reason.rfind("ply 1: ", 0), 0u) << check.reason;
  EXPECT_FALSE(CheckDBGameReplay(db, 3).ok);
  CloseDatabase(db);
}

}  // namespace
}  // namespace kestrel
