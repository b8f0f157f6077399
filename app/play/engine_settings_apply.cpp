#include "app/play/engine_settings_apply.h"

#include <algorithm>

#include "app/play/engine_setup.h"
#include "app/play/play_controller.h"
#include "rules/current_game_type.h"

namespace kestrel {

TEngineSettingsValues EngineSettingsFrom(const Settings& s) {
  TEngineSettingsValues v;
  v.variants = s.Variants;
  v.bookLevel = s.BookLevel;
  v.edPath = s.EDPath;
  v.hashMegabytes = s.KestrelMemory;
  v.edbMegabytes = s.EDBMemory;
  return v;
}

int MaxHashMegabytes(uint64_t totalPhysicalBytes) {
  constexpr int FourDigits = 9999;
  const uint64_t half = totalPhysicalBytes / 2 / (uint64_t{1} << 20);
  return static_cast<int>(std::clamp<uint64_t>(half, MinHashMegabytes, FourDigits));
}

TEngineSettingsOutcome ApplyEngineSettings(TPlayController& controller, const TEngineSettingsValues& values,
                                           const TEngineSettingsHooks& hooks) {
  TEngineSettingsOutcome outcome;
  // Nothing below may change under a running search.
  controller.StopAndWait();
  Settings& s = controller.settings();
  for (int t = 1; t <= GameTypeCount; ++t) {
    VariantSettings v = values.variants[t];
    if (!HasNewEngine(t)) v.Engine = 0;
    v.Engine = std::clamp(v.Engine, 0, MaxEngineGeneration);
    s.Variants[t] = v;
  }
  s.BookLevel = std::clamp(values.bookLevel, 0, 2);
  s.EDPath = values.edPath;
  s.EDBMemory = std::clamp(values.edbMegabytes, 1, MaxEDBMegabytes);
  for (std::string& problem : controller.ReloadVariantParams()) outcome.problems.push_back(std::move(problem));
  if (IsValidGameType(CurrentGameType)) controller.Book().BookIni(controller.VariantParams(CurrentGameType).Book);

  const int hash = std::max(values.hashMegabytes, MinHashMegabytes);
  if (hash != s.KestrelMemory) {
    const bool ok = hooks.allocateHash ? hooks.allocateHash(static_cast<uint64_t>(hash))
                                       : controller.Engine().AllocateHashTable(static_cast<uint64_t>(hash));
    if (ok) {
      s.KestrelMemory = hash;
    } else {
      outcome.hashFailed = true;
      outcome.problems.push_back("Not enough memory for a hash table of " + std::to_string(hash) +
                                 " MB; the table of " + std::to_string(s.KestrelMemory) + " MB is kept.");
    }
  }
  if (hooks.resetEndgameCache)
    hooks.resetEndgameCache(s.EDPath, s.EDBMemory);
  else
    controller.ResetEndgameCache();
  controller.Refresh().Request(rqStatusBar | rqBook);
  controller.PrepareEngine();
  return outcome;
}

}  // namespace kestrel
