#include "game/game_editing.h"

#include <algorithm>
#include <utility>

#include "game/child_index.h"
#include "game/move_tree.h"
#include "game/navigation.h"

namespace kestrel {
namespace {

bool HoldsMove(const TGame& game, int slot) { return slot != 0 && game.IsNode(slot); }

// The comment editor hands back its text with the line break of its last line.
void DropTrailingLineBreak(std::string& text) {
  if (text.ends_with("\r\n")) text.resize(text.size() - 2);
  else if (text.ends_with('\n')) text.pop_back();
}

}  // namespace

void SetModified(TGame& game, TGameObserver* observer) {
  game.Modified = true;
  if (observer) observer->RequestRefresh(game, rfSaveButton);
}

void DeleteLineAfterMove(TGame& game, TGameObserver* observer) {
  const int current = game.IsNode(game.CurMovPos) ? game.CurMovPos : 0;
  const int parent = current == 0 ? 0 : game.Moves[current].parent;
  DeleteSubtree(game, current);
  game.Header.LastMove = HighestUsedSlot(game);
  if (observer) observer->RequestRefresh(game, rfTree);
  if (!GoToMove(game, parent, observer)) GoToMove(game, 0, observer);
  SetModified(game, observer);
}

bool PromoteLine(TGame& game, int slot, TGameObserver* observer) {
  if (!HoldsMove(game, slot)) return false;
  const TChildIndex index(game, game.Header.LastMove);
  int a = slot;
  // Up the line while a move is the only continuation of its parent; the
  // walk is bounded in case of damaged parent links.
  for (int steps = 0; index.Children(game.Moves[a].parent).size() == 1; ++steps) {
    a = game.Moves[a].parent;
    if (a == 0 || !game.IsNode(a) || steps >= game.SlotCount()) return false;  // a single line up to the start
  }
  const auto siblings = index.Children(game.Moves[a].parent);
  if (siblings.size() < 2) return false;
  for (int32_t c : siblings) game.Moves[c].main = false;
  game.Moves[a].main = true;
  if (observer) observer->RequestRefresh(game, rfTree);
  SetModified(game, observer);
  return true;
}

bool SetGlyph(TGame& game, int slot, int kind, int code, TGameObserver* observer) {
  if (!HoldsMove(game, slot) || code < 0 || code > 7) return false;
  uint16_t& comm = game.Moves[slot].comm;
  if (kind == 1) comm = static_cast<uint16_t>((comm & ~0x000F) | code);
  else if (kind == 2) comm = static_cast<uint16_t>((comm & ~0x00F0) | (code << 4));
  else return false;
  if (observer) observer->RequestRefresh(game, rfTree);
  SetModified(game, observer);
  return true;
}

bool SetExtraShortVisible(TGame& game, int slot, bool show, TGameObserver* observer) {
  if (!HoldsMove(game, slot)) return false;
  uint8_t& flags = game.Moves[slot].flags;
  flags = static_cast<uint8_t>(flags & ~0x0F);
  if (!show) flags |= mfHideExtraShort;
  if (observer) observer->RequestRefresh(game, rfTree);
  SetModified(game, observer);
  return true;
}

void MarkAsViewingStart(TGame& game, TGameObserver* observer) {
  game.Header.ShowFrom = game.CurMovPos;
  if (observer) observer->RequestRefresh(game, rfTree);
  SetModified(game, observer);
}

void AddDiagram(TGame& game, TGameObserver* observer) {
  if (!game.IsNode(game.CurMovPos)) return;
  EnsureCommentArrays(game);
  game.CommentsAft[game.CurMovPos] += DiagramMark;
  if (observer) observer->RequestRefresh(game, rfTree);
  SetModified(game, observer);
}

std::size_t InsertDiagramMark(std::string& text, std::size_t caret) {
  caret = std::min(caret, text.size());
  text.insert(caret, DiagramMark);
  return caret + DiagramMark.size();
}

bool SetMoveComments(TGame& game, int slot, std::string before, std::string after, TGameObserver* observer) {
  if (!game.IsNode(slot)) return false;
  EnsureCommentArrays(game);
  DropTrailingLineBreak(before);
  DropTrailingLineBreak(after);
  // The description before the first move is not the user's to edit.
  if (slot != 0) game.CommentsBef[slot] = std::move(before);
  game.CommentsAft[slot] = std::move(after);
  if (observer) observer->RequestRefresh(game, rfTree);
  SetModified(game, observer);
  return true;
}

}  // namespace kestrel
