// Finding the legal move a PDN move token means, and choosing the text the
// writer gives a move so that reading it finds that very move.
#pragma once

#include <string>
#include <string_view>

#include "rules/move.h"

namespace kestrel {

// Index 1..count of the first legal move that one of the renderings a PDN
// file may use gives as `token` (compared in lower case), or 0. Three passes
// over the list first, one per common form, then one pass trying every
// other form move by move. Pool tokens in the Russian square names are
// tried when nothing else matches.
int FindPdnMove(std::string_view token, const TMoveList& list, int count, int type);

// A capture written with its intermediate squares, "c3:e5:g7", as the
// from-to text "c3-g7"; nullopt-like empty text when the token has none of
// "-", ":" and "x".
std::string RebuiltCaptureToken(std::string_view token);

// The text the writer gives list[index - 1]: start and end square, or the
// whole path where that is ambiguous, or the captured pieces where even the
// path is; always a text FindPdnMove maps back to the same move when one
// exists. Square numbers carry no leading zeros.
std::string PdnMoveToken(const TMoveList& list, int count, int index, int type);
// The start-to-end text of a move that is not in the legal list.
std::string PdnMoveToken(const TMove& move, int type);

// "05-10" as "5-10".
std::string WithoutLeadingZeros(std::string_view text);

// Same start square, landing squares and captured pieces.
bool SameMoveExactly(const TMove& a, const TMove& b);

}  // namespace kestrel
