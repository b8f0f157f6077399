// The user's hands on the board: clicks that pick a legal move, moves typed
// on the keyboard, and clicks that change pieces while a position is set up.
// No window here: the main window feeds clicks and keys in and enters the
// move it gets back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/board.h"
#include "rules/move.h"

namespace kestrel {

// Mouse buttons as the board reports them.
enum class TClickButton : uint8_t { left = 1, right = 2, middle = 3 };

// The legal moves of `side`, duplicate captures removed.
struct TLegalMoves {
  TMoveList list{};
  uint8_t count = 0;
  bool captures() const { return count > 0 && list[0].lt > 0; }
};
TLegalMoves ListLegalMoves(const TBoard& board, TDColor side, int type);

// Squares a move passes: the from-square, then for a capture each taken
// piece followed by the landing square after it. At most 2 * MaxCaptured + 1.
struct TMoveSquares {
  std::array<uint8_t, 2 * MaxCaptured + 1> squares{};
  int count = 0;
};
TMoveSquares MoveSquares(const TMove& move);

// Clicks on the board, kept as a ring of the last 41 squares (0 = empty).
class TClickHistory {
 public:
  static constexpr int Size = 41;

  // Records a click on `square` and returns the number (1..count) of the one
  // legal move the recent clicks pick, or 0 while they still fit several or
  // none. A pick clears the history. Squares outside 1..72 are ignored.
  int Click(int square, const TLegalMoves& moves);
  void Clear();
  // The newest click first; 0 for an empty entry.
  int Recent(int age) const;

 private:
  int Pick(const TLegalMoves& moves) const;
  int PickByLandings(const TLegalMoves& moves) const;

  std::array<uint8_t, Size> squares_{};
  int index_ = 0;
};

// Characters typed on the main window since a typed move was last entered.
class TTypedMove {
 public:
  static constexpr char Backspace = 8;
  // Appends a character of code 32 or more; Backspace removes the last one.
  // Other control characters change nothing. True when the text changed.
  bool Key(char c);
  const std::string& Text() const { return text_; }
  void Clear() { text_.clear(); }
  // The number (1..count) of the legal move the text names, or 0.
  int Match(const TLegalMoves& moves, int type) const;
  // Every legal move the text names, one number for each different move:
  // two or more when it fits captures from and to the same squares that
  // take other pieces, and the user is to choose.
  std::vector<int> Candidates(const TLegalMoves& moves, int type) const;

 private:
  std::string text_;
};

// The piece code of `square` after a set-up click: left adds 1, right
// subtracts 1, middle empties. Codes wrap between -2 and 2, and a black man
// on White's back rank or a white man on Black's is stepped over.
int8_t SetupClickCode(int8_t code, int square, int type, TClickButton button);

// In analysis mode with "AutoCapture" a position with a single legal move
// has it played at once: that move, or nullptr when none is forced.
const TMove* ForcedFollowUp(const TLegalMoves& moves, bool analysisMode, bool autoCapture);

}  // namespace kestrel
