// The default evaluation function of each variant, from which the shipped
// engine files data/EvalFunc/<Variant>/<Variant>.eng are written
// (`kestrel-cli engine-file defaults` regenerates them).
#pragma once

#include "engine/evaluation.h"

namespace kestrel {

// The compiled default function of the game type (1..12); an empty function
// for an invalid type.
TEvalFuncNew DefaultEvalFunc(int gametype);

}  // namespace kestrel
