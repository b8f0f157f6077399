// How the game model reaches the user interface: the "New move" question and
// requests to refresh views. Windows implement it; the model never draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

struct TGame;

enum class TNewMoveAnswer : uint8_t { newVariation, replace, cancel };

struct TNewMoveChoice {
  TNewMoveAnswer answer = TNewMoveAnswer::cancel;
  int selected = -1;  // index into the listed continuations; -1 none
};

// Views to refresh, combined as bits. Requests may come from a worker thread:
// an implementation only records them and serves them on its own thread.
enum TRefresh : uint32_t {
  rfBoard = 1,
  rfMoveList = 2,    // legal moves and book figures of the position
  rfTree = 4,        // the game panel
  rfSaveButton = 8,  // the game became modified
};

class TGameObserver {
 public:
  virtual ~TGameObserver() = default;

  // "New move": a move differs from every existing continuation, listed by
  // their texts in display order. `preselected` is 0 with a single entry,
  // else -1.
  virtual TNewMoveChoice AskNewMove(const std::vector<std::string>& continuations, int preselected) = 0;

  // Called before the position changes to `slot`, so that the draw
  // indicator can be judged for the target.
  virtual void BeforeGoToMove(const TGame& game, int slot) {}

  virtual void RequestRefresh(const TGame& game, uint32_t what) {}
};

}  // namespace kestrel
