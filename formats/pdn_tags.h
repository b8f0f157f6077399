// The tag section of a PDN game: the split of a tag line, the game-type
// codes, and the texts of results, dates and rounds in both directions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/game_header.h"

namespace kestrel {

struct TPdnTag {
  std::string key;  // trimmed, without a final "=", lower case
  std::string value;  // trimmed
};

// Key and value of a line "[Key "Value"]": the value lies between the first
// and the last double quote; a line without quotes splits at its first
// blank. Nothing for a line with neither.
std::optional<TPdnTag> SplitTagLine(std::string_view line);

// The number written in the GameType tag for a type, and back; a code no
// type uses gives nullopt.
int PdnGameTypeCode(int type);
std::optional<int> GameTypeFromPdnCode(int code);
// The code before the first "," of a GameType value ("20,W,10,10,N2,0").
std::optional<int> GameTypeFromTagValue(std::string_view value);

// Result code of a Result tag value; 0 for texts not in the table.
uint8_t ResultFromTagValue(std::string_view value);
// The text written for a result code in result style 0 ("1-0") or 1
// ("2-0"); a draw in style 0 is "1/2-1/2".
std::string PdnResultText(uint8_t result, int style);

// A result in the move text: the texts of the tag table without blanks, and
// "*". The scores "0-0" (both lost) and "1/2" that other programs write
// count too.
bool IsResultToken(std::string_view token);

// Date tag: "2012.05.17", "17.05.2012", "17-05-2012", "2012", "1841-??-??".
TGameDate DateFromTagValue(std::string_view value);
// A date text that DateFromTagValue reads back to the same date.
std::string PdnDateText(const TGameDate& date);

// Round tag "3" or "3.2": round and subround, each modulo 256.
void RoundFromTagValue(std::string_view value, int32_t& round, int32_t& subround);
std::string PdnRoundText(int32_t round, int32_t subround);

// The whole text as a decimal integer (a sign allowed); 0 when it is not one
// or does not fit.
int64_t PdnInteger(std::string_view text);

std::string_view TrimBlanks(std::string_view text);

}  // namespace kestrel
