// Ballots: openings drawn at random from the ballot databases of the
// "Ballots" folder, for the 32-square game types.
#pragma once

#include <random>
#include <string>
#include <string_view>

#include "game/game.h"

namespace kestrel {

enum class TBallotKind : uint8_t { twoMove, full };

inline constexpr std::string_view BallotNotFoundText = "Not found Ballots database";  // language text 210

// The file of the table for the type and kind; empty when the type has none.
std::string_view BallotFileName(int type, TBallotKind kind);

// Tournament text of the cells that the Brazilian table leaves out.
inline constexpr std::string_view NotInBrazilianTable = " (not in the Brazilian table)";

// Whether a ballot game can open a game of `type`: every move of its main
// line is legal there, and it is not one of the cells the type's table
// leaves out. One file serves several types whose capture rules differ.
bool BallotServes(const TGame& ballot, int type);

// Draws a ballot for `type` from folder + the table's file: a game drawn
// uniformly among those that serve the type, read into `game`, played to the
// end of its main line, with database number 0 and the type set to `type`.
// False, with BallotNotFoundText in `message`, when the type has no such
// table or the database cannot be opened or holds no usable game; `game` is
// then untouched. A type that is not played on 32 squares has no ballots:
// false with an empty message.
bool DrawBallot(const std::string& folder, int type, TBallotKind kind, std::mt19937& rng, TGame& game,
                std::string* message = nullptr);

}  // namespace kestrel
