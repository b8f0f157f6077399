// Games in and out of an open database.
#pragma once

#include <cstdint>
#include <string>

#include "database/kestrel_db.h"
#include "game/game.h"
#include "game/game_header.h"

namespace kestrel {

inline constexpr std::string_view UnsupportedGameTypeText = "Unsupported GameType.\rPlease, download new version!";

// The header record of game n (1..DBSize), an older record widened. False
// when there is no such record or it cannot be read.
bool ReadHeaderRecord(const TKestrelDB& db, int32_t n, TGameHeader& header);

// Writes the 88-byte record of game n (1..record count + 1) of a version-30
// database; raises TDatabaseError.
void WriteHeaderRecord(TKestrelDB& db, int32_t n, const TGameHeader& header);

// Reads game n into `game`. Unless `keepRecord`, the game is cleared first
// and the load-time adjustments run (Russian as Pool, the ballot text). False,
// with the game cleared and the reason in `message`, when the stored game is
// missing or damaged. A game of an unknown type reads as an empty game with
// UnsupportedGameTypeText in `message` and true.
bool ReadDBGame(TKestrelDB& db, int32_t n, bool keepRecord, TGame& game, std::string* message = nullptr);

// Stores `game` as game n (1..DBSize), or appends it when n is 0; returns
// the game number written. Sets the game's name indexes and derived header
// fields and marks its main line. With `saveNames` the names file is
// rewritten at once when a name was added. The blob is written before the
// header record that points to it. Raises TDatabaseError on a database that
// is not open in version 30, a bad game number, a game whose move tree is
// damaged, and input/output errors.
int32_t WriteDBGame(TGame& game, int32_t n, TKestrelDB& db, bool saveNames);

// Header and names of game n. False when there is no such game.
bool ReadQuickHeader(const TKestrelDB& db, int32_t n, TQuickGameHeader& header);

// Finds or adds the five names, sets their indexes in `header`, writes the
// names file when a name was added, and overwrites the header record of game
// n. The fields that locate and size the stored moves (Offset, Length,
// LastMove) keep their stored values, since the moves are not rewritten.
void WriteQuickHeader(TKestrelDB& db, int32_t n, TQuickGameHeader& header);

}  // namespace kestrel
