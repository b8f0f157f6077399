// One game between two match players: the opening is played, then the
// players move in turn under the match's limits until a rule, the clock or
// an adjudication ends it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/match/match_openings.h"
#include "app/match/match_player.h"
#include "app/match/match_stats.h"
#include "game/game.h"

namespace kestrel {

enum class TGameEnd : uint8_t {
  noMoves,       // the side to move has no legal move and loses
  repetition,
  noProgress,
  moveLimit,     // adjudicated a draw after the match's move limit
  endgameTable,  // adjudicated by an endgame table
  time,          // a clock fell below zero
  illegalMove,   // a player answered a move that is not legal, or none
  stopped,       // the match was stopped; no result
  startFailed,   // a player could not start the game; no result
};
const char* GameEndText(TGameEnd end);

struct TTimeSettings {
  int maxDepth = 0;           // 0: no depth limit
  int64_t moveTimeMs = 0;     // fixed time per move; 0: none
  // A clock per side when timeMs > 0: timeMs for every movesPerControl
  // moves (0: the whole game), plus incrementMs after each move.
  int64_t timeMs = 0;
  int64_t timeMs1 = 0;        // side 1's time when it differs (0: timeMs)
  int64_t incrementMs = 0;
  int movesPerControl = 0;
};

// A verdict on a position reached in a game (`side` to move): a result
// code, or nothing to leave the game running. The seam for endgame tables.
using TAdjudicator = std::function<std::optional<uint8_t>(const TBoard& board, TDColor side, int gametype)>;

struct TGameSettings {
  int gametype = 1;
  TTimeSettings time;
  int maxPlies = 1000;             // plies after the opening; then a draw
  TAdjudicator adjudicate;         // may be empty
  const std::atomic<bool>* stop = nullptr;
};

struct TPlayedGame {
  TOpening opening;
  std::vector<TMove> moves;             // after the opening
  std::vector<std::string> comments;    // one per move: "score/depth - seconds"
  std::vector<int> scores;              // one per move: the mover's search score
  uint8_t result = 0;                   // result code of the game header
  TGameEnd end = TGameEnd::stopped;
  std::array<int64_t, 2> clockMs{};     // left at the end (clocks only)
  std::string names[2];                 // side 0, side 1
  std::string error;                    // why a player could not start
};

TPlayedGame PlayMatchGame(TMatchPlayer& side0, TMatchPlayer& side1, const TOpening& opening,
                          const TGameSettings& settings);

// Wins, draws and losses of side 0 (`forSide0`) or side 1 in a result code;
// a win on time counts as a win, an unknown result as no game.
TMatchScore ScoreOfResult(uint8_t result, bool forSide0);

// The game as a record of the program: the opening's position, the moves
// as the main line with their comments, the names and the result.
TGame GameOfPlayed(const TPlayedGame& played, int gametype);

}  // namespace kestrel
