// "Append": games of the database merged into the game on the main board as
// variations, from the position where each one is to be shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "game/game.h"

namespace kestrel {

inline constexpr std::string_view CannotAddText = "Cannot Add";
inline constexpr std::string_view TooLargeQuantityText = "Too large quantity ";
// The main window loads at most this many selected games as one tree.
constexpr int32_t MaxGamesLoadedAsOneTree = 500;

struct TAppendResult {
  bool added = false;     // false: "Cannot Add"
  bool reversed = false;  // the moves went in mirrored
  int32_t lastNode = 0;   // the node the comment went to
};

// Merges the main line of `source` after slot `startSlot` into `target`:
// below the last node (depth first from the start) whose position is the
// source's position after `startSlot`, or that position with the colours
// reversed, in which case every move is mirrored. The comment of the last
// node reached gets the result, the players, tournament, year and
// " [Reversed]". `resultStyle` is the result style of the list texts.
TAppendResult AppendGameInto(TGame& target, const TGame& source, int startSlot, int resultStyle = 0);

// The entries Append takes: the selected ones in list order, else the cursor's.
std::vector<TDBListRec> EntriesToAppend(const TKestrelDB& db, const TGameList& list);

struct TAppendReport {
  int32_t added = 0;
  std::vector<std::string> messages;  // "Cannot Add" per skipped game
};

// Reads each entry's game and appends it from its found position (the
// stored ShowFrom when none).
TAppendReport AppendEntries(TKestrelDB& db, const std::vector<TDBListRec>& entries, TGame& target,
                            int resultStyle = 0);

}  // namespace kestrel
