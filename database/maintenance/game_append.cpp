#include "database/maintenance/game_append.h"

#include "database/game_io.h"
#include "database/list_texts.h"
#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

struct THit {
  int node = -1;
  bool reversed = false;
};

// Depth first from the start; a hit's subtree is not visited, the last hit
// counts.
THit FindPosition(const TGame& target, const TBrd& wanted, int type) {
  TBrd flipped = wanted;
  FlipBoard(flipped, type);
  THit hit;
  TBoard start;
  TDColor side;
  if (!PositionAt(target, 0, start, side)) return hit;
  struct TFrame {
    int node;
    TBoard board;
  };
  std::vector<TFrame> stack{{0, start}};
  std::size_t visited = 0;
  while (!stack.empty() && visited++ <= static_cast<std::size_t>(target.SlotCount())) {
    TFrame f = std::move(stack.back());
    stack.pop_back();
    if (SameBoard(f.board.b, wanted)) {
      hit = {f.node, false};
      continue;
    }
    if (SameBoard(f.board.b, flipped)) {
      hit = {f.node, true};
      continue;
    }
    const std::vector<int32_t> children = Children(target, f.node);
    // Pushed in reverse, so the first child is visited first.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      TBoard next = f.board;
      ApplyMove(target.Moves[*it], next, type);
      stack.push_back({*it, next});
    }
  }
  return hit;
}

}  // namespace

TAppendResult AppendGameInto(TGame& target, const TGame& source, int startSlot, int resultStyle) {
  TAppendResult result;
  TBoard from;
  TDColor side;
  if (!source.IsNode(startSlot) || !PositionAt(source, startSlot, from, side)) return result;
  const int type = GameTypeOf(target);
  const THit hit = FindPosition(target, from.b, type);
  if (hit.node < 0) return result;
  result.added = true;
  result.reversed = hit.reversed;
  int node = hit.node;
  int at = startSlot;
  for (int steps = 0; steps < source.SlotCount(); ++steps) {
    at = FirstChild(source, at);
    if (at == 0) break;
    TMove m = source.Moves[at];
    if (hit.reversed) FlipMove(m, type);
    // An equal continuation is followed; any other becomes a side line.
    const TAddResult added = AddMoveAsk(target, m, node, true);
    if (!added.ok()) break;
    node = added.slot;
  }
  result.lastNode = node;
  std::string note = std::string(ResultText(source.Header.Result, resultStyle)) + " " + source.WhiteName + " - " +
                     source.BlackName;
  if (!source.Tournament.empty()) note += ", " + source.Tournament;
  if (source.Header.Date.Year != 0) note += ", " + std::to_string(source.Header.Date.Year);
  if (hit.reversed) note += " [Reversed]";
  EnsureCommentArrays(target);
  target.CommentsAft[node] += note;
  target.Modified = true;
  return result;
}

std::vector<TDBListRec> EntriesToAppend(const TKestrelDB& db, const TGameList& list) {
  std::vector<TDBListRec> out;
  for (int32_t i = 1; i <= list.GameListCount; ++i)
    if (list[i].selected) out.push_back(list[i]);
  if (out.empty() && list.Contains(db.DBCurPos)) out.push_back(list[db.DBCurPos]);
  return out;
}

TAppendReport AppendEntries(TKestrelDB& db, const std::vector<TDBListRec>& entries, TGame& target, int resultStyle) {
  TAppendReport report;
  for (const TDBListRec& e : entries) {
    TGame source;
    if (!ReadDBGame(db, e.num, false, source)) {
      report.messages.emplace_back(CannotAddText);
      continue;
    }
    const int start = e.gotomove >= 0 ? e.gotomove : source.Header.ShowFrom;
    if (AppendGameInto(target, source, source.IsNode(start) ? start : 0, resultStyle).added)
      ++report.added;
    else
      report.messages.emplace_back(CannotAddText);
  }
  return report;
}

}  // namespace kestrel
