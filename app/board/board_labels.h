// The texts written on the board picture: the labels in the margin around
// the playing area and the names of the squares.
#pragma once

#include <string>
#include <vector>

namespace kestrel {

struct EdgeLabel {
  std::string text;
  int x = 0, y = 0;  // top-left corner of the text on the 920-pixel image
};

// How the labels are set: numbers of the playable squares at the ends of the
// rows and columns, or row numbers and column letters.
struct EdgeLabelOptions {
  bool reversed = false;
  bool showJamaican = false;       // Pool only
  bool poolChessNotation = false;  // Pool only
};

std::vector<EdgeLabel> BoardEdgeLabels(int type, const EdgeLabelOptions& options);

// Points of the bold label font: larger for the letter-and-number boards of
// Russian, Brazilian and Czech.
int EdgeLabelPointSize(int type);
inline constexpr int SquareCaptionPointSize = 14;

// The name written on a square when coordinates are shown (no leading zero).
std::string SquareCaption(int square, int type, bool poolChessNotation);

}  // namespace kestrel
