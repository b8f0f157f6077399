// "Import from text": move text typed or pasted by the user read into the
// current game.
#pragma once

#include <string_view>

#include "formats/pdn_move_text.h"
#include "game/game.h"

namespace kestrel {

// Reads `text` (control characters taken as blanks) as PDN move text into
// the game's tree, from its start position. Moves the tree already holds
// are followed, not added twice; a ballot opening is read only while the
// game has no moves. The game is marked modified when anything changed.
TMoveTextResult ImportMovesFromText(TGame& game, std::string_view text);

}  // namespace kestrel
