#include "rules/notation.h"

#include <algorithm>
#include <cctype>

#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/plain_text.h"

namespace kestrel {

const std::array<std::string_view, 33> AlgebraicNames8 = {
    "",
    "a1", "c1", "e1", "g1", "b2", "d2", "f2", "h2", "a3", "c3", "e3", "g3", "b4", "d4", "f4", "h4",
    "a5", "c5", "e5", "g5", "b6", "d6", "f6", "h6", "a7", "c7", "e7", "g7", "b8", "d8", "f8", "h8"};

// Ten files a..k without j.
const std::array<std::string_view, 41> AlgebraicNames10x8 = {
    "",
    "a1", "c1", "e1", "g1", "i1", "b2", "d2", "f2", "h2", "k2", "a3", "c3", "e3", "g3",
    "i3", "b4", "d4", "f4", "h4", "k4", "a5", "c5", "e5", "g5", "i5", "b6", "d6", "f6",
    "h6", "k6", "a7", "c7", "e7", "g7", "i7", "b8", "d8", "f8", "h8", "k8"};

int NotationMode = 0;
std::string TakeChar = "x";
bool PoolChessNotation = false;

namespace {

constexpr const char* ErrorText = "ERR";

bool SquareOnBoard(int square, int type) {
  return IsValidGameType(type) && square >= 1 && square <= GameTypes[type].SquareCount;
}

// The number a numeric type shows for a square; each is a one-to-one map of
// 1..SquareCount onto itself.
int SquareNumber(int square, int type) {
  const int n = square - 1;
  switch (type) {
    case gtItalian: return 32 - n;
    case gtInternational:
    case gtFrisian: return 46 - 5 * (n / 5) + n % 5;
    case gtSpanish: return square;
    case gtCanadian: return 67 - 6 * (n / 6) + n % 6;
    case gtThai: return 29 - 4 * (n / 4) + n % 4;
    default: return 4 * (n / 4) + 4 - n % 4;  // English, Pool
  }
}

std::string_view AlgebraicName(int square, int type) {
  if (GameTypes[type].SquareCount == 40) return AlgebraicNames10x8[square];
  return AlgebraicNames8[square];
}

// A move can be rendered only when every byte it uses names a square. The
// capture count is checked first so that a damaged count never leads past mv.
bool Renderable(const TMove& move, int type) {
  return IsValidGameType(type) && move.lt <= MaxCaptured && IsMoveInRange(move, type);
}

int ClampMode(int mode) { return std::clamp(mode, 0, 2); }

}  // namespace

bool IsAlgebraicType(int type) {
  switch (type) {
    case gtRussian:
    case gtBrazilian:
    case gtCzech:
    case gtSpantsiretti: return true;
    case gtPool: return PoolChessNotation;
    default: return false;
  }
}

std::string SquareText(int square, int type, int noPad) {
  if (!SquareOnBoard(square, type)) return ErrorText;
  if (IsAlgebraicType(type)) return std::string(AlgebraicName(square, type));
  const int number = SquareNumber(square, type);
  std::string text = std::to_string(number);
  if (number < 10 && noPad == 0) text.insert(0, "0");
  return text;
}

std::string MoveToText(const TMove& move, int type, int mode, std::string_view sep) {
  if (!Renderable(move, type)) return ErrorText;
  mode = ClampMode(mode);
  if (mode == 2 && (move.flags & (mfHideExtraShort | mfHideExtraShort2)) != 0) return {};
  // Two moves to one square from one file need the full start square.
  if ((move.flags & mfAmbiguousFile) != 0) mode = 0;

  const bool algebraic = IsAlgebraicType(type);
  std::string separator(sep);
  if (!sep.empty() && move.lt == 0) separator = (mode != 0 && algebraic) ? "" : "-";

  const int from = move.From();
  const int dest = move.To();
  const bool destUnique = (move.flags & mfUniqueTarget) != 0;
  if (algebraic) {
    const std::string destName(AlgebraicName(dest, type));
    if (mode == 2 && destUnique) return destName;
    const std::string_view fromName = AlgebraicName(from, type);
    if (mode == 0) return std::string(fromName) + separator + destName;
    return std::string(fromName.substr(0, 1)) + separator + destName;
  }
  if (mode == 2 && destUnique) return SquareText(dest, type, mode);
  return SquareText(from, type, mode) + separator + SquareText(dest, type, mode);
}

std::string MoveToTextPath(const TMove& move, int type, int mode, std::string_view sep) {
  if (!Renderable(move, type)) return ErrorText;
  if (move.lt == 0) return MoveToText(move, type, mode, sep);
  mode = ClampMode(mode);
  std::string text = SquareText(move.From(), type, mode);
  for (int k = 1; k <= move.lt; ++k) {
    text += sep;
    text += SquareText(move.mv[2 * k], type, mode);
  }
  return text;
}

std::string MoveToTextTaken(const TMove& move, int type) {
  if (!Renderable(move, type)) return ErrorText;
  if (move.lt == 0) return MoveToText(move, type, 0, "x");
  std::string text = SquareText(move.From(), type, 1) + "x" + SquareText(move.To(), type, 1);
  for (int k = 1; k <= move.lt; ++k) text += "x" + SquareText(move.mv[2 * k - 1], type, 1);
  return text;
}

int FindMoveByText(std::string_view text, int count, const TMoveList& list, int type) {
  const std::string wanted = Lowered(Trimmed(text));
  if (wanted.empty() || !IsValidGameType(type)) return 0;
  count = std::clamp(count, 0, MaxMoves);
  for (int i = 1; i <= count; ++i) {
    const TMove& m = list[i - 1];
    if (!Renderable(m, type)) continue;
    // The forms people type and files hold, most common first.
    const std::string renderings[] = {
        MoveToText(m, type, 0, "x"),     MoveToText(m, type, 0, ""),
        MoveToText(m, type, 1, "x"),     MoveToTextPath(m, type, 1, "x"),
        MoveToTextTaken(m, type),        MoveToTextPath(m, type, 0, "x"),
        MoveToText(m, type, 0, "-"),     MoveToText(m, type, 0, ":"),
        MoveToText(m, type, 0, ""),      MoveToTextPath(m, type, 0, ":"),
        MoveToText(m, type, 1, ":"),     MoveToText(m, type, 1, "-"),
        MoveToText(m, type, 1, ""),      MoveToTextPath(m, type, 1, ":"),
    };
    for (const std::string& r : renderings)
      if (r == wanted) return i;
  }
  return 0;
}

bool SameMoveResult(const TMove& a, const TMove& b) {
  if (a.From() != b.From() || a.To() != b.To() || a.lt != b.lt || a.lt > MaxCaptured) return false;
  std::array<uint8_t, MaxCaptured> ta{}, tb{};
  for (int k = 1; k <= a.lt; ++k) {
    ta[k - 1] = a.mv[2 * k - 1];
    tb[k - 1] = b.mv[2 * k - 1];
  }
  std::sort(ta.begin(), ta.begin() + a.lt);
  std::sort(tb.begin(), tb.begin() + b.lt);
  return ta == tb;
}

int FindUniqueMoveByText(std::string_view text, int count, const TMoveList& list, int type, bool& ambiguous) {
  ambiguous = false;
  const int found = FindMoveByText(text, count, list, type);
  if (found == 0) return 0;
  // Any later move that answers to the text and is another move makes it ambiguous.
  count = std::clamp(count, 0, MaxMoves);
  for (int i = found + 1; i <= count; ++i) {
    if (SameMoveResult(list[i - 1], list[found - 1])) continue;
    TMoveList rest;
    rest[0] = list[i - 1];
    if (FindMoveByText(text, 1, rest, type) == 1) {
      ambiguous = true;
      return 0;
    }
  }
  return found;
}

std::string UnambiguousMoveText(const TMove& move, const TMoveList& list, int count, int type, int mode,
                                std::string_view sep) {
  count = std::clamp(count, 0, MaxMoves);
  bool shared = false;
  for (int i = 0; i < count && !shared; ++i) {
    const TMove& other = list[i];
    shared = other.From() == move.From() && other.To() == move.To() && !SameMoveResult(other, move);
  }
  if (!shared || move.lt == 0) return MoveToText(move, type, mode, sep);
  // The path names the pieces taken: one between each two landings.
  return MoveToTextPath(move, type, mode == 2 ? 1 : mode, sep.empty() ? std::string_view(":") : sep);
}

std::string DisplayMoveText(const TMove& move, const TMoveList& list, int count, int type) {
  return UnambiguousMoveText(move, list, count, type, NotationMode, TakeChar);
}

std::string PlainMoveText(const TMove& move, const TMoveList& list, int count, int type) {
  // Numbers without padding come from the short mode; chess names stay whole.
  return UnambiguousMoveText(move, list, count, type, IsAlgebraicType(type) ? 0 : 1, "x");
}

std::string PlainMoveTextAt(const TMove& move, const TBoard& board, TDColor side, int type) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  return PlainMoveText(move, list, count, type);
}

}  // namespace kestrel
