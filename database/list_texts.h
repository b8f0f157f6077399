// Texts of the database window: its caption, and the parts of a game-list row
// that come from the header record alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "game/game_header.h"

namespace kestrel {

// " Database X.abd (found 3/17)": the path, then "found " when the list is a
// search result, the number of selected entries and "/" when there are any,
// and the number of entries. The two words come from the language table.
std::string DatabaseCaption(const TKestrelDB& db, const TGameList& list, std::string_view databaseWord = "Database",
                            std::string_view foundWord = "found ");

// Result code 0..5 in result style 0 ("1-0") or 1 ("2-0"); "*" for unknown codes.
std::string_view ResultText(uint8_t result, int style);

// "P"/"p", "V"/"v", "C"/"c" for the summary bits that are set.
std::string FlagMarks(uint8_t flags);

// "YYYY", then ".MM.DD" when month or day is known; empty when nothing is.
std::string ListDateText(const TGameDate& date);

}  // namespace kestrel
