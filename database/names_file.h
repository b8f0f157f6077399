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

}  // namespace kestrel
