// From header indexes to names and back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/kestrel_db.h"
#include "game/game.h"

namespace kestrel {

// What an index outside its list reads as.
inline constexpr std::string_view ErrorName = "ERROR!!!";

std::string PlayerNameOf(const TKestrelDB& db, int32_t index);
std::string SiteNameOf(const TKestrelDB& db, int32_t index);
// The entry with its game number masked.
std::string TournamentNameOf(const TKestrelDB& db, int32_t index);

// Replaces the game number after the first ", game " by x's, up to the first
// ";" when that comes later, else to the end; the length never changes. So
// the entries of one match show under one name.
std::string MaskGameNumber(std::string_view text);

// Sets the five name indexes of `header` from the names, adding the names
// that are not in their lists yet (DBChanged is then set).
void SetNameIndexes(TKestrelDB& db, TGameHeader& header, std::string_view white, std::string_view black,
                    std::string_view annotator, std::string_view tournament, std::string_view site);

}  // namespace kestrel
