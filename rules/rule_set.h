// The rules a generation runs under: a game type's record of switches and
// geometry, and the type number for the refinements that belong to one type
// only (the Italian order value, the Frisian king limit and counters).
#pragma once

#include "rules/game_types.h"

namespace kestrel {

struct TRuleSet {
  TGameTypeRec rec;
  int type = gtRussian;
};

inline TRuleSet RulesOf(int type) { return TRuleSet{GameTypes[type], type}; }

}  // namespace kestrel
