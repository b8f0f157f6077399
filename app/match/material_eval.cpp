#include "app/match/material_eval.h"

#include <string>

#include "engine/default_eval.h"
#include "rules/game_types.h"

namespace kestrel {

TEvalFuncNew MaterialEvalFunc(int gametype) {
  const TEvalFuncNew base = DefaultEvalFunc(gametype);
  TEvalFuncNew func;
  func.Name = std::string(GameTypeNames[gametype]) + " material";
  // What decides how the search runs stays; what scores positions beyond
  // counting pieces goes.
  constexpr TEvalParam kept[] = {prManValue,         prKingValue,         prExtensionSelf,      prReductionAlpha,
                                 prReductionBeta,    prRangeAlphaSelf,    prRangeAlphaOpponent, prRangeBetaSelf,
                                 prRangeBetaOpponent, prStageMinCount,    prExtensionOpponent,  prEndgameMinDraw,
                                 prEndgameMaxDraw,   prEndgameUseMaxDraughts};
  for (int s = 0; s < EvalStages; ++s)
    for (TEvalParam p : kept) func.P(s, p) = base.P(s, p);
  CompileEvalFunc(func);
  return func;
}

}  // namespace kestrel
