// Runs the games of a match or a round robin: every opening is played by
// every pair of entries twice, colours exchanged, on several threads at
// once. Each thread has its own players, so each running game has its own
// engines with their own tables.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/match/match_game.h"
#include "app/match/match_player.h"
#include "app/match/match_stats.h"

namespace kestrel {

struct TMatchEntry {
  std::string name;
  std::function<std::unique_ptr<TMatchPlayer>()> makePlayer;
};

struct TMatchOptions {
  TGameSettings game;
  std::vector<TOpening> openings;  // used in turn, from the first
  int gamesPerPair = 2;            // rounded up to pairs of games
  int concurrency = 1;
  std::optional<TSprt> sprt;       // two entries only: stop once decided
};

struct TFinishedGame {
  int number = 0;                  // 1-based, in schedule order
  int white = 0, black = 0;        // entry indices of side 0 and side 1
  int opening = 0;                 // index into the openings
  TPlayedGame played;
};

struct TMatchSummary {
  // scores[a][b]: entry a against entry b.
  std::vector<std::vector<TMatchScore>> scores;
  int gamesPlayed = 0;
  int timeLosses = 0;              // games lost because a clock fell
  bool stopped = false;            // by the stop flag
  std::string failure;             // a player that could not start ended the run
  TSprtDecision sprt = TSprtDecision::running;
  // Two entries: the first's points in the pairs of games both of whose
  // games counted (a pair cut short by a stop is left out).
  TPairCounts pairs;

  TMatchScore Total(int entry) const;
};

// One scheduled game: the opening and the entries on each side.
struct TScheduledGame {
  int opening = 0;
  int white = 0;
  int black = 0;
};
// Pairs of games for every pair of entries (a < b), openings in turn:
// a takes side 0 in the first game of a pair and b in the second.
std::vector<TScheduledGame> ScheduleRoundRobin(int entries, int openings, int gamesPerPair);

// Plays the match; `onGame` is called for every finished game, one call at
// a time, in the order games finish. `stop` (may be null) ends the run:
// running games end without a result and are not counted. A player that
// cannot start a game ends the run too, with `failure` saying which and why.
TMatchSummary RunMatch(const std::vector<TMatchEntry>& entries, const TMatchOptions& options,
                       const std::function<void(const TFinishedGame&, const TMatchSummary&)>& onGame,
                       std::atomic<bool>* stop = nullptr);

// The cross table of a round robin, one row per entry:
// "name  points/games  percent  | against each other entry".
std::string RoundRobinTable(const std::vector<TMatchEntry>& entries, const TMatchSummary& summary);

}  // namespace kestrel
