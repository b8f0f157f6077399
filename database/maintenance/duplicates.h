// "Match games": groups of duplicate games. The game list becomes each
// group's first game followed by its later members, which are marked
// deleted. With "Fast" the games are sorted by their move keys and only
// runs of similar keys are compared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "database/maintenance/progress.h"
#include "game/game.h"

namespace kestrel {

struct TMatchOptions {
  bool names = false;
  bool year = false;
  bool tournament = false;
  bool moves = true;
  bool startPosition = true;
  bool fast = true;
  bool withoutCaptures = false;  // "w/o captions": captures left out of the move key
  bool partial = false;          // "Partial length": the shorter key a prefix of the longer
};

struct TDoubRec {
  std::string pos;
  std::string game;
  std::string names;
  std::string tourn;
  uint16_t year = 65535;
  bool checked = false;
  int32_t num = 0;
};

// The main line's moves in short notation, without separators; with
// `withoutCaptures` only the moves that capture nothing.
std::string MoveKey(const TGame& game, bool withoutCaptures);

// The record of a game that was read (an unreadable one is an empty game).
TDoubRec MakeDoubRec(const TGame& game, int32_t num, const TMatchOptions& options);

bool SimilarInMoves(const TDoubRec& a, const TDoubRec& b, bool partial);
bool RecordsMatch(const TDoubRec& a, const TDoubRec& b, const TMatchOptions& options);

// One list entry of the result: a game and whether it is a later member.
struct TMatchEntry {
  int32_t num = 0;
  bool duplicate = false;
};

// The grouping on records (entry order = game order); the records' `checked`
// marks are set. Runs with "Fast" on sorted records, else on all of them.
std::vector<TMatchEntry> GroupDuplicates(std::vector<TDoubRec>& records, const TMatchOptions& options);

struct TMatchResult {
  std::vector<TMatchEntry> entries;
  int32_t groups = 0;
  int32_t duplicates = 0;
  bool cancelled = false;
};

// Reads every game, groups, marks the later members deleted (unless
// `markDeleted` is off) and makes `list` the groups.
TMatchResult MatchGames(TKestrelDB& db, const TMatchOptions& options, TGameList& list, bool markDeleted = true,
                        TProgress& progress = NoProgress());

}  // namespace kestrel
