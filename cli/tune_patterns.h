// Training the pattern weights of Kestrel 4: self-play games of Kestrel 4 at
// a fixed depth (or the games of PDN files), their quiet positions labelled
// with the game's result for the side to move, fitted by FitPatternWeights
// and written as a weights file.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::cli {

struct TPatternTuneArgs {
  std::string variant;
  std::vector<std::string> gamesFiles;  // PDN; none: self-play
  int games = 2000;                     // self-play
  int depth = 4;
  int openingPlies = 6;
  int concurrency = 1;
  std::string out;                      // default: the program's Patterns/<Variant>.k4w
  std::string start;                    // weights to start from; default: material only
  uint64_t seed = 1;
  int epochs = 40;
  int skipPlies = 8;                    // the opening plies are not learnt from
  std::string saveGames;                // PDN that receives the self-play games
  double scoreWeight = 0;               // see TFitOptions
  double l2 = -1;                       // negative: the fit's default
  double materialPull = 0;
  bool kingsOverMen = false;
  int holdOut = 0;
  std::string family = "diamonds";      // region family of the weights written
  int minCount = 0;
  std::string base = "none";            // "engine-file": weights that add to its evaluation
};

// The options that belong to pattern training only (--games-file,
// --out-weights, --start-weights, --skip-plies, --save-games, --hold-out,
// --material-pull, --kings-over-men, --family, --min-count, --base); the self-play options, --variant,
// --seed, --epochs, --score-weight and --l2 are the tune command's own.
// "0.5": the shortest text that reads back as the same number, for the
// recorded commands of both generations.
std::string WeightText(double w);

void AddPatternTuneOptions(CLI::App* cmd, TPatternTuneArgs& args);
int RunPatternTune(const TPatternTuneArgs& args);

}  // namespace kestrel::cli
