// The engine settings of every variant as the program plays with them: the
// choices of the settings file and the evaluation function of the chosen
// engine file.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "app/settings/settings.h"
#include "engine/engine_params.h"
#include "rules/game_types.h"

namespace kestrel {

using TVariantEngines = std::array<TEngineParams, GameTypeCount + 1>;

// One variant: the engine file named in the settings, or "<Name>.eng" when
// that file does not exist; without either the built-in default function.
// A damaged file is not played: the built-in function plays under its own
// name, and `problem` says which file and line were at fault.
TEngineParams LoadVariantParams(const Settings& settings, const std::filesystem::path& programFolder, int type,
                                std::string* problem = nullptr);
TVariantEngines LoadAllVariantParams(const Settings& settings, const std::filesystem::path& programFolder);

// The generation that really plays the variant with these settings.
uint8_t PlayingGeneration(const TEngineParams& params, int type);
// "Kestrel 3.0" or "Kestrel 2.11".
std::string EngineLabel(const TEngineParams& params, int type);
// The engine file name shown beside the label; empty for the older engine.
std::string EngineFileLabel(const TEngineParams& params, int type);

}  // namespace kestrel
