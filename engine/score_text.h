// Scores as the user reads them: "1.25", "-0.05", "x3" (a forced win in
// three moves), "xN(4)" (an endgame database win).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

// The bounds of a score pair that stand for minus and plus infinity.
constexpr int16_t ScorePairOpen = 32000;

// A single score in hundredths of a man, seen by the side to move.
std::string ScoreText(int score);
// The score a ScoreText stands for (a win text gives a score that prints
// as the same text); false for any other text.
bool ReadScoreText(std::string_view text, int& score);
// A pair of bounds: one score when equal, ">" lower when the upper bound is
// open, "<" upper when the lower bound is open, else "lower..upper".
std::string ScorePairText(int lower, int upper);

}  // namespace kestrel
