// Replaying a stored game move by move: every move of its tree, side lines
// included, must lie on the board and be legal where it stands. Used by the
// database check and its repair mark.
#pragma once

#include <cstdint>
#include <string>

#include "database/kestrel_db.h"
#include "game/game.h"

namespace kestrel {

struct TReplayCheck {
  bool ok = true;
  std::string reason;  // the first fault found, e.g. "ply 12: 32-28 is no legal move"
  int slot = 0;        // the slot of that move (0: the game itself)
};

// Replays the game from its start position. A struck-through game that
// keeps an unread rest of PDN move text (a comment beginning with "* ")
// fails too: its moves stop short.
TReplayCheck CheckGameReplay(const TGame& game);

// Reads game n (1..DBSize) and replays it; a game that cannot be read fails
// with the reader's message.
TReplayCheck CheckDBGameReplay(TKestrelDB& db, int32_t n);

}  // namespace kestrel
