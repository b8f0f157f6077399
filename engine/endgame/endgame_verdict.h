// Endgame adjudication of games the program plays by itself: a position with
// at most 10 pieces, both sides present and no capture pending, whose table
// value is known, is decided by that value.
#pragma once

#include <optional>
#include <string>

#include "engine/endgame/endgame_cache.h"
#include "rules/board.h"

namespace kestrel {

// 1: the side to move wins, 0: a draw, -1: it loses; nothing when no table
// decides the position.
std::optional<int> EndgameVerdict(TEndgameCache& cache, const TBoard& board, TDColor side, int gametype);

// The search information's endgame text: "EDB5=123 (40, 2MB)", or "EDB n/a"
// before the first answer.
std::string EndgameText(const TEdbCacheStats& stats);

}  // namespace kestrel
