// The commands of the game panel's pop-up menu, applied to the current move
// of a game. Kept apart from the menu so that each is tested on a game.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/game.h"
#include "game/game_observer.h"

namespace kestrel {

enum class TPanelCommandKind : uint8_t {
  moveMark,            // code 0..6: " ", "!!", "!", "!?", "?!", "?", "??"
  positionMark,        // code 0..7: " ", "+-", "+=", "=", "=+", "-+", "x", "~"
  markViewingStart,
  showInExtraShort,
  hideInExtraShort,
  deleteLine,
  promoteLine,
  removeComments,
  removeVariations,
};

struct TPanelCommand {
  TPanelCommandKind kind = TPanelCommandKind::moveMark;
  int code = 0;
};

// The menu texts of the marks, in code order.
extern const std::array<std::string_view, 7> MoveMarkTexts;
extern const std::array<std::string_view, 8> PositionMarkTexts;

// Applies `command` to the current move; every command marks the game
// modified. False when it could not apply (a mark on the start position,
// a code out of range, a line without a branch point to promote).
bool ApplyPanelCommand(TGame& game, const TPanelCommand& command, TGameObserver* observer = nullptr);

// The two comments shown in the "Move comment" dialog for the current move.
struct TMoveComments {
  std::string before;
  std::string after;
  bool beforeEnabled = true;  // no comment before the start position
};
TMoveComments CurrentMoveComments(const TGame& game);

}  // namespace kestrel
