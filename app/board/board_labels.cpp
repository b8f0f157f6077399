#include "app/board/board_labels.h"

#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

// One value of a label: a*i + b for the i-th label of an edge.
struct Linear {
  int a, b;
  int At(int i) const { return a * i + b; }
};

// One edge of a numbered board: where the i-th label goes along the edge and
// which number it shows on the normal and on the reversed board.
struct NumberedEdge {
  Linear along;
  Linear normal;
  Linear reversed;
};

// Top, bottom, left, right.
struct NumberedBoard {
  int count;
  NumberedEdge edges[4];
};

constexpr int TopY = 5, BottomY = 885, LeftX = 5, RightX = 888;

constexpr NumberedBoard Board10x10{5,
                                   {{{168, -10}, {1, 0}, {-1, 51}},
                                    {{168, -90}, {1, 45}, {-1, 6}},
                                    {{168, -15}, {10, -4}, {-10, 55}},
                                    {{168, -95}, {10, -5}, {-10, 56}}}};
constexpr NumberedBoard Board12x12{6,
                                   {{{140, -5}, {1, 0}, {-1, 73}},
                                    {{140, -75}, {1, 66}, {-1, 7}},
                                    {{140, -10}, {12, -5}, {-12, 78}},
                                    {{140, -80}, {12, -6}, {-12, 79}}}};
constexpr NumberedBoard Italian{4,
                                {{{210, -130}, {1, 0}, {-1, 33}},
                                 {{210, -25}, {1, 28}, {-1, 5}},
                                 {{210, -130}, {8, -7}, {-8, 40}},
                                 {{210, -25}, {8, 0}, {-8, 33}}}};
constexpr NumberedBoard Spanish{4,
                                {{{210, -115}, {-1, 33}, {1, 0}},
                                 {{210, -25}, {-1, 5}, {1, 28}},
                                 {{210, -125}, {-8, 40}, {8, -7}},
                                 {{210, -25}, {-8, 33}, {8, 0}}}};
constexpr NumberedBoard EnglishPool{4,
                                    {{{210, -25}, {-1, 33}, {1, 0}},
                                     {{210, -130}, {-1, 5}, {1, 28}},
                                     {{210, -25}, {-8, 36}, {8, -3}},
                                     {{210, -130}, {-8, 37}, {8, -4}}}};
constexpr NumberedBoard JamaicanPool{4,
                                     {{{210, -130}, {1, 28}, {-1, 5}},
                                      {{210, -25}, {1, 0}, {-1, 33}},
                                      {{210, -130}, {-8, 37}, {8, -4}},
                                      {{210, -25}, {-8, 36}, {8, -3}}}};
constexpr NumberedBoard Thai{4,
                             {{{210, -25}, {1, 0}, {-1, 33}},
                              {{210, -130}, {1, 28}, {-1, 5}},
                              {{210, -25}, {8, -3}, {-8, 36}},
                              {{210, -130}, {8, -4}, {-8, 37}}}};

const NumberedBoard* NumberedBoardOf(int type, const EdgeLabelOptions& o) {
  switch (type) {
    case gtInternational:
    case gtFrisian: return &Board10x10;
    case gtCanadian: return &Board12x12;
    case gtItalian: return &Italian;
    case gtSpanish: return &Spanish;
    case gtEnglish: return &EnglishPool;
    case gtThai: return &Thai;
    case gtPool:
      if (o.poolChessNotation) return nullptr;
      return o.showJamaican ? &JamaicanPool : &EnglishPool;
    default: return nullptr;
  }
}

void AddNumbered(const NumberedBoard& board, bool reversed, std::vector<EdgeLabel>& out) {
  for (int edge = 0; edge < 4; ++edge) {
    const NumberedEdge& e = board.edges[edge];
    for (int i = 1; i <= board.count; ++i) {
      const int along = e.along.At(i);
      const std::string text = std::to_string((reversed ? e.reversed : e.normal).At(i));
      switch (edge) {
        case 0: out.push_back({text, along, TopY}); break;
        case 1: out.push_back({text, along, BottomY}); break;
        case 2: out.push_back({text, LeftX, along}); break;
        default: out.push_back({text, RightX, along}); break;
      }
    }
  }
}

void AddRowsAndFiles(int type, const EdgeLabelOptions& o, std::vector<EdgeLabel>& out) {
  const bool wide = GameTypes[type].SquareCount == 40;
  const std::string letters = wide ? "ABCDEFGHIK" : "ABCDEFGH";
  const int files = static_cast<int>(letters.size());
  // Jamaican Pool has its a-file on the right.
  const bool lettersBackwards = o.reversed != (!wide && type == gtPool && o.showJamaican);
  for (int i = 1; i <= 8; ++i) {
    const int rowNumber = o.reversed ? i : 9 - i;
    out.push_back({std::to_string(rowNumber), 10, wide ? 84 * i + 64 : 105 * i - 30});
  }
  for (int i = 1; i <= files; ++i) {
    const char letter = letters[lettersBackwards ? files - i : i - 1];
    out.push_back({std::string(1, letter), wide ? 84 * i - 10 : 105 * i - 20, wide ? 801 : 885});
  }
}

}  // namespace

std::vector<EdgeLabel> BoardEdgeLabels(int type, const EdgeLabelOptions& options) {
  std::vector<EdgeLabel> labels;
  if (!IsValidGameType(type)) return labels;
  if (const NumberedBoard* board = NumberedBoardOf(type, options))
    AddNumbered(*board, options.reversed, labels);
  else
    AddRowsAndFiles(type, options, labels);
  return labels;
}

int EdgeLabelPointSize(int type) {
  return (type == gtRussian || type == gtBrazilian || type == gtCzech) ? 20 : 16;
}

std::string SquareCaption(int square, int type, bool poolChessNotation) {
  if (!IsValidGameType(type) || square < 1 || square > GameTypes[type].SquareCount) return {};
  // Pool names its squares like English unless chess names are chosen; the
  // choice is passed in so that the picture does not depend on a global.
  if (type == gtPool) return poolChessNotation ? std::string(AlgebraicNames8[square]) : SquareText(square, gtEnglish, 1);
  return SquareText(square, type, 1);
}

}  // namespace kestrel
