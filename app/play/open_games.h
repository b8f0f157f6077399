// The list of open games: always at least one, one of them current. A closed
// game keeps its slot and is only marked.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/game.h"

namespace kestrel {

class TOpenGames {
 public:
  TOpenGames();

  int Count() const { return static_cast<int>(games_.size()); }
  int CurrentIndex() const { return current_; }
  TGame& Current() { return *games_[current_]; }
  const TGame& Current() const { return *games_[current_]; }
  TGame& At(int index) { return *games_[index]; }
  const TGame& At(int index) const { return *games_[index]; }

  // Appends an empty game slot and returns its index (not yet current).
  int Append();
  // False for an index out of range or a closed game.
  bool MakeCurrent(int index);
  // Marks the current game closed and makes the first open one current.
  // False, with nothing changed, when it is the only open game.
  bool CloseCurrent();
  int OpenCount() const;

  // Indexes of the open games, in list order.
  std::vector<int> OpenIndexes() const;

 private:
  // Games keep their address for as long as the list lives, so a worker
  // may hold on to the game it started with.
  std::vector<std::unique_ptr<TGame>> games_;
  int current_ = 0;
};

// The Window menu's text of a game: "White - Black (Tournament) Year".
std::string OpenGameTitle(const TGame& game);

}  // namespace kestrel
