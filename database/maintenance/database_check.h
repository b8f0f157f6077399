// "Check database": every game is read and its moves replayed; damaged games
// are marked deleted (so a quick clean-up removes them) and reported.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "database/kestrel_db.h"
#include "database/maintenance/progress.h"
#include "game/game.h"

namespace kestrel {

// Replays a game that was read; returns why it is damaged, or "" when sound.
using TGameReplay = std::function<std::string(const TGame& game)>;

struct TCheckReport {
  int32_t damagedGames = 0;
  int32_t damagedHeaders = 0;
  bool cancelled = false;
  std::vector<std::string> log;  // the lines of the log window
};

// The replay of the database library: every move on the board and legal.
std::string ReplayFault(const TGame& game);

// With `mark`, damaged games get the deleted mark. Cancel ends the loop.
TCheckReport CheckDatabase(TKestrelDB& db, bool mark, TProgress& progress = NoProgress(),
                           const TGameReplay& replay = ReplayFault);

}  // namespace kestrel
