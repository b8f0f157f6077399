// Game ranges of the db commands: "all", "7", "3-9", or a comma-separated
// list of these ("1,4,10-12"); numbers from 1 to the database's size.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "database/kestrel_db.h"
#include "database/maintenance/index_rewrite.h"

namespace kestrel::cli {

// The game numbers in the order written, each once; nullopt with a message
// on stderr when the range cannot be read or lies outside 1..size.
std::optional<std::vector<int32_t>> ParseGameRange(const std::string& text, int32_t size);

// Runs a command that writes a database; a TDatabaseError becomes its
// message on stderr and ExitFailure.
int RunGuarded(const std::function<int()>& command);

// "N games removed; game numbers after them moved down", for commands that
// renumber.
void PrintRenumbering(const TRenumbering& r);

}  // namespace kestrel::cli
