// The game type of PDN games that carry no GameType tag, found by reading
// them under every type their notation allows and keeping the type under
// which they are legal.
#pragma once

#include <string>
#include <vector>

#include "formats/pdn_source.h"

namespace kestrel {

struct TVariantChoice {
  bool detected = false;  // false: every game has a GameType tag (or none has moves)
  int type = 0;           // the type chosen
  int games = 0;          // untagged games tried
  int legal = 0;          // of those, read to the end under `type`
  bool allUntagged = true;
  bool sampled = false;   // only the first games of a long file were tried

  // "no GameType tag: read as Czech, all 40 games legal".
  std::string Explanation() const;
};

// Whether the game has a GameType tag with a known code.
bool HasGameTypeTag(const TPdnRawGame& raw);

// The candidate types for the games' notation: algebraic or numbered
// squares, and the highest number used.
std::vector<int> CandidateTypes(const std::vector<TPdnRawGame>& games);

// Reads the untagged games under each candidate type and chooses the one
// with most legal games, then most moves read, then `currentType`, then the
// order of the candidates.
TVariantChoice ChooseVariant(const std::vector<TPdnRawGame>& untagged, int currentType, bool allUntagged);

// The same for a whole file, trying at most `maxGames` untagged games.
// Raises TPdnFileError when the file cannot be read.
TVariantChoice DetectPdnVariant(const std::string& path, int currentType, int maxGames = 400);

}  // namespace kestrel
