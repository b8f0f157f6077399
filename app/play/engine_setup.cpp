#include "app/play/engine_setup.h"

#include "app/play/play_texts.h"
#include "engine/default_eval.h"
#include "engine/engine.h"
#include "engine/gen2/gen2_patterns.h"

namespace kestrel {

TEngineParams LoadVariantParams(const Settings& settings, const std::filesystem::path& programFolder, int type,
                                std::string* problem) {
  TEngineParams p;
  if (!IsValidGameType(type)) return p;
  const VariantSettings& v = settings.Variants[type];
  p.UseBook = v.UseBook;
  p.Book = v.Book;
  p.Engine = static_cast<uint8_t>(v.Engine == 0 ? EngineOld : v.Engine == EngineGen2 ? EngineGen2 : EngineNew);
  if (p.Engine == EngineGen2) {
    // Without its weights file Kestrel 4 evaluates with the engine file.
    const std::filesystem::path weights = gen2::DefaultWeightsPath(programFolder, type);
    std::error_code missing;
    if (std::filesystem::exists(weights, missing)) p.PatternWeights = weights;
  }
  p.EvalFunc = DefaultEvalFunc(type);
  // A named file that is not in the variant's folder falls back to the
  // variant's own file, and so does the name the settings will keep.
  std::string name = std::filesystem::path(v.EngineName).filename().string();
  std::error_code ec;
  if (name.empty() || name == "." || name == ".." || !std::filesystem::exists(EngineFolder(programFolder, type) / name, ec))
    name = DefaultEngineFileName(type);
  p.EngineName = name;
  const TEngineFileResult read = LoadVariantEngine(programFolder, type, name, p.EvalFunc);
  if (read.status == TEngineFileResult::error) {
    p.EvalFunc = DefaultEvalFunc(type);
    p.EngineName = p.EvalFunc.Name;
    if (problem)
      *problem = "Damaged engine file, reading stopped at " + read.message + "; the built-in function \"" + p.EvalFunc.Name + "\" plays instead.";
  }
  return p;
}

TVariantEngines LoadAllVariantParams(const Settings& settings, const std::filesystem::path& programFolder) {
  TVariantEngines all;
  for (int t = 1; t <= GameTypeCount; ++t) all[t] = LoadVariantParams(settings, programFolder, t);
  return all;
}

uint8_t PlayingGeneration(const TEngineParams& params, int type) { return SearchGeneration(params, type); }

std::string EngineLabel(const TEngineParams& params, int type) {
  return std::string(PlayingGeneration(params, type) == EngineNew ? EngineLabelNew : EngineLabelOld);
}

std::string EngineFileLabel(const TEngineParams& params, int type) {
  return PlayingGeneration(params, type) == EngineNew ? params.EngineName : std::string();
}

}  // namespace kestrel
