// Random legal play for test games and benchmark databases: one move drawn
// at a node, or a line of them grown from it.
#pragma once

#include <cstdint>
#include <optional>
#include <random>

#include "game/game.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/move_generator.h"

namespace kestrel::testing {

// One of the legal moves at `node`, chosen by a single draw of `rng` (so
// that games made from a seed stay the same); nullopt where the side to move
// has none.
inline std::optional<TMove> RandomLegalMove(const TGame& game, int node, std::mt19937& rng) {
  TBoard board;
  TDColor side;
  PositionAt(game, node, board, side);
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, game.Header.TypeOfGame, count);
  if (count == 0) return std::nullopt;
  return list[rng() % count];
}

// Up to `plies` random legal moves played on from `node`, each after the
// one before; false when the line ended early (no move, or no room left).
inline bool GrowLine(TGame& game, int node, int plies, std::mt19937& rng) {
  for (int p = 0; p < plies; ++p) {
    const std::optional<TMove> move = RandomLegalMove(game, node, rng);
    if (!move) return false;
    node = AddMove(game, node, *move).slot;
    if (node == 0) return false;
  }
  return true;
}

}  // namespace kestrel::testing
