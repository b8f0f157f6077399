// The text diagram and the position in words on every board kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/export/diagram_text.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

// A white man on square 1, a white king at the end of the first rank, a
// black king at the start of the last rank and a black man on the last
// square: every corner of the numbering shows in one diagram.
TBrd CornerPieces(int type) {
  const int squares = GameTypes[type].SquareCount;
  const int perRank = DiagramSize(type).columns / 2;
  TBrd b{};
  b[1] = WhiteMan;
  b[perRank] = WhiteKing;
  b[squares - perRank + 1] = BlackKing;
  b[squares] = BlackMan;
  return b;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

struct DiagramCase {
  int type;
  std::vector<std::string> lines;
};

class TextDiagramTest : public ::testing::TestWithParam<DiagramCase> {};

TEST_P(TextDiagramTest, CornersLandWhereTheBoardViewPutsThem) {
  const DiagramCase& c = GetParam();
  EXPECT_EQ(TextDiagram(CornerPieces(c.type), c.type), Join(c.lines));
}

INSTANTIATE_TEST_SUITE_P(
    BoardKinds, TextDiagramTest,
    ::testing::Values(
        DiagramCase{gtRussian,
                    {"5111111116", "4 a i i e3", "4i i i i 3", "4 i i i i3", "4i i i i 3", "4 i i i i3",
                     "4i i i i 3", "4 i i i i3", "4f i i c 3", "7222222228"}},
        // Side 0 wears the black pieces.
        DiagramCase{gtEnglish,
                    {"5111111116", "4 c i i f3", "4i i i i 3", "4 i i i i3", "4i i i i 3", "4 i i i i3",
                     "4i i i i 3", "4 i i i i3", "4e i i a 3", "7222222228"}},
        // Mirrored: square 1 in the right-hand corner, corner squares light.
        DiagramCase{gtItalian,
                    {"5111111116", "4e i i a 3", "4 i i i i3", "4i i i i 3", "4 i i i i3", "4i i i i 3",
                     "4 i i i i3", "4i i i i 3", "4 c i i f3", "7222222228"}},
        DiagramCase{gtSpantsiretti,
                    {"511111111116", "4 a i i i e3", "4i i i i i 3", "4 i i i i i3", "4i i i i i 3",
                     "4 i i i i i3", "4i i i i i 3", "4 i i i i i3", "4f i i i c 3", "722222222228"}},
        DiagramCase{gtInternational,
                    {"511111111116", "4 a i i i e3", "4i i i i i 3", "4 i i i i i3", "4i i i i i 3",
                     "4 i i i i i3", "4i i i i i 3", "4 i i i i i3", "4i i i i i 3", "4 i i i i i3",
                     "4f i i i c 3", "722222222228"}},
        DiagramCase{gtCanadian,
                    {"51111111111116", "4 a i i i i e3", "4i i i i i i 3", "4 i i i i i i3", "4i i i i i i 3",
                     "4 i i i i i i3", "4i i i i i i 3", "4 i i i i i i3", "4i i i i i i 3", "4 i i i i i i3",
                     "4i i i i i i 3", "4 i i i i i i3", "4f i i i i c 3", "72222222222228"}}));

TEST(TextDiagram, RtfLayoutFollowsTheBoardOptions) {
  // Pool with the Jamaican option is mirrored in documents, never on the
  // clipboard; with white at the bottom its colours are not swapped.
  EXPECT_TRUE(RtfDiagramLayout(gtPool, true, false).mirrored);
  EXPECT_FALSE(TextDiagramLayout(gtPool).mirrored);
  EXPECT_FALSE(RtfDiagramLayout(gtPool, false, true).swapColours);
  EXPECT_TRUE(TextDiagramLayout(gtPool).swapColours);
  const TBrd b = CornerPieces(gtPool);
  EXPECT_EQ(DiagramRows(b, gtPool, RtfDiagramLayout(gtPool, true, true)).back(), " c i i f");
}

struct WordsCase {
  int type;
  TDColor side;
  std::vector<std::pair<int, int>> pieces;  // square, code
  const char* words;
};

class PositionWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(PositionWordsTest, SentenceNamesSideToMoveAndPieces) {
  const WordsCase& c = GetParam();
  TBrd b{};
  for (const auto& [square, code] : c.pieces) b[square] = static_cast<int8_t>(code);
  EXPECT_EQ(PositionInWords(b, c.side, c.type), c.words);
}

INSTANTIATE_TEST_SUITE_P(
    BoardKinds, PositionWordsTest,
    ::testing::Values(
        WordsCase{gtInternational, TDColor::white, {{32, 2}, {31, 1}, {20, -2}, {19, -1}},
                  "White moves: White 16,K17; Black 34,K35"},
        WordsCase{gtInternational, TDColor::black, {}, "Black moves: White ; Black "},
        WordsCase{gtRussian, TDColor::white, {{1, 1}, {4, 2}, {29, -2}}, "White moves: White a1,Kg1; Black Kb8"},
        // Squares are named as the notation shows them. Side 0 is "Black" in
        // English and Pool, both in the colours and in who moves.
        WordsCase{gtEnglish, TDColor::white, {{1, 1}, {32, -2}}, "Black moves: Black 4; White K29"},
        WordsCase{gtEnglish, TDColor::black, {{1, 1}}, "White moves: Black 4; White "},
        WordsCase{gtPool, TDColor::white, {{9, 2}}, "Black moves: Black K12; White "},
        WordsCase{gtSpantsiretti, TDColor::white, {{1, 1}, {40, -1}}, "White moves: White a1; Black k8"},
        WordsCase{gtCanadian, TDColor::white, {{7, 1}, {72, -2}}, "White moves: White 61; Black K6"}));

}  // namespace
}  // namespace kestrel
