// The move text of a PDN game: moves, move numbers, comments, variations,
// glyphs, results, and the ballot opening of Russian games.
#pragma once

#include <string>
#include <string_view>

#include "game/game.h"

namespace kestrel {

struct TMoveTextOptions {
  // The first two tokens may be a ballot ("c3>d4 f6>g5") that changes the
  // start position; only sensible while the game has no moves.
  bool readBallot = true;
  // The first move number of the main line sets NumerationFrom.
  bool readNumeration = true;
};

struct TMoveTextResult {
  bool complete = true;  // false: stopped at a token that is no legal move
  std::string reason;    // why it stopped
  int moves = 0;         // moves read (existing ones found again included)
};

// Reads `text` into the game's tree, from its start position with its first
// mover to move, using the rules of the game's type. A token that is no
// legal move (nor a result, number or glyph) stops the reading: it and the
// rest of the text are appended, after "* ", to the comment after the move
// reached, and `complete` is false. A move the tree has no room for stops it
// the same way.
TMoveTextResult ReadPdnMoveText(TGame& game, std::string_view text, const TMoveTextOptions& options = {});

}  // namespace kestrel
