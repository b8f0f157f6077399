// The text of squares and moves, and the reader of typed move texts.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "rules/move.h"

namespace kestrel {

extern const std::array<std::string_view, 33> AlgebraicNames8;     // [1..32]
extern const std::array<std::string_view, 41> AlgebraicNames10x8;  // [1..40]

// Display settings (keys "Notation", "TakeChar", "PoolChessNotation").
// 0 full, 1 short, 2 extra short.
extern int NotationMode;
extern std::string TakeChar;
extern bool PoolChessNotation;

bool IsAlgebraicType(int type);

std::string SquareText(int square, int type, int noPad);
std::string MoveToText(const TMove& move, int type, int mode, std::string_view sep);
std::string MoveToTextPath(const TMove& move, int type, int mode, std::string_view sep);
std::string MoveToTextTaken(const TMove& move, int type);
// Index 1..count of the legal move meant by `text`, or 0.
int FindMoveByText(std::string_view text, int count, const TMoveList& list, int type);

}  // namespace kestrel
