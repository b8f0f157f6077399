// Moving the current position through the move tree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/game.h"
#include "game/game_observer.h"

namespace kestrel {

// The slots from the first move after the root down to `slot`, in playing
// order. False when `slot` is no node or its parent links do not lead back
// to the root (a damaged record); any depth is accepted.
bool PathToSlot(const TGame& game, int slot, std::vector<int32_t>& path);

// The start position with the moves of the path to `slot` played, and the
// side to move there.
bool PositionAt(const TGame& game, int slot, TBoard& board, TDColor& side);

// The text of the move in `slot` in notation `mode` with capture sign
// `sep`, made unambiguous against the other legal moves of its position:
// the one form the game panel, the database list and the move choosers show.
std::string SlotMoveText(const TGame& game, int slot, int mode, std::string_view sep);

// Makes `slot` current and rebuilds CurBoard and SideToMove from the start.
// False, with nothing changed, when PathToSlot fails.
bool GoToMove(TGame& game, int slot, TGameObserver* observer = nullptr);

// Plays the first continuation of the current slot. False at the end of a
// line, where automatic replay stops.
bool StepForward(TGame& game, TGameObserver* observer = nullptr);

// Goes to the parent of the current slot.
bool StepBack(TGame& game, TGameObserver* observer = nullptr);

// Follows first continuations from `slot` to the end of its line and goes
// there; from the root this is the end of the main line.
bool GoToLineEnd(TGame& game, int slot, TGameObserver* observer = nullptr);

}  // namespace kestrel
