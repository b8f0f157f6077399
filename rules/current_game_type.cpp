#include "rules/current_game_type.h"

#include <map>

#include "rules/game_types.h"

namespace kestrel {

int CurrentGameType = gtRussian;
int CurrentSquareCount = 32;

namespace {
struct Listener {
  GameTypeListener before, after;
};
std::map<int, Listener>& Listeners() {
  static std::map<int, Listener> listeners;
  return listeners;
}
int nextListenerId = 1;
}  // namespace

int AddGameTypeListener(GameTypeListener before, GameTypeListener after) {
  const int id = nextListenerId++;
  Listeners()[id] = Listener{std::move(before), std::move(after)};
  return id;
}

void RemoveGameTypeListener(int id) { Listeners().erase(id); }

void SetGameType(int type) {
  if (!IsValidGameType(type)) return;
  const int old = CurrentGameType;
  // Board-dependent tables (endgame databases) are rebuilt only on a real change.
  if (type != old)
    for (auto& [id, l] : Listeners())
      if (l.before) l.before(old, type);
  CurrentGameType = type;
  CurrentSquareCount = GameTypes[type].SquareCount;
  // The evaluation function and book of the type are loaded every time.
  for (auto& [id, l] : Listeners())
    if (l.after) l.after(old, type);
}

}  // namespace kestrel
