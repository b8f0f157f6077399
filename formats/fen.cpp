#include "formats/fen.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

#include "rules/game_types.h"
#include "rules/notation.h"
#include "rules/plain_text.h"

namespace kestrel {

bool NamesExchanged(int type) { return type == gtEnglish || type == gtPool; }

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::vector<std::string_view> Split(std::string_view text, char sep) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(sep, start);
    if (at == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Every name a FEN square may be written with, lower case, to its square.
class SquareNames {
 public:
  explicit SquareNames(int type) : squareCount_(GameTypes[type].SquareCount) {
    for (int s = 1; s <= squareCount_; ++s) {
      // What the writer writes, so every written text reads back.
      names_.emplace(Lowered(SquareText(s, type, 1)), s);
      if (squareCount_ != 32) continue;
      names_.emplace(std::string(AlgebraicNames8[s]), s);
      // Files of chess-named types often number the squares instead: Pool as
      // English does, the others from Black's back rank, White on 21..32.
      const int n = s - 1;
      const int number = type == gtPool ? 4 * (n / 4) + 4 - n % 4 : 29 - 4 * (n / 4) + n % 4;
      if (IsAlgebraicType(type)) names_.emplace(std::to_string(number), s);
    }
  }

  // Squares named by `token` (a name, a number or a range "a-b" of numbers).
  std::optional<std::vector<int>> Parse(std::string_view token, std::string& error) const {
    const std::string lower = Lowered(token);
    if (AllDigits(lower)) {
      const std::optional<int> s = Number(lower, error);
      if (!s) return std::nullopt;
      return std::vector<int>{*s};
    }
    const size_t dash = lower.find('-');
    if (dash != std::string::npos) {
      const std::string_view first = Trimmed(std::string_view(lower).substr(0, dash));
      const std::string_view last = Trimmed(std::string_view(lower).substr(dash + 1));
      if (!AllDigits(first) || !AllDigits(last)) {
        error = "bad range " + Quoted(token);
        return std::nullopt;
      }
      const int a = ToInt(first), b = ToInt(last);
      if (a > b) {
        error = "bad range " + Quoted(token) + ": it runs downwards";
        return std::nullopt;
      }
      if (b > squareCount_ || a < 1) {
        error = "range " + Quoted(token) + " goes beyond the board";
        return std::nullopt;
      }
      std::vector<int> squares;
      for (int k = a; k <= b; ++k) {
        const std::optional<int> s = Number(std::to_string(k), error);
        if (!s) return std::nullopt;
        squares.push_back(*s);
      }
      return squares;
    }
    const auto it = names_.find(lower);
    if (it == names_.end()) {
      error = "unknown square " + Quoted(token);
      return std::nullopt;
    }
    return std::vector<int>{it->second};
  }

 private:
  // Numbers of more digits than any board needs are read as out of range.
  static int ToInt(std::string_view digits) {
    if (digits.size() > 6) return 1000000;
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
  }

  std::optional<int> Number(std::string_view digits, std::string& error) const {
    const int value = ToInt(digits);
    const auto it = names_.find(std::to_string(value));
    if (it != names_.end()) return it->second;
    if (value < 1 || value > squareCount_)
      error = "square " + std::string(digits) + " is not on the board";
    else
      error = "unknown square " + Quoted(digits);
    return std::nullopt;
  }

  int squareCount_;
  std::map<std::string, int> names_;
};

// One colour's list: "W", "W18,K19", "WK1-3,5".
bool ReadPieceList(std::string_view body, int8_t man, const SquareNames& names, int type, TBrd& brd,
                   std::string& error) {
  body = Trimmed(body);
  if (body.empty()) return true;
  for (std::string_view raw : Split(body, ',')) {
    const std::string_view token = Trimmed(raw);
    if (token.empty()) {
      error = "empty entry in a piece list";
      return false;
    }
    std::optional<std::vector<int>> squares;
    bool king = false;
    if (Upper(token.front()) == 'K') {
      const std::string_view rest = Trimmed(token.substr(1));
      if (rest.empty()) {
        error = "king without a square";
        return false;
      }
      std::string kingError;
      squares = names.Parse(rest, kingError);
      king = squares.has_value();
      // "k2" is a square of the 10x8 board, not a king on 2.
      if (!squares) squares = names.Parse(token, error);
      if (!squares) {
        error = kingError;
        return false;
      }
    } else {
      squares = names.Parse(token, error);
      if (!squares) return false;
    }
    for (int s : *squares) {
      if (brd[s] != Empty) {
        error = "square " + SquareText(s, type, 1) + " is given twice";
        return false;
      }
      brd[s] = static_cast<int8_t>(king ? 2 * man : man);
    }
  }
  return true;
}

// Extra fields some programs append, such as the move counters "H0" and "F1".
bool IsCounterField(std::string_view part) {
  return part.size() >= 2 && std::isalpha(static_cast<unsigned char>(part.front())) != 0 &&
         AllDigits(part.substr(1));
}

std::string PieceList(const TBrd& brd, int squareCount, bool white, int type) {
  std::string text;
  for (int s = 1; s <= squareCount; ++s) {
    const int8_t code = brd[s];
    const bool mine = white ? (code == WhiteMan || code == WhiteKing) : (code == BlackMan || code == BlackKing);
    if (!mine) continue;
    if (!text.empty()) text += ",";
    if (code == WhiteKing || code == BlackKing) text += "K";
    text += SquareText(s, type, 1);
  }
  return text;
}

std::optional<TFenPosition> Fail(std::string* error, std::string message) {
  if (error) *error = "FEN: " + std::move(message);
  return std::nullopt;
}

}  // namespace

std::string WriteFEN(const TBoard& board, TDColor firstMover, int type) {
  if (!IsValidGameType(type)) return {};
  const bool exchanged = NamesExchanged(type);
  const bool fileWhiteMoves = exchanged ? firstMover == TDColor::black : firstMover == TDColor::white;
  const int n = GameTypes[type].SquareCount;
  std::string text = fileWhiteMoves ? "W:" : "B:";
  text += exchanged ? "B" : "W";
  text += PieceList(board.b, n, true, type);
  text += exchanged ? ":W" : ":B";
  text += PieceList(board.b, n, false, type);
  text += ".";
  return text;
}

std::optional<TFenPosition> ReadFEN(std::string_view text, int type, std::string* error) {
  if (!IsValidGameType(type)) return Fail(error, "unknown game type " + std::to_string(type));
  text = Trimmed(text);
  if (text.empty()) return Fail(error, "empty text");

  const std::vector<std::string_view> parts = Split(text, ':');
  const std::string_view turn = Trimmed(parts[0]);
  if (turn.size() != 1 || (Upper(turn[0]) != 'W' && Upper(turn[0]) != 'B' && turn[0] != '?'))
    return Fail(error, "the side to move must be W or B, not " + Quoted(turn));

  const bool exchanged = NamesExchanged(type);
  TFenPosition position;
  if (Upper(turn[0]) == (exchanged ? 'W' : 'B')) position.firstMover = TDColor::black;

  const SquareNames names(type);
  bool seenW = false, seenB = false;
  for (size_t i = 1; i < parts.size(); ++i) {
    std::string_view part = Trimmed(parts[i]);
    if (!part.empty() && part.back() == '.') part = Trimmed(part.substr(0, part.size() - 1));
    if (part.empty()) continue;
    const char colour = Upper(part.front());
    if (colour != 'W' && colour != 'B') {
      if (IsCounterField(part)) continue;
      return Fail(error, "unknown part " + Quoted(part));
    }
    bool& seen = colour == 'W' ? seenW : seenB;
    if (seen) return Fail(error, std::string("the ") + colour + " pieces are listed twice");
    seen = true;
    const bool programWhite = (colour == 'W') != exchanged;
    std::string message;
    if (!ReadPieceList(part.substr(1), programWhite ? WhiteMan : BlackMan, names, type, position.board.b, message))
      return Fail(error, message);
  }
  if (!seenW || !seenB) return Fail(error, std::string("the ") + (seenW ? 'B' : 'W') + " piece list is missing");
  if (error) error->clear();
  return position;
}

}  // namespace kestrel
