// Positions and moves as the Hub protocol writes them. A position is the
// side to move ("W" or "B") and one character per square in protocol order:
// "w"/"b" men, "W"/"B" kings, "e" empty. A move is "32-28", or for a capture
// the start, the end and every captured square: "28x17x22".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rules/board.h"
#include "rules/move.h"

namespace kestrel {

struct THubPosition {
  TBoard board;
  TDColor side = TDColor::white;
};

std::string HubPositionText(const TBoard& board, TDColor side, int type);
// Nullopt, with the reason in `error`, for a wrong length, an unknown
// character, a man on its own promotion rank or a side without pieces.
std::optional<THubPosition> ParseHubPosition(std::string_view text, int type, std::string& error);

// The name of a variant in the "variant" parameter: the program's own name
// in lower case, but "normal" (as Hub engines call it) for International.
std::string HubVariantName(int type);

std::string HubMoveText(const TMove& move, int type);
// The legal move of `side` in `board` that `text` names: the same start,
// end and set of captured squares. A capture written without its captured
// squares is accepted when no other capture has that start and end.
std::optional<TMove> FindHubMove(std::string_view text, const TBoard& board, TDColor side, int type);

}  // namespace kestrel
