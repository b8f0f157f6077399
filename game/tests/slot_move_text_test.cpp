// Two captures of a game from and to the same squares: the game panel, the
// database list and the move choosers show each by a text that names it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/game_editing.h"
#include "game/navigation.h"
#include "engine/packed_board.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/notation.h"
#include "rules/tests/move_test_support.h"

namespace kestrel {
namespace {

TEST(SlotMoveText, CapturesSharingTheirSquaresShowTheirPaths) {
  for (int type : {gtCzech, gtEnglish}) {
    SCOPED_TRACE(GameTypeNames[type]);
    TGame game;
    NewGame(game, type);
    const TBoard board = testing::Board(type, "c3,h2", "d4,b4,d6,b6");
    PackBoard(board.b, game.StartBoard);
    game.Header.FirstMove = TDColor::white;
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(board, TDColor::white, list, type, count);
    ASSERT_EQ(count, 2);
    for (int mode : {0, 1, 2}) {
      std::set<std::string> texts;
      for (int i = 0; i < count; ++i) {
        TGame g = game;
        const TAddResult r = AddMove(g, 0, list[i]);
        ASSERT_TRUE(r.ok());
        const std::string text = SlotMoveText(g, r.slot, mode, ":");
        texts.insert(text);
        EXPECT_EQ(FindMoveByText(text, count, list, type), i + 1) << text;
        EXPECT_EQ(text, UnambiguousMoveText(list[i], list, count, type, mode, ":"));
      }
      EXPECT_EQ(texts.size(), 2u);
    }
  }
}

// The windows' form follows the settings "Notation" and "TakeChar".
TEST(SlotMoveText, DisplayFormFollowsTheSettings) {
  const TBoard board = testing::Board(gtRussian, "c3", "d4,h8");
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, TDColor::white, list, gtRussian, count);
  ASSERT_EQ(count, 1);
  const int savedMode = NotationMode;
  const std::string savedTake = TakeChar;
  struct Case {
    int mode;
    const char* take;
    const char* text;
  };
  for (const Case& c : {Case{0, ":", "c3:e5"}, Case{0, "x", "c3xe5"}, Case{1, "x", "cxe5"}, Case{2, ":", "e5"}}) {
    NotationMode = c.mode;
    TakeChar = c.take;
    EXPECT_EQ(DisplayMoveText(list[0], list, count, gtRussian), c.text);
  }
  NotationMode = savedMode;
  TakeChar = savedTake;
}

}  // namespace
}  // namespace kestrel
