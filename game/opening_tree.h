// The opening tree of a position: every legal move with what the book knows
// of the position it leads to, classed and sorted for the book grid and for
// the engine's choice of a book move. It fills the game record's TOpenMoves,
// so it lives with the game record rather than with the book file.
#pragma once

#include <cstdint>
#include <random>

#include "engine/opening_book.h"
#include "game/open_moves.h"
#include "rules/board.h"
#include "rules/move.h"

namespace kestrel {

// Classes of tree entries (`col`).
constexpr uint8_t BookNotInBook = 0;
constexpr uint8_t BookWeak = 1;
constexpr uint8_t BookPlayable = 2;
constexpr uint8_t BookGood = 3;

// Book levels of "BookLevel".
constexpr int BookLevelBest = 0;
constexpr int BookLevelGood = 1;
constexpr int BookLevelNormal = 2;

// The book is consulted for play only with more pieces than this.
constexpr int BookMinPieces = 12;

inline constexpr const char* NoBookText = "<NO BOOK>";
inline constexpr const char* MissingCommentText = "CBN file not exists!";

// The legal moves the tree numbers (`num` 1..count): the rules core's list
// with moves to the same position removed.
void BookMoveList(const TBoard& board, TDColor side, int type, TMoveList& list, uint8_t& count);

// BuildOpeningTree: one entry per legal move, looked up in `book` (which may
// be closed), classed and sorted best first.
void BuildOpeningTree(TOpeningBook& book, const TBoard& board, TDColor side, int type, TOpenMoves& tree);

// Entries of `tree` the engine may choose from at `level` (the k of
// ChooseBookMove).
int BookCandidateCount(const TOpenMoves& tree, int level);

// ChooseBookMove: `num` of a uniformly chosen candidate, or 0 when the
// engine is to search.
int ChooseBookMove(const TOpenMoves& tree, int level, std::mt19937& random);

// Rounds num / den to the nearest integer, halves to even (den > 0).
int RoundHalfEven(int64_t num, int64_t den);

}  // namespace kestrel
