// Breeding evaluation functions for engine matches: a child takes each
// pattern and parameter from one parent or the other (or their average) and
// then some random mutations.
#pragma once

#include <random>

#include "engine/evaluation.h"

namespace kestrel {

// Makes `child` a combination of `a` and `b` and compiles it. `dynamicFlag`
// allows mutations of the search parameters (condition codes, margins),
// `staticFlag` those of the patterns and evaluation parameters; `stage` is
// the stage mutated, 0..3, or 4 for one drawn at random. `child` may be the
// same object as `a` or `b`. The stage bounds of the child always decrease
// strictly from stage 0 to stage 3.
void CrossEvalFuncs(const TEvalFuncNew& a, const TEvalFuncNew& b, TEvalFuncNew& child, bool dynamicFlag,
                    bool staticFlag, int stage, std::mt19937& rng);

// Makes P(0, 9) > P(1, 9) > P(2, 9) > P(3, 9), keeping the bound of stage
// `keep` and moving the others as little as needed.
void RepairStageBounds(TEvalFuncNew& func, int keep);

}  // namespace kestrel
