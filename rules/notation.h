// The text of squares and moves, and the reader of typed move texts.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "rules/board.h"
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

// The same, but a text that two different moves of the list answer to (two
// captures from and to the same squares taking other pieces, say "26x8")
// finds nothing and sets `ambiguous`; routes to one position are one move.
int FindUniqueMoveByText(std::string_view text, int count, const TMoveList& list, int type, bool& ambiguous);

// Whether two moves lead to the same position: same start, end and pieces
// taken, in whatever order.
bool SameMoveResult(const TMove& a, const TMove& b);

// MoveToText, unless another move of the list starts and ends on the same
// squares but takes other pieces: then the path, which names one move only.
std::string UnambiguousMoveText(const TMove& move, const TMoveList& list, int count, int type, int mode,
                                std::string_view sep);

// The text of a move in the windows (book grid, information panel, move
// choosers): the settings "Notation", "TakeChar" and "PoolChessNotation",
// made unambiguous against the legal moves of its position.
std::string DisplayMoveText(const TMove& move, const TMoveList& list, int count, int type);

// The one text of a move in machine-read output (bestmove, principal
// variations, perft --divide): squares without leading zeros, "x" for a
// capture, made unambiguous against the legal moves of its position.
std::string PlainMoveText(const TMove& move, const TMoveList& list, int count, int type);
// The same against the legal moves of `side` in `board`.
std::string PlainMoveTextAt(const TMove& move, const TBoard& board, TDColor side, int type);

}  // namespace kestrel
