#include "protocols/hub_notation.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

#include "protocols/standard_squares.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {

namespace {

char PieceChar(int8_t cell) {
  switch (cell) {
    case WhiteMan: return 'w';
    case WhiteKing: return 'W';
    case BlackMan: return 'b';
    case BlackKing: return 'B';
    default: return 'e';
  }
}

std::optional<int8_t> CellOf(char c) {
  switch (c) {
    case 'w': return WhiteMan;
    case 'W': return WhiteKing;
    case 'b': return BlackMan;
    case 'B': return BlackKing;
    case 'e': return Empty;
    default: return std::nullopt;
  }
}

// "28x17x22" -> {28, 17, 22}, remembering whether the separator was "x".
struct TMoveParts {
  std::vector<int> squares;
  bool capture = false;
};

std::optional<TMoveParts> SplitMove(std::string_view text) {
  TMoveParts parts;
  size_t pos = 0;
  while (pos <= text.size()) {
    int square = 0;
    const auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), square);
    if (ec != std::errc() || end == text.data() + pos) return std::nullopt;
    parts.squares.push_back(square);
    pos = static_cast<size_t>(end - text.data());
    if (pos == text.size()) break;
    const char sep = text[pos];
    if (sep == 'x' || sep == 'X' || sep == ':') {
      parts.capture = true;
    } else if (sep != '-' || parts.squares.size() != 1) {
      return std::nullopt;
    }
    ++pos;
  }
  if (parts.squares.size() < 2 || parts.squares.size() > 2 + MaxCaptured) return std::nullopt;
  if (!parts.capture && parts.squares.size() != 2) return std::nullopt;
  return parts;
}

}  // namespace

std::string HubPositionText(const TBoard& board, TDColor side, int type) {
  std::string text(1, side == TDColor::white ? 'W' : 'B');
  const int count = GameTypes[type].SquareCount;
  for (int h = 1; h <= count; ++h) text += PieceChar(board.b[ProgramSquare(h, type)]);
  return text;
}

std::optional<THubPosition> ParseHubPosition(std::string_view text, int type, std::string& error) {
  const int count = GameTypes[type].SquareCount;
  if (static_cast<int>(text.size()) != count + 1) {
    error = "a position has " + std::to_string(count + 1) + " characters";
    return std::nullopt;
  }
  THubPosition p;
  if (text[0] == 'W' || text[0] == 'w') {
    p.side = TDColor::white;
  } else if (text[0] == 'B' || text[0] == 'b') {
    p.side = TDColor::black;
  } else {
    error = "the side to move is W or B";
    return std::nullopt;
  }
  int pieces[2] = {0, 0};
  for (int h = 1; h <= count; ++h) {
    const auto cell = CellOf(text[h]);
    if (!cell) {
      error = std::string("unknown piece '") + text[h] + "'";
      return std::nullopt;
    }
    const int square = ProgramSquare(h, type);
    if ((*cell == WhiteMan && IsPromotionSquare(square, TDColor::white, type)) ||
        (*cell == BlackMan && IsPromotionSquare(square, TDColor::black, type))) {
      error = "a man on its promotion rank at square " + std::to_string(h);
      return std::nullopt;
    }
    p.board.b[square] = *cell;
    if (*cell != Empty) ++pieces[*cell > 0 ? 0 : 1];
  }
  if (pieces[ColorIndex(Opponent(p.side))] == 0) {
    error = "the side not to move has no pieces";
    return std::nullopt;
  }
  return p;
}

std::string HubVariantName(int type) {
  if (type == gtInternational) return "normal";
  std::string name(GameTypeNames[type]);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

std::string HubMoveText(const TMove& move, int type) {
  std::string text = std::to_string(ProtocolSquare(move.From(), type));
  text += move.lt == 0 ? '-' : 'x';
  text += std::to_string(ProtocolSquare(move.To(), type));
  for (int square : CapturedProtocolSquares(move, type)) text += 'x' + std::to_string(square);
  return text;
}

std::optional<TMove> FindHubMove(std::string_view text, const TBoard& board, TDColor side, int type) {
  const auto parts = SplitMove(text);
  if (!parts) return std::nullopt;
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  removedoublemoves(count, list, board, type);
  std::vector<int> taken(parts->squares.begin() + 2, parts->squares.end());
  std::sort(taken.begin(), taken.end());
  const int from = ProgramSquare(parts->squares[0], type);
  const int to = ProgramSquare(parts->squares[1], type);
  std::optional<TMove> found;
  for (int i = 0; i < count; ++i) {
    const TMove& m = list[i];
    if (m.From() != from || m.To() != to || (m.lt > 0) != parts->capture) continue;
    if (!taken.empty()) {
      if (CapturedProtocolSquares(m, type) == taken) return m;
      continue;
    }
    if (found) return std::nullopt;  // ambiguous without the captured squares
    found = m;
  }
  return found;
}

}  // namespace kestrel
