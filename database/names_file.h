// The names file (.abn): one entry per line, CR LF, the first character
// saying the list: "^" players, "*" tournaments, "@" sites.
#pragma once

#include <string>
#include <string_view>

#include "database/kestrel_db.h"
#include "database/name_list.h"

namespace kestrel {

// Appends the entries of `text` to the three lists in line order. Lines may
// come in any order; other lines and empty lines are ignored. A bare LF also
// ends a line.
void ParseNamesFile(std::string_view text, TNameList& players, TNameList& tournaments, TNameList& sites);

// All player lines in list order, then the tournaments, then the sites.
std::string FormatNamesFile(const TNameList& players, const TNameList& tournaments, const TNameList& sites);

// Reads the names file of a database being opened into its three (empty)
// lists; raises TDatabaseError when the file cannot be read.
void LoadDBNames(TKestrelDB& db);

// When names were added since the last write, rewrites the names file in one
// piece (a crash leaves the old file or the new one) and clears DBChanged.
// Raises TDatabaseError when the file cannot be written; DBChanged then
// stays set.
void SaveDBNames(TKestrelDB& db);

// Brings the names file up to date before a header record that refers to
// names added since `before` (the list counts before they were added) is
// written: the new entries are appended when the file holds exactly the
// entries before them, else the file is rewritten. DBChanged stays set, so
// closing writes the file in its usual order. Raises TDatabaseError.
void WriteAddedNames(TKestrelDB& db, const std::array<int32_t, 3>& before);

// The counts of the three lists, players first.
std::array<int32_t, 3> NameCounts(const TKestrelDB& db);

}  // namespace kestrel
