// The text of a principal variation.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/bitboard.h"
#include "engine/search_types.h"
#include "rules/board.h"

namespace kestrel {

// The position as the engines see it: the pieces of `toMove` in `w`.
TBitBoard64 EnginePosition(const TBoard& board, TDColor toMove, int gametype);

// The next position of a line: given the position reached (the side to
// move in `w`) and the number of moves played, the position the line's next
// move leads to (the side then to move in `w`), or nothing where it ends.
using TNextPosition = std::function<std::optional<TBitBoard64>(const TBitBoard64& reached, int played)>;

// A line of the rules core's moves from `root`: `first` (played by `side`),
// then moves chosen by `next`. It stops where `next` has nothing, where no
// legal move leads to the position named, at TPV::MaxLength moves, and at a
// position met before with the same side to move (marked Repeated: the line
// would go round for ever).
TPV FollowLine(const TBoard& root, TDColor side, const TMove& first, int gametype, const TNextPosition& next);

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
