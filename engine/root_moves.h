// What every generation's root driver does before it searches: the root
// moves listed and shown, and the endgame tables the root belongs to.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/endgame_probe.h"
#include "engine/engine.h"
#include "rules/board.h"

namespace kestrel {

struct TRootList {
  TMoveList list;  // the legal moves, each once
  uint8_t count = 0;
  std::vector<TRootMove> moves;  // the same, with their texts
};

// Lists the legal moves of `side` (a move reachable along two paths once),
// shows them to `out`, and makes `result` play the first until a search
// finds better. False, and nothing shown, when there is no move.
bool ListRootMoves(const TBoard& board, TDColor side, int gametype, TSearchListener& out, TRootList& root,
                   TSearchResult& result);

// The tables of the root position, either side to move: a search probes
// them only for draws (a win it found there could be the root's own value).
TExcludedTables RootTables(TEndgameProber& prober, const TBoard& board, int gametype);

}  // namespace kestrel
