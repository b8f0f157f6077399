// Endgame tables deciding games the engine plays: the result a known table
// position stands for, as a result code of the game header.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/endgame/endgame_cache.h"
#include "rules/board.h"

namespace kestrel {

// The result code of a table value `wdl` (1 the side to move wins, 0 draw,
// -1 it loses) with `mover` to move.
uint8_t ResultOfVerdict(int wdl, TDColor mover);

// The result the tables give the position, or nothing when no table decides
// it (too many pieces, a capture pending, a side without pieces, no table).
std::optional<uint8_t> EndgameResult(TEndgameCache& cache, const TBoard& board, TDColor mover, int gametype);

}  // namespace kestrel
