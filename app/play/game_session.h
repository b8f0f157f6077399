// The games the user has open and the lock that guards them.
//
// The current game is shared with the engine worker, which adds moves,
// comments and results while the windows render. Every change and every read
// of a game goes through one lock: Read and Change take it for a call, Lock
// hands it to code that works on a game over several steps (the worker takes
// it for each change and never during a search). So a renderer sees a move
// tree either before or after a change, never in between. Nobody holds the
// lock while a question is shown or while waiting for the worker.
//
// Here too: navigation within the current game, the games of the Window menu,
// the header, and the board edits of a position being set up.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/play/open_games.h"
#include "app/play/refresh_requests.h"
#include "game/game.h"
#include "game/game_observer.h"
#include "game/quick_header.h"
#include "rules/board.h"

namespace kestrel {

class TGameSession {
 public:
  explicit TGameSession(TRefreshRequests& refresh);
  TGameSession(const TGameSession&) = delete;
  TGameSession& operator=(const TGameSession&) = delete;

  template <class F>
  decltype(auto) Read(F&& f) const {
    std::lock_guard lock(mutex_);
    return f(static_cast<const TGame&>(games_.Current()));
  }
  template <class F>
  decltype(auto) Change(F&& f) {
    std::lock_guard lock(mutex_);
    return f(games_.Current());
  }
  // Every game of the Window menu, changed under the lock.
  template <class F>
  void ChangeEach(F&& f) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < games_.Count(); ++i) f(games_.At(i));
  }
  [[nodiscard]] std::unique_lock<std::mutex> Lock() const { return std::unique_lock(mutex_); }
  // The current game; the caller holds Lock(). Its address stays valid
  // while the game is open, so a worker may keep it for its whole run.
  TGame& Current() { return games_.Current(); }

  // The observer handed to the game functions: refresh requests become the
  // windows', and the "New move" question gets the answer set beforehand
  // (the question itself is asked outside the lock).
  TGameObserver& Observer() { return observer_; }
  void SetNewMoveAnswer(TNewMoveChoice answer) { observer_.answer = answer; }

  // ---- Navigation; each true when the current move changed.
  bool StepBack();
  bool StepForward();
  bool GoLineEnd();
  bool GoToSlot(int slot);

  // ---- The games of the Window menu.
  void OpenNewGame();
  // Closes the current game and returns the type of the one now current;
  // -1, with nothing closed, when it is the only open game.
  int CloseCurrentGame();
  // The type of the game made current, or -1 for a closed or unknown index.
  int SelectGame(int index);
  struct TWindowEntry {
    int index;
    std::string title;
    bool current;
  };
  std::vector<TWindowEntry> WindowMenu() const;
  int OpenGameCount() const;

  // ---- The header as the game information dialog edits it.
  TQuickGameHeader Header() const;
  // The tree fields stay the game's own, whatever the dialog held.
  void SetHeader(const TQuickGameHeader& header);

  // ---- Set-up: the board of the current game edited square by square.
  // The game is emptied around its current position, which becomes the
  // board to edit.
  void BeginSetup();
  // 1 left (next piece), 2 right (previous piece), 3 middle (empty).
  void SetupClick(int square, int button, int type);
  void SetSetupBoard(const TBoard& board);
  // The edited board becomes the game's start position.
  void FinishSetup(TDColor side, int firstMoveNumber, int type);

  // "2+7 vs 9  (+3)": kings and men of both sides and the tempo balance.
  std::string MaterialLine(int type) const;

 private:
  class RefreshObserver final : public TGameObserver {
   public:
    explicit RefreshObserver(TRefreshRequests& refresh) : refresh_(refresh) {}
    TNewMoveChoice AskNewMove(const std::vector<std::string>&, int) override { return answer; }
    void RequestRefresh(const TGame&, uint32_t what) override;
    TNewMoveChoice answer{TNewMoveAnswer::newVariation, -1};

   private:
    TRefreshRequests& refresh_;
  };

  mutable std::mutex mutex_;
  TOpenGames games_;
  RefreshObserver observer_;
};

}  // namespace kestrel
