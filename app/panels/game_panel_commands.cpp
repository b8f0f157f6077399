#include "app/panels/game_panel_commands.h"

#include <vector>

#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"

namespace kestrel {

const std::array<std::string_view, 7> MoveMarkTexts = {" ", "!!", "!", "!?", "?!", "?", "??"};
const std::array<std::string_view, 8> PositionMarkTexts = {" ", "+-", "+=", "=", "=+", "-+", "x", "~"};

bool ApplyPanelCommand(TGame& game, const TPanelCommand& command, TGameObserver* observer) {
  const int slot = game.CurMovPos;
  bool done = false;
  switch (command.kind) {
    case TPanelCommandKind::moveMark:
      done = command.code >= 0 && command.code < static_cast<int>(MoveMarkTexts.size()) &&
             SetGlyph(game, slot, 1, command.code, observer);
      break;
    case TPanelCommandKind::positionMark:
      done = command.code >= 0 && command.code < static_cast<int>(PositionMarkTexts.size()) &&
             SetGlyph(game, slot, 2, command.code, observer);
      break;
    case TPanelCommandKind::markViewingStart:
      MarkAsViewingStart(game, observer);
      done = true;
      break;
    case TPanelCommandKind::showInExtraShort:
    case TPanelCommandKind::hideInExtraShort:
      done = SetExtraShortVisible(game, slot, command.kind == TPanelCommandKind::showInExtraShort, observer);
      break;
    case TPanelCommandKind::deleteLine:
      DeleteLineAfterMove(game, observer);
      done = true;
      break;
    case TPanelCommandKind::promoteLine:
      done = PromoteLine(game, slot, observer);
      break;
    case TPanelCommandKind::removeComments:
      ClearComments(game, true);
      done = true;
      break;
    case TPanelCommandKind::removeVariations: {
      // A current move on a side line goes back to where its line left the
      // main line.
      std::vector<int32_t> path;
      if (!PathToSlot(game, slot, path)) path.clear();
      ClearVariations(game);
      int keep = 0;
      for (int32_t p : path) {
        if (!game.IsNode(p) || (p != 0 && game.Moves[p].parent != keep)) break;
        keep = p;
      }
      if (keep != slot) GoToMove(game, keep, observer);
      done = true;
      break;
    }
  }
  if (done) SetModified(game, observer);
  if (observer) observer->RequestRefresh(game, rfTree);
  return done;
}

TMoveComments CurrentMoveComments(const TGame& game) {
  TMoveComments out;
  const int slot = game.CurMovPos;
  out.beforeEnabled = slot != 0;
  if (slot >= 0 && slot < static_cast<int>(game.CommentsBef.size()) && slot != 0) out.before = game.CommentsBef[slot];
  if (slot >= 0 && slot < static_cast<int>(game.CommentsAft.size())) out.after = game.CommentsAft[slot];
  return out;
}

}  // namespace kestrel
