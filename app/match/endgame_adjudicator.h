// Match games decided by endgame tables: a position the tables know ends
// the game with their verdict instead of being played out.
#pragma once

#include "app/match/match_game.h"
#include "engine/endgame/endgame_cache.h"

namespace kestrel {

// An adjudicator reading `cache`, which must outlive every game using it.
// Safe to call from the threads of games played at once.
TAdjudicator EndgameAdjudicator(TEndgameCache& cache);

// Whether `root` (the folder holding one folder per variant) has a table of
// `gametype`; without one only the move limit adjudicates.
bool HasEndgameTables(const std::filesystem::path& root, int gametype);

}  // namespace kestrel
