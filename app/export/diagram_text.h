// Positions as characters of the "Kestrel Draughts" diagram font, and as a
// sentence: the text diagram of the clipboard and of RTF documents, and the
// position in words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/board.h"

namespace kestrel {

// Characters of the diagram font.
namespace diagram_char {
inline constexpr char TopLeft = '5', TopRight = '6', BottomLeft = '7', BottomRight = '8';
inline constexpr char TopEdge = '1', BottomEdge = '2', LeftEdge = '4', RightEdge = '3';
inline constexpr char LightSquare = ' ', DarkSquare = 'i';
inline constexpr char WhiteMan = 'f', WhiteKing = 'c', BlackMan = 'e', BlackKing = 'a';
}  // namespace diagram_char

// How squares are laid out: `mirrored` puts square 1 in the right-hand
// corner (Italian, Spanish, Jamaican Pool) and makes the corner square
// light; `swapColours` draws side 0 with the black pieces.
struct TDiagramLayout {
  bool mirrored = false;
  bool swapColours = false;
};

// RTF documents follow the board options; the clipboard's text diagram
// mirrors Italian and Spanish only and always swaps English and Pool.
TDiagramLayout RtfDiagramLayout(int type, bool showJamaican, bool poolWhiteBottom);
TDiagramLayout TextDiagramLayout(int type);

struct TDiagramSize {
  int rows = 8;
  int columns = 8;
};
TDiagramSize DiagramSize(int type);

// One string per row from the top, one character per cell, no frame.
std::vector<std::string> DiagramRows(const TBrd& board, int type, const TDiagramLayout& layout);

// The framed rows: top edge, each row between its edges, bottom edge.
std::vector<std::string> FramedDiagramLines(const TBrd& board, int type, const TDiagramLayout& layout);

// The clipboard's text diagram: the framed lines, each ended by CR LF.
std::string TextDiagram(const TBrd& board, int type);

// The words of the position sentence, from the language table.
struct TPositionWords {
  std::string whiteMoves = "White moves";
  std::string blackMoves = "Black moves";
  std::string white = "White";
  std::string black = "Black";
};

// "White moves: White 5,K9,22; Black 28,K30": the side to move, then each
// side's pieces in square order, kings marked "K". English and Pool call
// side 0 "Black".
std::string PositionInWords(const TBrd& board, TDColor sideToMove, int type, const TPositionWords& words = {});

}  // namespace kestrel
