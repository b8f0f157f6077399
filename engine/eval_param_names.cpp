#include "engine/evaluation.h"

namespace kestrel {

const std::array<std::string_view, EvalParamCount> EvalParamNames = {
    "man value",
    "king value (=/100*man)",
    "extension for self",
    "reduction alpha",
    "reduction beta",
    "range alpha self",
    "range alfa opponent",
    "range beta self",
    "range beta opponent",
    "min count draughts for stage",
    "extension for opponent",
    "side balance",
    "side balance extended",
    "EvalFunc compress (mod)",
    "EvFunc squeeze (by avg value)",
    "Kings - mainroad value",
    "Kings - double road value",
    "Kings - triple road value",
    "Endgame - min for draw",
    "EndGame - max for draw",
    "EndGame - use max draughts",
    "Use learning",
};

}  // namespace kestrel
