// The values of the "Engine settings" dialog and what confirming it does:
// the engine stops, every variant takes its generation, engine file and book,
// the hash table is re-sized and the endgame cache starts afresh.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/settings/settings.h"
#include "rules/game_types.h"

namespace kestrel {

class TPlayController;

struct TEngineSettingsValues {
  std::array<VariantSettings, GameTypeCount + 1> variants;  // by game type
  int bookLevel = 1;
  std::string edPath;
  int hashMegabytes = 16;
  int edbMegabytes = 128;
};

TEngineSettingsValues EngineSettingsFrom(const Settings& settings);

// The largest hash size offered: half the machine's memory, at most four
// digits, never below the minimum.
int MaxHashMegabytes(uint64_t totalPhysicalBytes);

struct TEngineSettingsOutcome {
  bool hashFailed = false;             // the previous table was kept
  std::vector<std::string> problems;   // damaged engine files, a failed table
};

struct TEngineSettingsHooks {
  // Re-sizes the transposition table; false when the memory is not there.
  // Empty: the controller's engine.
  std::function<bool(uint64_t megabytes)> allocateHash;
  // The endgame cache for a new folder or size; empty: the controller's.
  std::function<void(const std::string& folder, int megabytes)> resetEndgameCache;
};

// Confirms the dialog: stops the engine and waits, stores the values in the
// settings, reloads the engine settings of every variant (a damaged engine
// file is reported and the built-in function plays), reopens the current
// variant's book, re-sizes the hash table when its size changed (a failed
// allocation is reported, the old table and size are kept) and resets the
// endgame cache.
TEngineSettingsOutcome ApplyEngineSettings(TPlayController& controller, const TEngineSettingsValues& values,
                                           const TEngineSettingsHooks& hooks = {});

}  // namespace kestrel
