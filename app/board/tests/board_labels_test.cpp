#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "app/board/board_geometry.h"
#include "app/board/board_labels.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

enum class Edge { Top, Bottom, Left, Right };

Edge EdgeOf(const EdgeLabel& l) {
  if (l.y == 5) return Edge::Top;
  if (l.y == 885) return Edge::Bottom;
  if (l.x == 5) return Edge::Left;
  return Edge::Right;
}

// The square whose caption is `text`, or 0.
int SquareNamed(const std::string& text, int type, bool chess) {
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
    if (SquareCaption(s, type, chess) == text) return s;
  return 0;
}

struct NumberedCase {
  int type;
  bool jamaican;
  int perEdge;
};

// Each number in the margin must name the playable square at that end of its
// row or column, and start over that square: the table of label positions is
// checked against the square numbering and the square placement.
TEST(EdgeLabels, NumbersNameTheSquaresBesideThem) {
  const NumberedCase cases[] = {{gtInternational, false, 5}, {gtFrisian, false, 5}, {gtCanadian, false, 6},
                                {gtItalian, false, 4},       {gtSpanish, false, 4}, {gtEnglish, false, 4},
                                {gtPool, false, 4},          {gtPool, true, 4},     {gtThai, false, 4}};
  for (const NumberedCase& c : cases) {
    for (bool reversed : {false, true}) {
      SCOPED_TRACE(std::string(GameTypeNames[c.type]) + (c.jamaican ? " Jamaican" : "") +
                   (reversed ? " reversed" : ""));
      const BoardGeometry g = BoardGeometryOfType(c.type);
      const BoardOrientation o = OrientationFor(c.type, reversed, c.jamaican);
      const auto labels = BoardEdgeLabels(c.type, {reversed, c.jamaican, false});
      ASSERT_EQ(labels.size(), 4u * c.perEdge);
      std::map<Edge, std::set<int>> squaresPerEdge;
      for (const EdgeLabel& l : labels) {
        const int square = SquareNamed(l.text, c.type, false);
        ASSERT_NE(square, 0) << "label " << l.text;
        const ImageRect r = PlaceSquare(square, g, o).playable;
        const Edge e = EdgeOf(l);
        squaresPerEdge[e].insert(square);
        switch (e) {
          case Edge::Top: EXPECT_EQ(r.y, g.areaTop) << l.text; break;
          case Edge::Bottom: EXPECT_EQ(r.y + r.size, g.areaBottom) << l.text; break;
          case Edge::Left: EXPECT_EQ(r.x, g.areaLeft) << l.text; break;
          case Edge::Right: EXPECT_EQ(r.x + r.size, g.areaRight) << l.text; break;
        }
        if (e == Edge::Top || e == Edge::Bottom)
          EXPECT_TRUE(l.x >= r.x && l.x < r.x + r.size) << l.text << " at x " << l.x;
        else
          EXPECT_TRUE(l.y >= r.y && l.y < r.y + r.size) << l.text << " at y " << l.y;
      }
      for (auto& [edge, squares] : squaresPerEdge) EXPECT_EQ(squares.size(), static_cast<size_t>(c.perEdge));
    }
  }
}

TEST(EdgeLabels, LettersAndRowNumbersStandBesideTheirFilesAndRanks) {
  struct LetterCase {
    int type;
    bool jamaican;
    bool chess;
  };
  const LetterCase cases[] = {{gtRussian, false, false}, {gtBrazilian, false, false}, {gtCzech, false, false},
                              {gtPool, false, true},     {gtPool, true, true},        {gtSpantsiretti, false, false}};
  for (const LetterCase& c : cases) {
    for (bool reversed : {false, true}) {
      SCOPED_TRACE(std::string(GameTypeNames[c.type]) + (c.jamaican ? " Jamaican" : "") +
                   (reversed ? " reversed" : ""));
      const BoardGeometry g = BoardGeometryOfType(c.type);
      const BoardOrientation o = OrientationFor(c.type, reversed, c.jamaican);
      const auto labels = BoardEdgeLabels(c.type, {reversed, c.jamaican, c.chess});
      ASSERT_EQ(labels.size(), static_cast<size_t>(g.rows + g.columns));
      int letters = 0, numbers = 0;
      for (const EdgeLabel& l : labels) {
        const bool isLetter = std::isalpha(static_cast<unsigned char>(l.text[0])) != 0;
        // Any square on that file (letter) or rank (number) lies beside the label.
        int checked = 0;
        for (int s = 1; s <= g.squareCount; ++s) {
          const std::string name = SquareCaption(s, c.type, c.chess);
          const ImageRect r = PlaceSquare(s, g, o).playable;
          if (isLetter && name[0] == std::tolower(static_cast<unsigned char>(l.text[0]))) {
            EXPECT_TRUE(l.x >= r.x && l.x < r.x + r.size) << l.text << " over " << name;
            EXPECT_GE(l.y, g.areaBottom) << "letters go under the board";
            ++checked;
          } else if (!isLetter && name.substr(1) == l.text) {
            EXPECT_TRUE(l.y >= r.y && l.y < r.y + r.size) << l.text << " beside " << name;
            EXPECT_LT(l.x, g.areaLeft) << "row numbers go left of the board";
            ++checked;
          }
        }
        EXPECT_GT(checked, 0) << "nothing named by label " << l.text;
        (isLetter ? letters : numbers) += 1;
      }
      EXPECT_EQ(letters, g.columns);
      EXPECT_EQ(numbers, g.rows);
    }
  }
}

TEST(EdgeLabels, StayInsideTheImageMargins) {
  for (int type = 1; type <= GameTypeCount; ++type)
    for (bool reversed : {false, true})
      for (const EdgeLabel& l : BoardEdgeLabels(type, {reversed, false, false})) {
        EXPECT_GE(l.x, 0);
        EXPECT_GE(l.y, 0);
        EXPECT_LE(l.x, 888);
        EXPECT_LE(l.y, 885);
        const BoardGeometry g = BoardGeometryOfType(type);
        const bool inArea = l.x >= g.areaLeft && l.x < g.areaRight && l.y >= g.areaTop && l.y < g.areaBottom;
        EXPECT_FALSE(inArea) << GameTypeNames[type] << " label " << l.text << " covers the board";
      }
  EXPECT_TRUE(BoardEdgeLabels(0, {}).empty());
  EXPECT_TRUE(BoardEdgeLabels(13, {}).empty());
}

TEST(EdgeLabels, FontSizes) {
  for (int type : {gtRussian, gtBrazilian, gtCzech}) EXPECT_EQ(EdgeLabelPointSize(type), 20);
  for (int type : {gtEnglish, gtPool, gtItalian, gtInternational, gtSpanish, gtFrisian, gtSpantsiretti,
                   gtCanadian, gtThai})
    EXPECT_EQ(EdgeLabelPointSize(type), 16);
}

TEST(SquareCaptions, FollowTheNotationOfEachType) {
  EXPECT_EQ(SquareCaption(10, gtPool, true), "c3");
  EXPECT_EQ(SquareCaption(10, gtPool, false), "11");
  EXPECT_EQ(SquareCaption(1, gtItalian, false), "32");
  EXPECT_EQ(SquareCaption(1, gtInternational, false), "46");
  EXPECT_EQ(SquareCaption(5, gtSpantsiretti, false), "i1");
  EXPECT_EQ(SquareCaption(4, gtEnglish, false), "1");  // no leading zero
  EXPECT_EQ(SquareCaption(0, gtRussian, false), "");
  EXPECT_EQ(SquareCaption(33, gtRussian, false), "");
}

}  // namespace
}  // namespace kestrel
