#include "game/move_tree.h"

#include <algorithm>

#include "game/child_index.h"
#include "rules/current_game_type.h"

namespace kestrel {
namespace {

// Used slots that count as children: 1..LastMove, within the array.
int LastChildSlot(const TGame& game) { return std::min<int>(game.Header.LastMove, game.SlotCount() - 1); }

int CountChildren(const TGame& game, int node) {
  int count = 0;
  for (int i = 1, last = LastChildSlot(game); i <= last; ++i)
    if (!game.Moves[i].free && game.Moves[i].parent == node) ++count;
  return count;
}

}  // namespace

void EnsureCommentArrays(TGame& game) {
  if (game.CommentsBef.size() < game.Moves.size()) game.CommentsBef.resize(game.Moves.size());
  if (game.CommentsAft.size() < game.Moves.size()) game.CommentsAft.resize(game.Moves.size());
}

void ClearMove(TGame& game, int slot) {
  if (!game.IsSlot(slot)) return;
  TMove& m = game.Moves[slot];
  m.comm = 0;
  m.flags = 0;
  m.free = slot != 0;
  if (slot < static_cast<int>(game.CommentsBef.size())) game.CommentsBef[slot].clear();
  if (slot < static_cast<int>(game.CommentsAft.size())) game.CommentsAft[slot].clear();
}

void ClearGame(TGame& game) {
  game.DBGameNo = 0;
  game.DBName.clear();
  game.WhiteName.clear();
  game.BlackName.clear();
  game.AnnotatorName.clear();
  game.Tournament.clear();
  game.Site.clear();
  game.Modified = false;

  TGameHeader& h = game.Header;
  for (TPlayerInfo* p : {&h.White, &h.Black}) {
    p->Title = 0;
    p->Rating = 0;
    p->Country = 0;
  }
  h.AnnotatorIndex = h.TournamentIndex = h.SiteIndex = 0;
  h.Round = h.Subround = 0;
  h.Date = TGameDate{};
  h.Flags = 0;
  h.ShowFrom = 0;
  h.Result = 0;
  h.NumerationFrom = 0;
  h.LastMove = 0;
  h.Opening = h.Medals = h.Crc = 0;
  h.FirstMove = TDColor::white;
  h.TypeOfGame = static_cast<uint8_t>(CurrentGameType);

  if (game.Moves.empty()) game.Moves.resize(1);
  EnsureCommentArrays(game);
  for (int i = 0; i < game.SlotCount(); ++i) ClearMove(game, i);
  game.Moves[0].free = false;
  game.Moves[0].parent = 0;
  game.Closed = false;
  game.Selected = false;
}

std::vector<int32_t> Children(const TGame& game, int node) {
  std::vector<int32_t> list;
  if (!game.IsNode(node)) return list;
  for (int i = 1, last = LastChildSlot(game); i <= last; ++i)
    if (!game.Moves[i].free && game.Moves[i].parent == node) list.push_back(i);
  OrderMainFirst(game, list);
  return list;
}

bool GetChildren(const TGame& game, int node, TChildList& list) {
  const std::vector<int32_t> all = Children(game, node);
  list.count = static_cast<uint8_t>(std::min<std::size_t>(all.size(), MaxChildren));
  std::copy_n(all.begin(), list.count, list.items.begin());
  return all.size() <= static_cast<std::size_t>(MaxChildren);
}

int FirstChild(const TGame& game, int node) {
  const std::vector<int32_t> list = Children(game, node);
  return list.empty() ? 0 : list.front();
}

int MainLineLength(const TGame& game) {
  const TChildIndex index(game, game.Header.LastMove);
  int length = 0;
  // Walking down from the root can never revisit a node, so the slot count
  // bounds the walk.
  for (int node = index.First(0); node != 0 && length < game.SlotCount(); node = index.First(node)) ++length;
  return length;
}

int HighestUsedSlot(const TGame& game) {
  for (int i = game.SlotCount() - 1; i >= 1; --i)
    if (!game.Moves[i].free) return i;
  return 0;
}

bool SameMovePath(const TMove& a, const TMove& b) {
  if (a.lt != b.lt || a.mv[0] != b.mv[0]) return false;
  if (a.lt > MaxCaptured) return false;
  if (a.lt == 0) return a.mv[1] == b.mv[1];
  for (int k = 1; k <= a.lt; ++k)
    if (a.mv[2 * k] != b.mv[2 * k]) return false;
  return true;
}

TAddResult PlaceMove(TGame& game, const TMove& move) {
  if (game.Moves.empty()) return {0, TAddStatus::badParent};
  EnsureCommentArrays(game);
  int slot = 0;
  for (int i = 1; i < game.SlotCount(); ++i)
    if (game.Moves[i].free) {
      slot = i;
      break;
    }
  if (slot == 0) {
    if (game.SlotCount() > MaxMoveSlots) return {0, TAddStatus::noFreePlace};
    slot = game.SlotCount();
    game.Moves.emplace_back();
    EnsureCommentArrays(game);
  }
  game.Moves[slot] = move;
  game.Header.LastMove = std::max<int32_t>(game.Header.LastMove, slot);
  game.CommentsBef[slot].clear();
  game.CommentsAft[slot].clear();
  return {slot, TAddStatus::added};
}

TAddResult AddMove(TGame& game, int parent, const TMove& move) {
  if (!game.IsNode(parent)) return {0, TAddStatus::badParent};
  if (move.lt > MaxCaptured) return {0, TAddStatus::badMove};
  const int siblings = CountChildren(game, parent);
  if (siblings >= MaxChildren) return {0, TAddStatus::tooManyChildren};
  TMove m = move;
  m.parent = parent;
  m.comm = 0;
  m.free = false;
  m.main = siblings == 0;
  return PlaceMove(game, m);
}

namespace {

void DeleteSubtrees(TGame& game, std::span<const int32_t> roots) {
  for (int32_t s : CollectSubtrees(game, roots)) ClearMove(game, s);
}

}  // namespace

void DeleteSubtree(TGame& game, int slot) {
  if (!game.IsSlot(slot)) return;
  if (slot != 0) {
    const int32_t root[] = {slot};
    DeleteSubtrees(game, root);
    return;
  }
  // Everything hangs below the root, even moves whose links are damaged.
  for (int i = 1; i < game.SlotCount(); ++i)
    if (!game.Moves[i].free) ClearMove(game, i);
}

void ClearVariations(TGame& game) {
  const TChildIndex index(game, game.Header.LastMove);
  std::vector<int32_t> side;
  int steps = 0;
  for (int node = 0; steps <= game.SlotCount(); ++steps) {
    const auto children = index.Children(node);
    if (children.empty()) break;
    side.insert(side.end(), children.begin() + 1, children.end());
    node = children[0];
  }
  DeleteSubtrees(game, side);
}

void ClearComments(TGame& game, bool commentsOnly) {
  EnsureCommentArrays(game);
  for (int i = 1, last = LastChildSlot(game); i <= last; ++i) {
    game.CommentsBef[i].clear();
    game.CommentsAft[i].clear();
  }
  if (commentsOnly) return;
  ClearVariations(game);
  game.Header.LastMove = HighestUsedSlot(game);
}

}  // namespace kestrel
