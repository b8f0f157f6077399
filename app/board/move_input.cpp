#include "app/board/move_input.h"

#include <algorithm>
#include <bitset>

#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {

TLegalMoves ListLegalMoves(const TBoard& board, TDColor side, int type) {
  TLegalMoves moves;
  GenerateMoveList(board, side, moves.list, type, moves.count);
  removedoublemoves(moves.count, moves.list, board, type);
  return moves;
}

TMoveSquares MoveSquares(const TMove& move) {
  TMoveSquares out;
  const int taken = std::min<int>(move.lt, MaxCaptured);
  out.count = taken == 0 ? 2 : 2 * taken + 1;
  for (int i = 0; i < out.count; ++i) out.squares[i] = move.mv[i];
  return out;
}

int TClickHistory::Click(int square, const TLegalMoves& moves) {
  if (square < 1 || square > MaxSquares) return 0;
  squares_[index_] = static_cast<uint8_t>(square);
  index_ = (index_ + 1) % Size;
  int pick = Pick(moves);
  if (pick == 0 && moves.captures()) pick = PickByLandings(moves);
  if (pick != 0) Clear();
  return pick;
}

void TClickHistory::Clear() {
  squares_.fill(0);
  index_ = 0;
}

int TClickHistory::Recent(int age) const {
  if (age < 0 || age >= Size) return 0;
  return squares_[(index_ - 1 - age + 2 * Size) % Size];
}

// Walks back from the newest click; each click must be found in the squares
// of a candidate not yet used up by a newer click, so that a square a capture
// passes twice needs two clicks.
int TClickHistory::Pick(const TLegalMoves& moves) const {
  const int count = std::min<int>(moves.count, MaxMoves);
  std::array<TMoveSquares, MaxMoves> work;
  std::bitset<MaxMoves> alive;
  for (int i = 0; i < count; ++i) {
    work[i] = MoveSquares(moves.list[i]);
    alive.set(i);
  }
  for (int age = 0; age < Size; ++age) {
    const int square = Recent(age);
    for (int i = 0; i < count; ++i) {
      if (!alive.test(i)) continue;
      TMoveSquares& w = work[i];
      auto* end = w.squares.begin() + w.count;
      auto* hit = square == 0 ? end : std::find(w.squares.begin(), end, static_cast<uint8_t>(square));
      if (hit == end) {
        alive.reset(i);
      } else {
        *hit = 0;  // used up; 0 never matches a click
      }
    }
    if (alive.count() <= 1) break;
  }
  if (alive.count() != 1) return 0;
  for (int i = 0; i < count; ++i)
    if (alive.test(i)) return i + 1;
  return 0;
}

// Captures that pass the same squares in another order: the start square and
// the landing squares clicked in order decide.
int TClickHistory::PickByLandings(const TLegalMoves& moves) const {
  const int count = std::min<int>(moves.count, MaxMoves);
  for (int i = 0; i < count; ++i) {
    const TMove& m = moves.list[i];
    const int taken = std::min<int>(m.lt, MaxCaptured);
    if (taken == 0 || taken + 1 > Size) continue;
    bool same = Recent(taken) == m.mv[0];
    for (int k = 1; same && k <= taken; ++k) same = Recent(taken - k) == m.mv[2 * k];
    if (same) return i + 1;
  }
  return 0;
}

bool TTypedMove::Key(char c) {
  if (c == Backspace) {
    if (text_.empty()) return false;
    text_.pop_back();
    return true;
  }
  if (static_cast<unsigned char>(c) < 32) return false;
  text_.push_back(c);
  return true;
}

int TTypedMove::Match(const TLegalMoves& moves, int type) const {
  if (text_.empty() || moves.count == 0) return 0;
  const int found = FindMoveByText(text_, moves.count, moves.list, type);
  return found >= 1 && found <= moves.count ? found : 0;
}

std::vector<int> TTypedMove::Candidates(const TLegalMoves& moves, int type) const {
  std::vector<int> found;
  if (text_.empty()) return found;
  const int count = std::min<int>(moves.count, MaxMoves);
  for (int i = 1; i <= count; ++i) {
    TMoveList one;
    one[0] = moves.list[i - 1];
    if (FindMoveByText(text_, 1, one, type) != 1) continue;
    // Two routes to one position are one move.
    bool same = false;
    for (int k : found) same = same || SameMoveResult(moves.list[k - 1], moves.list[i - 1]);
    if (!same) found.push_back(i);
  }
  return found;
}

int8_t SetupClickCode(int8_t code, int square, int type, TClickButton button) {
  if (!IsValidGameType(type)) return code;
  const int count = GameTypes[type].SquareCount;
  if (square < 1 || square > count) return code;
  if (button == TClickButton::middle) return Empty;
  const int step = button == TClickButton::left ? 1 : -1;
  const int perRank = BoardShape(type).squaresPerRank;
  auto advance = [step](int c) {
    c += step;
    if (c > WhiteKing) c = BlackKing;
    if (c < BlackKing) c = WhiteKing;
    return c;
  };
  int next = advance(std::clamp<int>(code, BlackKing, WhiteKing));
  const bool blackManOnFirstRow = next == BlackMan && square <= perRank;
  const bool whiteManOnLastRow = next == WhiteMan && square > count - perRank;
  if (blackManOnFirstRow || whiteManOnLastRow) next = advance(next);
  return static_cast<int8_t>(next);
}

const TMove* ForcedFollowUp(const TLegalMoves& moves, bool analysisMode, bool autoCapture) {
  if (!analysisMode || !autoCapture || moves.count != 1) return nullptr;
  return &moves.list[0];
}

}  // namespace kestrel
