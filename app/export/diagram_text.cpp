#include "app/export/diagram_text.h"

#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

bool SideZeroIsBlack(int type) { return type == gtEnglish || type == gtPool; }

char PieceChar(int code) {
  switch (code) {
    case WhiteMan: return diagram_char::WhiteMan;
    case WhiteKing: return diagram_char::WhiteKing;
    case BlackMan: return diagram_char::BlackMan;
    case BlackKing: return diagram_char::BlackKing;
    default: return diagram_char::DarkSquare;
  }
}

}  // namespace

TDiagramLayout RtfDiagramLayout(int type, bool showJamaican, bool poolWhiteBottom) {
  TDiagramLayout layout;
  layout.mirrored = type == gtItalian || type == gtSpanish || (type == gtPool && showJamaican);
  layout.swapColours = type == gtEnglish || (type == gtPool && !poolWhiteBottom);
  return layout;
}

TDiagramLayout TextDiagramLayout(int type) {
  return {type == gtItalian || type == gtSpanish, SideZeroIsBlack(type)};
}

TDiagramSize DiagramSize(int type) {
  switch (IsValidGameType(type) ? GameTypes[type].SquareCount : 32) {
    case 40: return {8, 10};
    case 50: return {10, 10};
    case 72: return {12, 12};
    default: return {8, 8};
  }
}

std::vector<std::string> DiagramRows(const TBrd& board, int type, const TDiagramLayout& layout) {
  if (!IsValidGameType(type)) type = gtRussian;
  const TDiagramSize size = DiagramSize(type);
  const int perRow = size.columns / 2;
  const int squares = GameTypes[type].SquareCount;
  // Mirrored boards have the light square in the corner.
  std::vector<std::string> rows(size.rows, std::string(size.columns, diagram_char::LightSquare));
  for (int r = 0; r < size.rows; ++r)
    for (int c = 0; c < size.columns; ++c)
      if (((r + c) % 2 == 1) != layout.mirrored) rows[r][c] = diagram_char::DarkSquare;
  for (int i = 1; i <= squares; ++i) {
    const int row = size.rows - 1 - (i - 1) / perRow;
    const int within = (i - 1) % perRow;
    int column = 2 * (layout.mirrored ? perRow - 1 - within : within);
    if ((row % 2 == 0) != layout.mirrored) ++column;
    const int code = layout.swapColours ? -board[i] : board[i];
    rows[row][column] = PieceChar(code);
  }
  return rows;
}

std::vector<std::string> FramedDiagramLines(const TBrd& board, int type, const TDiagramLayout& layout) {
  const std::vector<std::string> rows = DiagramRows(board, type, layout);
  const size_t columns = rows.empty() ? 0 : rows[0].size();
  std::vector<std::string> lines;
  lines.reserve(rows.size() + 2);
  lines.push_back(diagram_char::TopLeft + std::string(columns, diagram_char::TopEdge) + diagram_char::TopRight);
  for (const std::string& row : rows) lines.push_back(diagram_char::LeftEdge + row + diagram_char::RightEdge);
  lines.push_back(diagram_char::BottomLeft + std::string(columns, diagram_char::BottomEdge) +
                  diagram_char::BottomRight);
  return lines;
}

std::string TextDiagram(const TBrd& board, int type) {
  std::string text;
  for (const std::string& line : FramedDiagramLines(board, type, TextDiagramLayout(type))) text += line + "\r\n";
  return text;
}

std::string PositionInWords(const TBrd& board, TDColor sideToMove, int type, const TPositionWords& words) {
  if (!IsValidGameType(type)) type = gtRussian;
  // English and Pool call side 0 "Black"; the sentence names sides as the
  // board does.
  const bool exchanged = SideZeroIsBlack(type);
  const bool whiteToMove = (sideToMove == TDColor::white) != exchanged;
  std::string text = (whiteToMove ? words.whiteMoves : words.blackMoves) + ": ";
  const auto pieces = [&](int sign) {
    std::string list;
    for (int square = 1; square <= GameTypes[type].SquareCount; ++square) {
      const int code = board[square] * sign;
      if (code <= 0) continue;
      if (!list.empty()) list += ',';
      if (code == WhiteKing) list += 'K';
      list += SquareText(square, type, 1);
    }
    return list;
  };
  text += (exchanged ? words.black : words.white) + " " + pieces(1);
  text += "; " + (exchanged ? words.white : words.black) + " " + pieces(-1);
  return text;
}

}  // namespace kestrel
