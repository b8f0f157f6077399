// A player of a match: anything that, given a position and the moves played
// from it, answers a move within limits. The program's own engine is one;
// external engines speaking a protocol plug in the same way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rules/board.h"
#include "rules/move.h"

namespace kestrel {

// What the mover may spend on one move. Every limit set applies.
struct TThinkLimits {
  int maxDepth = 0;          // deepest iteration; 0: no limit
  int64_t moveTimeMs = 0;    // fixed time for this move; 0: none
  // A running clock (when clockMs >= 0): what is left, the increment after
  // each move, and the moves until the next control (0: the rest of the game).
  int64_t clockMs = -1;
  int64_t incrementMs = 0;
  int movesToGo = 0;
  int moveNumber = 1;        // of the mover, from 1
};

struct TThinkReply {
  bool hasMove = false;
  TMove move;
  int depth = 0;
  int16_t score = 0;         // hundredths of a man, the mover's view
  uint64_t nodes = 0;
};

class TMatchPlayer {
 public:
  virtual ~TMatchPlayer() = default;
  // The name games are recorded under.
  virtual std::string Name() const = 0;
  // Prepares a new game of `gametype`; false (with `error`) when the player
  // cannot play it.
  virtual bool NewGame(int gametype, std::string& error) = 0;
  // The move for the position after `moves` played from `start` with
  // `startSide` to move.
  virtual TThinkReply Think(const TBoard& start, TDColor startSide, const std::vector<TMove>& moves,
                            const TThinkLimits& limits) = 0;
  // Asks a running Think to answer at once; callable from any thread.
  virtual void Stop() {}
};

}  // namespace kestrel
