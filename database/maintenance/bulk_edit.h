// Bulk edits of the selected games: header fields set at once ("Headers" ->
// "Set"), comments or variations removed. Names are added for the whole
// command and the names file written once, before any header that uses them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database/kestrel_db.h"
#include "database/maintenance/progress.h"

namespace kestrel {

// The checked fields of the "Headers Edit" dialog; unset ones stay as stored.
struct THeaderFields {
  std::optional<std::string> white, black, tournament, site, annotator;
  std::optional<uint8_t> result;
  std::optional<int32_t> round, subround;
  std::optional<uint8_t> day, month;
  std::optional<uint16_t> year;
};

// Reads "White=Name", "Round=3", "Year=1999" ... (field names as the dialog's,
// letter case ignored; "Game" is the subround). False with the reason in
// `error` for an unknown field or a value out of range.
bool ParseHeaderField(const std::string& assignment, THeaderFields& fields, std::string& error);

// Replaces the first "[#]" by the game number, the first "[@]" by the list
// position and the first "[$]" by the running count.
std::string ExpandHeaderPattern(std::string text, int32_t game, int32_t position, int32_t count);

// One selected entry: list position and game number.
struct TListEntry {
  int32_t position = 0;
  int32_t num = 0;
};

// Sets the fields of every entry's header, in the order given. Returns the
// number of headers written; raises TDatabaseError.
int32_t SetHeaders(TKestrelDB& db, const std::vector<TListEntry>& entries, const THeaderFields& fields);

// "Remove comments": every move comment emptied (glyphs and the game comment
// stay). "Remove variations": every continuation but the first of each
// main-line node freed. Unreadable games are skipped and counted.
struct TBulkReport {
  int32_t changed = 0;
  int32_t unreadable = 0;
};
TBulkReport RemoveComments(TKestrelDB& db, const std::vector<int32_t>& games, TProgress& progress = NoProgress());
TBulkReport RemoveVariations(TKestrelDB& db, const std::vector<int32_t>& games, TProgress& progress = NoProgress());

}  // namespace kestrel
