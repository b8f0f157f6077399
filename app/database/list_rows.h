// The texts of one row of the database window's game list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "game/game.h"
#include "game/game_header.h"

namespace kestrel {

// Tournament, then ", " and the site when there is one, " [round.subround]"
// when there is a round, " (annotator)" when there is one.
std::string ListEventText(const TQuickGameHeader& header);

// "Moves list" mode: the opening description and a blank when the row shows
// the game from its start (`gotomove` -1 or 0), then the main line from the
// position after slot `gotomove`, numbered ("12." before a white move, "12..."
// before a first black move), up to about 200 characters.
std::string ListMovesText(const TGame& game, int32_t gotomove, int notationMode, int type, std::string_view takeChar);

}  // namespace kestrel
