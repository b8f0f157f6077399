#include <algorithm>
#include <system_error>

#include "engine/bitboard_movegen.h"
#include "engine/engine_params.h"
#include "engine/generation_search.h"
#include "rules/game_types.h"

namespace kestrel {

namespace fs = std::filesystem;

fs::path EngineFolder(const fs::path& programFolder, int gametype) {
  fs::path folder = programFolder / "EvalFunc";
  if (IsValidGameType(gametype)) folder /= std::string(GameTypeNames[gametype]);
  return folder;
}

std::string DefaultEngineFileName(int gametype) {
  if (!IsValidGameType(gametype)) return {};
  return std::string(GameTypeNames[gametype]) + ".eng";
}

TEngineFileResult LoadVariantEngine(const fs::path& programFolder, int gametype, std::string_view engineName,
                                    TEvalFuncNew& func) {
  const fs::path folder = EngineFolder(programFolder, gametype);
  // The name comes from the settings file: only its file name counts, so it
  // cannot reach outside the variant's folder.
  const fs::path named = fs::path(engineName).filename();
  std::error_code ec;
  if (!named.empty() && named != "." && named != ".." && fs::exists(folder / named, ec))
    return ReadEngine(folder / named, func);
  return ReadEngine(folder / DefaultEngineFileName(gametype), func);
}

bool HasNewEngine(int gametype) { return HasBitBoardGenerator(gametype); }

bool HasGen2Engine(int gametype) { return HasNewEngine(gametype) && GenerationSearchFactory(EngineGen2) != nullptr; }

namespace {

// The variants where Kestrel 4 beat Kestrel 3.0 at one second a move by
// +100 Elo or more with 95% confidence; elsewhere a fresh settings file
// keeps Kestrel 3.0. International: +163 +- 37 over 252 games (see
// data/Patterns/MADE_BY.md); Russian and English lead by less at one second.
bool Gen2WonItsMatch(int gametype) { return gametype == gtInternational; }

}  // namespace

uint8_t DefaultEngineGeneration(int gametype) {
  if (HasGen2Engine(gametype) && Gen2WonItsMatch(gametype)) return EngineGen2;
  return HasNewEngine(gametype) ? EngineNew : EngineOld;
}

std::vector<std::string> EngineGenerationChoices(int gametype) {
  std::vector<std::string> choices{"Kestrel Thornby 2.11"};
  if (HasNewEngine(gametype)) choices.push_back("Kestrel Thornby 3");
  if (HasGen2Engine(gametype)) choices.push_back("Kestrel Thornby 4");
  return choices;
}

std::vector<std::string> ListEngineFiles(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = it->path().filename().string();
    if (!name.empty() && name.front() != '.') names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<fs::path> EditorSavePath(const fs::path& chosen) {
  const std::string base = chosen.stem().string();
  for (int t = 1; t <= GameTypeCount; ++t)
    if (base == GameTypeNames[t]) return std::nullopt;
  fs::path out = chosen;
  out.replace_extension(".eng");
  return out;
}

}  // namespace kestrel
