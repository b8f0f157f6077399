#include "app/search/pattern_board.h"

#include "database/search/search_info.h"
#include "rules/game_types.h"

namespace kestrel {

BoardGeometry PatternBoardGeometry(TPatternBoardKind kind) {
  switch (kind) {
    case TPatternBoardKind::b80: return {40, 10, 8, 5, 24, 10, 34, 250, 226, 0};
    case TPatternBoardKind::b100: return {50, 10, 10, 5, 24, 10, 10, 250, 250, 0};
    case TPatternBoardKind::b144: return {72, 12, 12, 6, 20, 10, 10, 250, 250, 0};
    default: return {32, 8, 8, 4, 30, 10, 10, 250, 250, 0};
  }
}

BoardOrientation PatternBoardOrientation(TPatternBoardKind kind) { return {false, kind == TPatternBoardKind::b64it}; }

int PatternSquareCount(TPatternBoardKind kind) { return PatternBoardGeometry(kind).squareCount; }

TPatternBoardKind PatternBoardFor(int type) {
  switch (IsValidGameType(type) ? GameTypes[type].SquareCount : 32) {
    case 40: return TPatternBoardKind::b80;
    case 50: return TPatternBoardKind::b100;
    case 72: return TPatternBoardKind::b144;
    default:
      if (type == gtItalian || type == gtSpanish) return TPatternBoardKind::b64it;
      if (type == gtEnglish || type == gtPool) return TPatternBoardKind::b64en;
      return TPatternBoardKind::b64;
  }
}

std::optional<int> PatternSquareAt(TPatternBoardKind kind, int x, int y) {
  return SquareAtImagePoint(x, y, PatternBoardGeometry(kind), PatternBoardOrientation(kind));
}

namespace {

int8_t StepUp(int8_t v) {
  switch (v) {
    case Empty: return WhiteMan;
    case WhiteMan: return WhiteKing;
    case WhiteKing: return AnySquare;
    case AnySquare: return WhiteMan;
    case BlackKing: return BlackMan;
    default: return Empty;  // a black man
  }
}

int8_t StepDown(int8_t v) {
  switch (v) {
    case Empty: return BlackMan;
    case BlackMan: return BlackKing;
    case BlackKing: return AnySquare;
    case AnySquare: return BlackMan;
    case WhiteKing: return WhiteMan;
    default: return Empty;  // a white man
  }
}

void Toggle(int32_t& at, int square) { at = at == square ? -1 : square; }

}  // namespace

void PatternClick(TPatternState& s, int square, TPatternButton button) {
  if (square < 1 || square > MaxSquares) return;
  if (s.comb) {
    switch (button) {
      case TPatternButton::left: Toggle(s.combFr, square); break;
      case TPatternButton::right: Toggle(s.combTo, square); break;
      case TPatternButton::middle:
        if (s.combFr == square) s.combFr = -1;
        if (s.combTo == square) s.combTo = -1;
        break;
    }
    return;
  }
  int8_t& v = s.board[square];
  switch (button) {
    case TPatternButton::left: v = StepUp(v); break;
    case TPatternButton::right: v = StepDown(v); break;
    case TPatternButton::middle: v = v == AnySquare ? Empty : AnySquare; break;
  }
}

void ClearPattern(TPatternState& s) { s.board.cells.fill(Empty); }

void CleanPattern(TPatternState& s) {
  s.board.cells.fill(AnySquare);
  s.combFr = s.combTo = -1;
}

void SetPatternPosition(TPatternState& s, const TBrd& board) {
  s.board = board;
  s.comb = false;
  s.combFr = s.combTo = -1;
}

TBrd PatternStartPosition(TPatternBoardKind kind) {
  switch (PatternSquareCount(kind)) {
    case 40: return InitialPosition(gtSpantsiretti).b;
    case 50: return InitialPosition(gtInternational).b;
    case 72: return InitialPosition(gtCanadian).b;
    default: return InitialPosition(gtRussian).b;
  }
}

void SetCombination(TPatternState& s, bool on) {
  if (on) CleanPattern(s);
  s.comb = on;
}

}  // namespace kestrel
