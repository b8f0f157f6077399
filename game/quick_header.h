// Moving a game's header and names to and from the list form of a header.
#pragma once

#include "game/game.h"
#include "game/game_header.h"

namespace kestrel {

TQuickGameHeader QuickHeaderOf(const TGame& game);
// The five names only; what happens to the header record is the caller's choice.
void SetGameNames(TGame& game, const TQuickGameHeader& quick);

}  // namespace kestrel
