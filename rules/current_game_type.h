// The game type of the game being shown. Changed only on the interface thread
// while no engine thread runs.
#pragma once

#include <functional>

namespace kestrel {

extern int CurrentGameType;
extern int CurrentSquareCount;

// Other subsystems (endgame tables, evaluation, book, the current game) follow
// a change of game type through listeners, called in registration order.
// `before` listeners run before the type changes, `after` listeners once it has.
using GameTypeListener = std::function<void(int oldType, int newType)>;
int AddGameTypeListener(GameTypeListener before, GameTypeListener after);
void RemoveGameTypeListener(int id);

void SetGameType(int type);

}  // namespace kestrel
