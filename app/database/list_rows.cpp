#include "app/database/list_rows.h"

#include <vector>

#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/notation.h"

namespace kestrel {

std::string ListEventText(const TQuickGameHeader& q) {
  std::string text = q.Tournament;
  if (!q.Site.empty()) text += ", " + q.Site;
  if (q.Header.Round != 0) {
    text += " [" + std::to_string(q.Header.Round);
    if (q.Header.Subround != 0) text += "." + std::to_string(q.Header.Subround);
    text += "]";
  }
  if (!q.AnnotatorName.empty()) text += " (" + q.AnnotatorName + ")";
  return text;
}

std::string ListMovesText(const TGame& game, int32_t gotomove, int notationMode, [[maybe_unused]] int type,
                          std::string_view takeChar) {
  constexpr std::size_t Limit = 200;
  const int32_t from = gotomove < 0 ? 0 : gotomove;
  std::string text;
  if (from == 0 && !game.CommentsBef[0].empty()) text = game.CommentsBef[0] + " ";
  std::vector<int32_t> path;
  if (from > game.Header.LastMove || !PathToSlot(game, from, path)) return text;
  // Ply 0 is the first move of the game; the mover of a ply follows from
  // the side that moves first.
  int ply = static_cast<int>(path.size());
  const bool blackStarts = game.Header.FirstMove == TDColor::black;
  bool first = true;
  for (int slot = FirstChild(game, from); slot > 0 && text.size() < Limit; slot = FirstChild(game, slot), ++ply) {
    const int index = ply + (blackStarts ? 1 : 0);
    const int number = index / 2 + 1 + game.Header.NumerationFrom;
    const bool whiteMove = index % 2 == 0;
    if (whiteMove)
      text += std::to_string(number) + ".";
    else if (first)
      text += std::to_string(number) + "...";
    text += SlotMoveText(game, slot, notationMode, takeChar) + " ";
    first = false;
  }
  return text;
}

}  // namespace kestrel
