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
};

// The options that belong to pattern training only (--games-file,
// --out-weights, --start-weights, --skip-plies); the self-play options,
// --variant, --seed and --epochs are the tune command's own.
void AddPatternTuneOptions(CLI::App* cmd, TPatternTuneArgs& args);
int RunPatternTune(const TPatternTuneArgs& args);

}  // namespace kestrel::cli
