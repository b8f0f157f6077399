// Self-play games for training evaluation functions, and the positions of
// those games labelled by their results. Any match player can play them
// (the program's engine, an external engine, another engine generation).
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include "app/match/match_game.h"
#include "app/match/match_runner.h"
#include "rules/board.h"
#include "rules/game_types.h"

namespace kestrel {

struct TSelfPlaySettings {
  int gametype = gtRussian;
  int games = 1000;
  int depth = 4;          // fixed depth: the games repeat exactly
  int concurrency = 1;    // threads; the games do not depend on it
  uint64_t seed = 1;      // of the random openings, one per game
  int openingPlies = 6;
  int maxPlies = 300;     // then a draw
};

// Plays the games, each between two fresh players from `player`, and
// answers them in their order whatever the concurrency. Games cut short by
// `stop` are left out. `progress` is called (from any worker, one call at a
// time) with the games finished so far.
std::vector<TPlayedGame> PlaySelfPlayGames(const TMatchEntry& player, const TSelfPlaySettings& settings,
                                           const std::function<void(int done, int total)>& progress = {},
                                           std::atomic<bool>* stop = nullptr);

// A position of a game with the side to move and the game's result for it.
struct TTrainingPosition {
  TBoard board;
  TDColor side = TDColor::white;
  float target = 0.5f;  // 1 the side to move won, 0.5 draw, 0 lost
  int ply = 0;          // from the game's start position
  bool scored = false;  // a player searched it in the game (not an opening move)
  int score = 0;        // that search's score, the side to move's view
  int game = 0;         // index of its game among the games labelled
};

struct TLabelOptions {
  int skipPlies = 8;      // the opening says little about the result
  bool quietOnly = true;  // no capture pending: the evaluation's own ground
};

// Positions of games with a result, in game order.
std::vector<TTrainingPosition> LabelPositions(const std::vector<TPlayedGame>& games, int gametype,
                                             const TLabelOptions& options = {});

}  // namespace kestrel
