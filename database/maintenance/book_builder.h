// "Build tree": the positions reached in the games of a game list become
// records of an opening book, merged with the records the book already has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "database/maintenance/progress.h"
#include "engine/opening_book.h"
#include "game/game.h"

namespace kestrel {

// Counts saturate here instead of wrapping.
constexpr uint16_t BookCountCap = 65500;

struct TBookBuildOptions {
  int maxMoves = 255;  // 1..255: positions up to ply 2 x maxMoves
  int minPieces = 0;   // lines stop below this many pieces
  bool clearStatistics = false;
};

// The book sign a move's glyph means: glyphs "!!" "!" "!?" keep their
// number, the others move one up past sign 4 (no text); no glyph is sign 0,
// which shows no text either.
uint8_t BookSignOfGlyph(int glyph);

// Appends a record for every position of the game's tree (every variation)
// after the start, up to the limits; main-line positions carry the result.
void AddGamePositions(const TGame& game, const TBookBuildOptions& options, std::vector<TOpen>& out);

// Sorts by position and merges equal positions into one record: counts
// added and capped, the larger sign and comment number, the evaluation of
// the one record that has one (a book's own; games bring none).
void MergeBookRecords(std::vector<TOpen>& records, TProgress& progress = NoProgress());

struct TBookBuildReport {
  int32_t games = 0;
  int64_t positions = 0;  // records added from the games
  int64_t records = 0;    // records in the book written
  int32_t unreadable = 0;
  bool cancelled = false;  // the book was left as it was
};

// The games: the selected entries of `list` in order, all of them when none
// is selected. The book file is read (a missing or unreadable one counts as
// empty) and written whole in one piece; Cancel while the games are read
// leaves it untouched. An engine book open on the same file is closed first
// and opened again at the end, however the run ends. Raises TDatabaseError
// when the book cannot be written.
TBookBuildReport BuildBookFromDatabase(TKestrelDB& db, const TGameList& list, const std::string& bookPath,
                                       const TBookBuildOptions& options, TProgress& progress = NoProgress(),
                                       TOpeningBook* engineBook = nullptr);

}  // namespace kestrel
