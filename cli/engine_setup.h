// What the engine commands share: the engine settings of a variant as the
// program would start with them, and the line printed per iteration.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "engine/engine.h"

namespace kestrel::cli {

// The variant's settings: `generation` (-1: the variant's default) and the
// evaluation function from `evalFile`, or when that is empty from the
// variant's default engine file in the program folder. A missing or
// unreadable named file, or a generation the variant does not have, gives
// nullopt and a message in `error`.
std::optional<TEngineParams> VariantEngineParams(int gametype, int generation, const std::string& evalFile,
                                                 std::string& error);
// The same with the message on stderr.
std::optional<TEngineParams> CommandEngineParams(int gametype, int generation, const std::string& evalFile);

// A hash table of `hashMb` MB for `engine`; false, with the message on
// stderr, when the memory cannot be had.
bool AllocateHash(TEngine& engine, uint64_t hashMb);

// The game type named by `variant` (a name or a number) when it has a
// bitboard evaluation; nullopt, with the message on stderr, otherwise.
std::optional<int> BitBoardVariant(const std::string& variant);

// "depth D score SCORE nodes N nps N time MS pv MOVES"
void PrintIteration(std::ostream& out, int depth, const TRootMove& best, const TSearchStats& stats, int gametype,
                    TDColor side);

}  // namespace kestrel::cli
