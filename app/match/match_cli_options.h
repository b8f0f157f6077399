// The texts of a match's options: time controls and SPRT hypotheses.
#pragma once

#include <optional>
#include <string>

#include "app/match/match_game.h"
#include "app/match/match_stats.h"

namespace kestrel {

// Moves after which --adjudicate draws a game.
inline constexpr int DefaultAdjudicationMoves = 150;

// "MOVES/SECONDS+INC": "40/60+0.5", "60" (the whole game), "0/60+1",
// "1/1" (a second per move). nullopt with `error` for anything else.
std::optional<TTimeSettings> ParseTimeControl(const std::string& text, std::string& error);

// Combines --time, --tc and --depth into `out`; false with `error` when
// they contradict each other or none is given.
bool ParseTimeOptions(int64_t moveTimeMs, const std::string& tc, int depth, TTimeSettings& out, std::string& error);

// "ELO0,ELO1" with ELO0 < ELO1.
std::optional<TSprt> ParseSprt(const std::string& text, std::string& error);

}  // namespace kestrel
