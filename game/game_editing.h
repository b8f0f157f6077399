// The user's commands that change a game: entering moves from the board,
// deleting and promoting lines, glyphs, marks and comments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "game/game.h"
#include "game/game_observer.h"

namespace kestrel {

// The comment mark that asks for a diagram of the position at that point.
constexpr std::string_view DiagramMark = "[#]";

// Marks the game changed; the user interface enables its save button.
void SetModified(TGame& game, TGameObserver* observer = nullptr);

// Adds a move played on the board after node `parent`. The same move
// (same start and landing squares) just returns its slot. A different one
// asks "New move" unless `noQuestion`, which answers "New variation":
//  - "New variation": a side line;
//  - "Replace": the selected continuation and all after it are deleted, and
//    the new move becomes the main continuation;
//  - "Cancel": nothing changes (status cancelled).
// Without an observer no question can be asked: the answer is "New variation".
TAddResult AddMoveAsk(TGame& game, const TMove& move, int parent, bool noQuestion,
                      TGameObserver* observer = nullptr);

// "Delete line after move": deletes the current move and everything after
// it, recomputes LastMove and goes to the move before.
void DeleteLineAfterMove(TGame& game, TGameObserver* observer = nullptr);

// "Promote line": at the nearest branch point above `slot`, the line through
// `slot` becomes the main continuation. False when no branch point exists.
bool PromoteLine(TGame& game, int slot, TGameObserver* observer = nullptr);

// kind 1: move glyph (bits 0-3 of comm), kind 2: position glyph (bits 4-7);
// codes 0..7. False for the root, a free slot or an unknown kind or code.
bool SetGlyph(TGame& game, int slot, int kind, int code, TGameObserver* observer = nullptr);

// "Show in extra short notation" (`show`) clears the hiding flags of the
// move; "Do not show in extra short notation" sets mfHideExtraShort.
bool SetExtraShortVisible(TGame& game, int slot, bool show, TGameObserver* observer = nullptr);

// "Mark as viewing start": the game opens at the current slot.
void MarkAsViewingStart(TGame& game, TGameObserver* observer = nullptr);

// "Add diagram": appends the diagram mark to the comment after the current slot.
void AddDiagram(TGame& game, TGameObserver* observer = nullptr);

// Inserts the diagram mark at `caret` (clamped to the text) of a comment
// being edited; returns the caret after the mark.
std::size_t InsertDiagramMark(std::string& text, std::size_t caret);

// "Comment move" confirmed for `slot`: stores both texts, each without one
// trailing line break. At the root only `after`, the game comment, is kept.
bool SetMoveComments(TGame& game, int slot, std::string before, std::string after,
                     TGameObserver* observer = nullptr);

}  // namespace kestrel
