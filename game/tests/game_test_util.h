// Helpers shared by the game record tests: legal moves by their text, a
// mock of the user interface, and trees written slot by slot.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "game/game.h"
#include "game/game_observer.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel::testing {

class MockObserver : public TGameObserver {
 public:
  MOCK_METHOD(TNewMoveChoice, AskNewMove, (const std::vector<std::string>&, int), (override));
  MOCK_METHOD(void, BeforeGoToMove, (const TGame&, int), (override));
  MOCK_METHOD(void, RequestRefresh, (const TGame&, uint32_t), (override));
};

// The legal move written `text` in the position after `node`.
inline TMove LegalMove(const TGame& game, int node, std::string_view text) {
  TBoard board;
  TDColor side;
  if (!PositionAt(game, node, board, side)) {
    ADD_FAILURE() << "no position at slot " << node;
    return {};
  }
  TMoveList list;
  uint8_t count = 0;
  const int type = GameTypeOf(game);
  GenerateMoveList(board, side, list, type, count);
  const int k = FindMoveByText(text, count, list, type);
  if (k == 0) {
    ADD_FAILURE() << "no legal move " << text << " at slot " << node;
    return {};
  }
  return list[k - 1];
}

// A plain move that need not be legal, for tests of the tree alone.
inline TMove PlainMove(int from, int to) {
  TMove m;
  m.mv[0] = static_cast<uint8_t>(from);
  m.mv[1] = static_cast<uint8_t>(to);
  return m;
}

// Writes a used slot directly, as a reader of stored games does.
inline void PutSlot(TGame& game, int slot, int parent, bool main, const TMove& move) {
  const int old = static_cast<int>(game.Moves.size());
  if (old <= slot) {
    game.Moves.resize(slot + 1);
    for (int i = old; i <= slot; ++i) game.Moves[i].free = true;
    game.CommentsBef.resize(slot + 1);
    game.CommentsAft.resize(slot + 1);
  }
  TMove m = move;
  m.parent = parent;
  m.main = main;
  m.free = false;
  game.Moves[slot] = m;
  if (game.Header.LastMove < slot) game.Header.LastMove = slot;
}

inline std::vector<int32_t> ChildrenOf(const TGame& game, int node) {
  TChildList list;
  GetChildren(game, node, list);
  return {list.begin(), list.end()};
}

}  // namespace kestrel::testing
