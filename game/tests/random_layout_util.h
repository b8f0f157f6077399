// Random games with variations, comments and glyphs for the game panel tests.
#pragma once

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "test_support/random_line.h"

namespace kestrel::testing {

inline std::string RandomComment(std::mt19937& rng) {
  static const char* const words[] = {"White", "wins,", "a", "draw.", "Better:", "\"quiet\"", "move-order",
                                      "[#]",   "\t",    "line\r\n", "ok;", "x"};
  std::string text;
  const int n = 1 + static_cast<int>(rng() % 8);
  for (int i = 0; i < n; ++i) {
    if (i) text += ' ';
    text += words[rng() % std::size(words)];
  }
  return text;
}

// Legal moves added at random nodes, mostly near the last one so that lines
// grow long; some with comments and glyphs, some lines promoted.
inline TGame RandomGame(std::mt19937& rng, int additions, int type = gtRussian) {
  TGame game;
  NewGame(game, type);
  int last = 0;
  for (int i = 0; i < additions; ++i) {
    int node = last;
    if (rng() % 3 == 0) {
      std::vector<int> used{0};
      for (int s = 1; s <= game.Header.LastMove; ++s)
        if (!game.Moves[s].free) used.push_back(s);
      node = used[rng() % used.size()];
    }
    const std::optional<TMove> drawn = RandomLegalMove(game, node, rng);
    if (!drawn) {
      last = 0;
      continue;
    }
    const TMove m = *drawn;
    bool known = false;
    for (int32_t c : Children(game, node)) known = known || SameMovePath(game.Moves[c], m);
    if (known) continue;
    const int slot = AddMove(game, node, m).slot;
    if (slot == 0) continue;
    last = slot;
    if (rng() % 5 == 0) game.CommentsAft[slot] = RandomComment(rng);
    if (rng() % 9 == 0) game.CommentsBef[slot] = RandomComment(rng);
    if (rng() % 6 == 0) SetGlyph(game, slot, 1 + static_cast<int>(rng() % 2), static_cast<int>(rng() % 8));
    if (rng() % 15 == 0) PromoteLine(game, slot);
  }
  if (rng() % 2) game.CommentsAft[0] = RandomComment(rng);
  if (rng() % 4 == 0) game.CommentsBef[0] = RandomComment(rng);
  if (rng() % 3 == 0) game.Header.FirstMove = TDColor::black;  // numbering only
  game.Header.NumerationFrom = static_cast<uint8_t>(2 * (rng() % 3));
  return game;
}

// One line of random legal moves from the start, up to `plies` long.
inline TGame RandomLine(std::mt19937& rng, int plies, int type = gtRussian) {
  TGame game;
  NewGame(game, type);
  GrowLine(game, 0, plies, rng);
  return game;
}

}  // namespace kestrel::testing
