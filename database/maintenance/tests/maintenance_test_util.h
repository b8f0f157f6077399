// A database of numbered random games for the maintenance tests: game i
// carries "game i" as its game comment, so it can be recognised wherever
// a command moves it.
#pragma once

#include <random>
#include <string>

#include "database/names_file.h"
#include "database/tests/db_test_util.h"

namespace kestrel::testing {

inline TGame NumberedRandomGame(int i, std::mt19937& rng) {
  const int type = 1 + static_cast<int>(rng() % GameTypeCount);
  TGame game = RandomGame(type, rng, {.legal = false, .additions = 5 + static_cast<int>(rng() % 40)});
  game.CommentsAft[0] = "game " + std::to_string(i);
  return game;
}

// `count` games written to a fresh database `name` in `dir`.
inline void FillDatabase(const TempDir& dir, TKestrelDB& db, int count, unsigned seed,
                         const std::string& name = "games") {
  FreshDatabase(dir, db, name);
  std::mt19937 rng(seed);
  for (int i = 1; i <= count; ++i) {
    TGame g = NumberedRandomGame(i, rng);
    WriteDBGame(g, 0, db, false);
  }
  SaveDBNames(db);
}

// The game comment of game n ("game i"), or "?" when it cannot be read.
inline std::string GameTag(TKestrelDB& db, int32_t n) {
  TGame g;
  return ReadDBGame(db, n, false, g) ? g.CommentsAft[0] : "?";
}

}  // namespace kestrel::testing
