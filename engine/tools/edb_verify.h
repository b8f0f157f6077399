// Checks solved endgame tables: every position's value against the values
// of its successors, and the final files against the working files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace kestrel {

struct TEdbVerifyStats {
  bool ok = true;        // every table present and consistent
  std::string error;     // a missing or unreadable table
  int tables = 0;
  uint64_t positions = 0;
  uint64_t wrong = 0;    // positions whose value contradicts their successors
  uint64_t mismatched = 0;  // final-file values that differ from the working file
  std::string firstWrong;   // table and index of the first wrong position
};

// Every table of `gametype` with 2..pieces pieces under `root`, of one kind.
TEdbVerifyStats VerifyEndgameTables(const std::filesystem::path& root, int gametype, int pieces, bool mtw,
                                    const std::function<void(const std::string&)>& progress = {});

// Calls `visit` for every table of `gametype` with 2..pieces pieces, the
// side to move's material first (both a table and its mirror are visited).
void ForEachEndgameTable(int gametype, int pieces, const std::function<void(uint32_t number)>& visit);

}  // namespace kestrel
