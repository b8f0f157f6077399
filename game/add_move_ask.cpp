#include <algorithm>
#include <string>
#include <vector>

#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/notation.h"

namespace kestrel {

TAddResult AddMoveAsk(TGame& game, const TMove& move, int parent, bool noQuestion, TGameObserver* observer) {
  if (!game.IsNode(parent)) return {0, TAddStatus::badParent};
  if (move.lt > MaxCaptured) return {0, TAddStatus::badMove};
  std::vector<int32_t> children = Children(game, parent);
  for (int32_t c : children)
    if (SameMovePath(game.Moves[c], move)) return {c, TAddStatus::existing};

  bool main = true;
  if (!children.empty()) {
    TNewMoveChoice choice{TNewMoveAnswer::newVariation, -1};
    if (!noQuestion && observer) {
      std::vector<std::string> texts;
      for (int32_t c : children) texts.push_back(SlotMoveText(game, c, NotationMode, TakeChar));
      choice = observer->AskNewMove(texts, children.size() == 1 ? 0 : -1);
    }
    switch (choice.answer) {
      case TNewMoveAnswer::cancel:
        return {0, TAddStatus::cancelled};
      case TNewMoveAnswer::newVariation:
        if (children.size() >= static_cast<std::size_t>(MaxChildren)) return {0, TAddStatus::tooManyChildren};
        main = false;
        break;
      case TNewMoveAnswer::replace:
        if (choice.selected >= 0 && choice.selected < static_cast<int>(children.size())) {
          DeleteSubtree(game, children[choice.selected]);
          children.erase(children.begin() + choice.selected);
        } else if (children.size() >= static_cast<std::size_t>(MaxChildren)) {
          return {0, TAddStatus::tooManyChildren};
        }
        break;
    }
  }

  TMove m = move;
  m.comm = 0;
  m.parent = parent;
  m.main = main;
  m.free = false;
  const TAddResult result = PlaceMove(game, m);
  if (!result.ok()) return result;
  // A replacing move is the main continuation alone; a sibling still marked
  // main would otherwise win or lose the first place by its slot number.
  if (main)
    for (int32_t c : children) game.Moves[c].main = false;
  SetModified(game, observer);
  if (observer) observer->RequestRefresh(game, rfTree);
  return result;
}

}  // namespace kestrel
