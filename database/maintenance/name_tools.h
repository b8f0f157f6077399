// Tools on the name lists of a database: the tournament summary of a game
// list, the sorted player names, and three in-place repairs that change
// names without changing any index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_list.h"
#include "database/kestrel_db.h"

namespace kestrel {

struct TTournamentRow {
  std::string name;  // masked
  std::string site;
  int32_t year = 0;
  int32_t count = 0;
};

// One row per distinct name, site and year (compared exactly), in the
// order of first appearance.
std::vector<TTournamentRow> TournamentSummary(const TKestrelDB& db, const TGameList& list);

// The rows shown: count above `moreThan`, and a name when `hideBlanks`.
std::vector<TTournamentRow> ShownTournaments(const std::vector<TTournamentRow>& rows, int moreThan, bool hideBlanks);

// "Tournaments=N, games=M" under the grid (the two words from the language table).
std::string TournamentTotals(const std::vector<TTournamentRow>& shown, std::string_view tournamentsWord = "Tournaments",
                             std::string_view gamesWord = "games");

// The saved list: "No,name,site,year,count" per row, CR LF, no header line.
std::string TournamentListText(const std::vector<TTournamentRow>& shown);

// The path with its extension replaced by ".txt".
std::string TextFileName(const std::string& path);

// The player names sorted alphabetically ignoring case, one per line, CR LF.
std::string SortedNamesText(const TKestrelDB& db);

// "Correct names": a blank before every capital A..Z that is not the first
// character and does not follow a blank.
std::string CorrectName(std::string_view name);
// "Gambler Rename": cut before the first "game", drop a trailing " (зачет)"
// (Windows-1251), then trailing digits, blanks, "-", "." and ",".
std::string GamblerName(std::string_view name);
// Cyrillic letters of Windows-1251 to Latin ones.
std::string Transliterate(std::string_view name);

inline constexpr std::string_view TransliterateQuestion =
    "This will transliterate cyrillic names into latin.\rOperation cannot be undone! Continue?";

// The in-place tools on the lists of `db`; each returns the number of
// entries changed. Correct names and Transliterate leave the names file to
// the next save or close; Gambler Rename writes it at once.
int32_t CorrectPlayerNames(TKestrelDB& db);
int32_t GamblerRenameTournaments(TKestrelDB& db);
int32_t TransliterateNames(TKestrelDB& db);

}  // namespace kestrel
