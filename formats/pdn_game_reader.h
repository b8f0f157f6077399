// One game of a PDN file into a game record: its tags, start position and
// move text.
#pragma once

#include <string>

#include "formats/pdn_source.h"
#include "game/game.h"

namespace kestrel {

// Header flag of a game whose move text could not be read to the end; the
// game list shows it struck through.
constexpr uint8_t PdnDamagedFlag = 0x80;

struct TPdnGameReport {
  bool complete = true;  // false: the game is marked damaged
  std::string reason;
  int moves = 0;
};

// Reads `raw` into `game`, which is emptied first. The game type is that of
// the GameType tag, else `defaultType`. An unreadable FEN keeps the whole
// move text as a comment; an unreadable move keeps the rest of it. Either
// marks the game with PdnDamagedFlag.
TPdnGameReport ReadPdnGame(const TPdnRawGame& raw, int defaultType, TGame& game);

}  // namespace kestrel
