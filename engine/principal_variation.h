// The text of a principal variation.
#pragma once

#include <string>
#include <string_view>

#include "engine/search_types.h"
#include "rules/board.h"

namespace kestrel {

// The moves of `pv` in notation `mode` with capture sign `sep`, separated by
// spaces, each move of the first side preceded by its number ("12."), and
// the first move, when the second side plays it, by its number and "...".
// A line that ends in a repetition ends with "=". `numbered` false leaves
// out the move numbers.
// The notation mode of machine-read output: PlainMoveText.
constexpr int PlainNotation = -1;

// Each move names one legal move only where the line knows its root
// position (UnambiguousMoveText).
std::string PVText(const TPV& pv, int gametype, TDColor firstMover, int firstMoveNumber, bool numbered, int mode,
                   std::string_view sep);

}  // namespace kestrel
