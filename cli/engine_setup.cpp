#include "cli/engine_setup.h"

#include <iostream>

#include "app/settings/program_folder.h"
#include "engine/bitboard.h"
#include "engine/gen2/gen2_patterns.h"
#include "engine/principal_variation.h"
#include "engine/score_text.h"
#include "rules/game_types.h"

namespace kestrel::cli {

std::optional<TEngineParams> VariantEngineParams(int gametype, int generation, const std::string& evalFile,
                                                 std::string& error) {
  TEngineParams params;
  if (generation < 0) {
    params.Engine = DefaultEngineGeneration(gametype);
  } else if ((generation == EngineNew && !HasNewEngine(gametype)) ||
             (generation == EngineGen2 && !HasGen2Engine(gametype))) {
    error = "engine " + std::to_string(generation) + " does not play " + std::string(GameTypeNames[gametype]);
    return std::nullopt;
  } else {
    params.Engine = static_cast<uint8_t>(generation);
  }
  if (params.Engine == EngineGen2) {
    // Its own weights; the engine file still serves when they are missing.
    const std::filesystem::path weights = gen2::DefaultWeightsPath(ProgramFolder(), gametype);
    std::error_code ec;
    if (std::filesystem::exists(weights, ec)) params.PatternWeights = weights;
  }
  TEngineFileResult read;
  if (evalFile.empty()) {
    const std::filesystem::path path = EngineFolder(ProgramFolder(), gametype) / DefaultEngineFileName(gametype);
    read = ReadEngine(path, params.EvalFunc);
    // Without its default file an engine still plays, if blind.
    if (read.status == TEngineFileResult::missing) {
      std::cerr << "warning: no engine file " << path.string() << ", every position evaluates as 0\n";
      return params;
    }
  } else {
    read = ReadEngine(evalFile, params.EvalFunc);
  }
  if (read.status == TEngineFileResult::missing) {
    error = "no engine file " + evalFile;
    return std::nullopt;
  }
  if (!read) {
    error = "cannot read the engine file " + evalFile + ": " + read.message;
    return std::nullopt;
  }
  params.EngineName = evalFile;
  return params;
}

std::optional<TEngineParams> CommandEngineParams(int gametype, int generation, const std::string& evalFile) {
  std::string error;
  auto params = VariantEngineParams(gametype, generation, evalFile, error);
  if (!params) std::cerr << error << "\n";
  return params;
}

bool AllocateHash(TEngine& engine, uint64_t hashMb) {
  if (engine.AllocateHashTable(hashMb)) return true;
  std::cerr << "cannot allocate " << hashMb << " MB of hash\n";
  return false;
}

std::optional<int> BitBoardVariant(const std::string& variant) {
  const auto type = ParseGameType(variant);
  if (!type) {
    std::cerr << "unknown variant " << variant << '\n';
    return std::nullopt;
  }
  if (!HasBitBoardForm(*type)) {
    std::cerr << GameTypeNames[*type] << " has no bitboard evaluation\n";
    return std::nullopt;
  }
  return type;
}

void PrintIteration(std::ostream& out, int depth, const TRootMove& best, const TSearchStats& stats, int gametype,
                    TDColor side) {
  out << "depth " << depth << " score " << ScoreText(best.score) << " nodes " << stats.counters.nodes << " nps "
      << stats.NodesPerSecond() << " time " << stats.elapsedMs << " pv "
      << PVText(best.pv, gametype, side, 1, false, PlainNotation, "x") << std::endl;
}

}  // namespace kestrel::cli
