// The material-only evaluation of a variant: the men and kings values and
// the search parameters of its default function, no patterns and no
// positional terms. The baseline every tuned function has to beat.
#pragma once

#include "engine/evaluation.h"

namespace kestrel {

TEvalFuncNew MaterialEvalFunc(int gametype);

}  // namespace kestrel
