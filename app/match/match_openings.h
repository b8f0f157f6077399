// Where the games of a match start: random legal lines from the start
// position, the games of a database (their start positions and main lines),
// or a ballot database of the program folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"
#include "rules/board.h"
#include "rules/move.h"

namespace kestrel {

struct TOpening {
  TBoard board;                 // the position the line starts from
  TDColor side = TDColor::white;
  int firstMoveNumber = 1;
  std::vector<TMove> moves;     // played before the engines take over
};

// The seed runs use unless told otherwise, so that they repeat.
inline constexpr uint64_t DefaultOpeningSeed = 20261209;

// `count` different random lines of `plies` legal moves from the start
// position of `gametype` (fewer when the variant has fewer such lines).
std::vector<TOpening> RandomOpenings(int gametype, int count, int plies, uint64_t seed);

// The opening of a game: its start position and its main line.
TOpening OpeningOfGame(const TGame& game);

// Every game of the database at `path`. nullopt, with the reason in
// `error`, when it cannot be opened or holds no readable game.
std::optional<std::vector<TOpening>> DatabaseOpenings(const std::string& path, std::string& error);

// The ballot database of the variant under programFolder/Ballots/: kind
// "2move" or "full". Empty path (with `error`) for a variant without one.
std::filesystem::path BallotDatabasePath(const std::filesystem::path& programFolder, int gametype,
                                         const std::string& kind, std::string& error);

}  // namespace kestrel
