// The one-line description of where and when a game was played.
#pragma once

#include <string>

#include "game/game.h"

namespace kestrel {

// "Tournament, Site [Round.Subround], DD.MM.YYYY (Annotator)", each part only
// when known: the day only with a month, the month only with a year.
std::string EventLine(const TGame& game, bool withAnnotator);

// Removes leading and trailing blanks (only ' ').
void TrimSpaces(std::string& text);

}  // namespace kestrel
