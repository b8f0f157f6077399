// The pattern board of the "New search" dialog: six board choices drawn on a
// 260-pixel image, the square under a click, and what a click does to the
// pattern and to the combination squares.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "app/board/board_geometry.h"
#include "rules/board.h"

namespace kestrel {

inline constexpr int PatternImageSize = 260;

enum class TPatternBoardKind { b64, b64it, b64en, b80, b100, b144 };
inline constexpr std::array<std::string_view, 6> PatternBoardCaptions = {"64", "64 it", "64 en", "80", "100", "144"};

// Cells of 30 pixels on the 32-square boards, 24 on 40 and 50 squares (the
// 10 by 8 board drawn 24 pixels lower), 20 on 72 squares; a 10-pixel margin.
BoardGeometry PatternBoardGeometry(TPatternBoardKind kind);
// "64 it" numbers the squares from the other side, as the Italian board.
BoardOrientation PatternBoardOrientation(TPatternBoardKind kind);
int PatternSquareCount(TPatternBoardKind kind);
// The board choice that shows games of `type`.
TPatternBoardKind PatternBoardFor(int type);

// The square under a point of the 260-pixel image; nothing outside the board
// or on a light square.
std::optional<int> PatternSquareAt(TPatternBoardKind kind, int x, int y);

enum class TPatternButton { left, right, middle };

// The pattern being edited with its combination squares (-1: any).
struct TPatternState {
  TBrd board{};
  int32_t combFr = -1;
  int32_t combTo = -1;
  bool comb = false;  // "Combination:" checked: clicks set the squares
};

// With "Combination:" off the left button steps the square up (0, 1, 2,
// any, then 1 again; -2, -1, 0), the right one down (0, -1, -2, any, then
// -1 again; 2, 1, 0), the middle one switches between any and empty. With it
// on, the left button sets the start square and the right one the end
// square, a second click on the same square giving it back; the middle one
// clears whichever of the two is there.
void PatternClick(TPatternState& s, int square, TPatternButton button);

void ClearPattern(TPatternState& s);  // every square empty
void CleanPattern(TPatternState& s);  // every square any, no combination squares
// "Copy" (the main board) and "Start" (the choice's start position, the
// 12-man one on the 32-square boards): the position, "Combination:" off.
void SetPatternPosition(TPatternState& s, const TBrd& board);
TBrd PatternStartPosition(TPatternBoardKind kind);
// Checking "Combination:" cleans the pattern first.
void SetCombination(TPatternState& s, bool on);

}  // namespace kestrel
