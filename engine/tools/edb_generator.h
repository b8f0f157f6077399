// The endgame database generator: solves every table of a variant up to a
// number of pieces (or the tables of one split of pieces), in an order where
// every table a move can reach is solved first. Each table is solved into a
// working file in "GEN", then cleaned and compressed into its final file.
// Tables whose files exist are not solved again, so a stopped run resumes.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace kestrel {

struct TEdbGenOptions {
  int gametype = 1;
  std::filesystem::path root;  // the endgame folder (one folder per variant below it)
  int fullPieces = 0;          // every table with 2..fullPieces pieces, or
  int splitStrong = 0;         // the tables of one split (pieces of each side)
  int splitWeak = 0;
  int threads = 1;             // 1..16
  bool mtw = false;            // distance (MTW) tables instead of WDL
  bool compress = true;        // write the final files too
  bool skipResolvedCount = false;
  uint64_t memoryBudget = 2048ull << 20;  // for solved tables read back while solving
  std::function<void(const std::string&)> log;       // each log line
  std::function<void(const std::string&)> progress;  // the current step, often
  std::function<void(int done, int total)> tableDone;  // after each table (or mirror pair) of the plan
  const std::atomic<bool>* cancel = nullptr;         // stops between steps; nothing half-written stays
};

struct TEdbGenStats {
  bool ok = true;
  bool cancelled = false;
  std::string error;           // the message that ended the run
  uint64_t positions = 0;      // positions of the tables solved
  int tablesSolved = 0;
  int tablesSkipped = 0;       // already present
  int maxDistance = 0;         // MTW: the longest stored distance
  std::string maxPosition;     // and its position ("W:..., WK:..., B:..., BK:...")
  uint64_t runout = 0;         // MTW: positions won or lost beyond the longest storable distance
  uint64_t wrong = 0;          // positions whose final value contradicts their successors
  double seconds = 0;
};

TEdbGenStats GenerateEndgameTables(const TEdbGenOptions& options);

// The number of tables (a mirror pair counted once) a run of `options`
// goes through, solved or skipped: the `total` of `tableDone`.
int CountGenerationTables(const TEdbGenOptions& options);

// Folders of the generator's files for one variant and kind.
std::filesystem::path WorkingFolder(const std::filesystem::path& root, int gametype, bool mtw);

}  // namespace kestrel
