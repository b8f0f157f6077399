// The game panel's layout on small games whose every item is known: move
// numbers, the three line styles, variations in blocks and inside the line,
// comments with their word wrap, and items wider than a line.
#include <gtest/gtest.h>

#include <string>

#include "game/game_editing.h"
#include "game/new_game.h"
#include "layout_test_util.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

constexpr TTreeStyle Main = TTreeStyle::mainLine;
constexpr TTreeStyle Second = TTreeStyle::secondLine;
constexpr TTreeStyle Third = TTreeStyle::thirdLine;
constexpr TTreeStyle Note = TTreeStyle::comment;

TTreeLayout Layout(const TGame& game, const TTreeLayoutOptions& options) {
  return BuildTreeLayout(game, FixedWidth, options);
}

TEST(TreeLayout, GameWithoutMovesShowsTheStartMarkAndTheResult) {
  TGame game;
  NewGame(game, gtRussian);
  EXPECT_EQ(PlacedItems(Layout(game, Options(400))),
            (std::vector<Placed>{{"[#]", 0, 0, Main, 0}, {" *", 0, 40, Main, 0}}));

  TTreeLayoutOptions won = Options(400);
  won.resultText = "1-0";
  const TTreeLayout layout = Layout(game, won);
  EXPECT_EQ(Texts(layout), (std::vector<std::string>{"[#]", " 1-0"}));
  EXPECT_EQ(layout.lastLine, 0);
}

TEST(TreeLayout, MoveNumbersFollowTheFirstSideAndTheFirstMoveNumber) {
  const TBrd start = InitialPosition(gtRussian).b;
  struct Case {
    TDColor first;
    int firstNumber;
    std::vector<std::string_view> moves;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {TDColor::white, 1, {"c3-d4", "f6-e5", "d4:f6", "g7:e5"}, {"1.c3-d4", "f6-e5", "2.d4:f6", "g7:e5"}},
      {TDColor::black, 1, {"f6-e5", "c3-d4", "e5:c3"}, {"1...f6-e5", "2.c3-d4", "e5:c3"}},
      {TDColor::white, 25, {"c3-d4", "f6-e5"}, {"25.c3-d4", "f6-e5"}},
      {TDColor::black, 25, {"f6-e5", "c3-d4"}, {"25...f6-e5", "26.c3-d4"}},
  };
  for (const Case& c : cases) {
    TGame game;
    ASSERT_TRUE(SetUpPosition(game, start, c.first, c.firstNumber, gtRussian));
    int node = 0;
    for (std::string_view m : c.moves) node = Play(game, node, {m});
    std::vector<std::string> expected{"[#]"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    expected.push_back(" *");
    EXPECT_EQ(Texts(Layout(game, Options(1000))), expected) << "first move " << c.firstNumber;
  }
  TGameHeader h;
  h.NumerationFrom = 48;
  EXPECT_EQ(MoveNumberText(h, 1, false), "25.");
  EXPECT_EQ(MoveNumberText(h, 2, false), "");
  EXPECT_EQ(MoveNumberText(h, 2, true), "25...");
}

TEST(TreeLayout, GlyphsFollowTheMoveText) {
  TGame game;
  NewGame(game, gtRussian);
  const int s = Play(game, 0, {"c3-d4"});
  ASSERT_TRUE(SetGlyph(game, s, 1, 3));  // !?
  ASSERT_TRUE(SetGlyph(game, s, 2, 1));  // +-
  EXPECT_EQ(Layout(game, Options(1000)).items[1].Text, "1.c3-d4!?+-");
}

// 1.c3-d4 [1.c3-b4 b6-a5] 1...f6-e5
TGame GameWithVariationOnWhitesMove() {
  TGame game;
  NewGame(game, gtRussian);
  Play(game, 0, {"c3-d4"});
  Play(game, 0, {"c3-b4", "b6-a5"});
  Play(game, 1, {"f6-e5"});
  return game;
}

TEST(TreeLayout, MainLineResumesWithDotsAfterABlockOfVariations) {
  EXPECT_EQ(PlacedItems(Layout(GameWithVariationOnWhitesMove(), Options(1000))), (std::vector<Placed>{
                                                                                     {"[#]", 0, 0, Main, 0},
                                                                                     {"1.c3-d4", 0, 40, Main, 1},
                                                                                     {"[", 1, 15, Second, 0},
                                                                                     {"1.c3-b4", 1, 35, Second, 2},
                                                                                     {"b6-a5", 1, 115, Second, 3},
                                                                                     {"]", 1, 175, Second, 0},
                                                                                     {"1...f6-e5", 2, 0, Main, 4},
                                                                                     {" *", 2, 100, Main, 0},
                                                                                 }));

  // A variation on Black's move: the next main move is White's and has its number anyway.
  TGame game;
  NewGame(game, gtRussian);
  const int black = Play(game, 0, {"c3-d4", "f6-e5"});
  Play(game, game.Moves[black].parent, {"f6-g5"});
  Play(game, black, {"d4:f6"});
  EXPECT_EQ(Texts(Layout(game, Options(1000))),
            (std::vector<std::string>{"[#]", "1.c3-d4", "f6-e5", "[", "1...f6-g5", "]", "2.d4:f6", " *"}));
}

// 1.c3-d4 [1.c3-b4 f6-g5 (1...b6-a5 2.g3-h4) 2.g3-f4] 1...f6-e5
TGame GameWithThirdLevelLine() {
  TGame game;
  NewGame(game, gtRussian);
  EXPECT_EQ(Play(game, 0, {"c3-d4"}), 1);
  EXPECT_EQ(Play(game, 0, {"c3-b4", "f6-g5"}), 3);
  EXPECT_EQ(Play(game, 2, {"b6-a5", "g3-h4"}), 5);
  EXPECT_EQ(Play(game, 3, {"g3-f4"}), 6);
  EXPECT_EQ(Play(game, 1, {"f6-e5"}), 7);
  return game;
}

TEST(TreeLayout, SimpleThirdLevelLinesGoInsideTheLineWithLine3InLine) {
  EXPECT_EQ(PlacedItems(Layout(GameWithThirdLevelLine(), Options(1000, true))), (std::vector<Placed>{
                                                                                    {"[#]", 0, 0, Main, 0},
                                                                                    {"1.c3-d4", 0, 40, Main, 1},
                                                                                    {"[", 1, 15, Second, 0},
                                                                                    {"1.c3-b4", 1, 35, Second, 2},
                                                                                    {"f6-g5", 1, 115, Second, 3},
                                                                                    {"(", 1, 175, Third, 0},
                                                                                    {"1...b6-a5", 1, 195, Third, 4},
                                                                                    {"2.g3-h4", 1, 295, Third, 5},
                                                                                    {")", 1, 375, Third, 0},
                                                                                    {"2.g3-f4", 1, 395, Second, 6},
                                                                                    {"]", 1, 475, Second, 0},
                                                                                    {"1...f6-e5", 2, 0, Main, 7},
                                                                                    {" *", 2, 100, Main, 0},
                                                                                }));
}

TEST(TreeLayout, SimpleThirdLevelLinesBecomeIndentedBlocksWithoutLine3InLine) {
  EXPECT_EQ(PlacedItems(Layout(GameWithThirdLevelLine(), Options(1000, false))), (std::vector<Placed>{
                                                                                     {"[#]", 0, 0, Main, 0},
                                                                                     {"1.c3-d4", 0, 40, Main, 1},
                                                                                     {"[", 1, 15, Second, 0},
                                                                                     {"1.c3-b4", 1, 35, Second, 2},
                                                                                     {"f6-g5", 1, 115, Second, 3},
                                                                                     {"[", 2, 30, Third, 0},
                                                                                     {"1...b6-a5", 2, 50, Third, 4},
                                                                                     {"2.g3-h4", 2, 150, Third, 5},
                                                                                     {"]", 2, 230, Third, 0},
                                                                                     {"2.g3-f4", 3, 15, Second, 6},
                                                                                     {"]", 3, 95, Second, 0},
                                                                                     {"1...f6-e5", 4, 0, Main, 7},
                                                                                     {" *", 4, 100, Main, 0},
                                                                                 }));
}

TEST(TreeLayout, BranchingThirdLevelLinesStayInSecondLevelBlocks) {
  TGame game = GameWithThirdLevelLine();
  EXPECT_EQ(Play(game, 4, {"g3-f4"}), 8);  // 1...b6-a5 now branches: 2.g3-h4 or 2.g3-f4
  const TTreeLayout layout = Layout(game, Options(1000, true));
  const std::vector<Placed> items = PlacedItems(layout);
  ASSERT_EQ(items.size(), 16u);
  EXPECT_EQ(std::vector<Placed>(items.begin() + 5, items.begin() + 12), (std::vector<Placed>{
                                                                            {"[", 2, 30, Second, 0},
                                                                            {"1...b6-a5", 2, 50, Second, 4},
                                                                            {"2.g3-h4", 2, 150, Second, 5},
                                                                            {"(", 2, 230, Third, 0},
                                                                            {"2.g3-f4", 2, 250, Third, 8},
                                                                            {")", 2, 330, Third, 0},
                                                                            {"]", 2, 350, Second, 0},
                                                                        }));
  EXPECT_EQ(items[12], (Placed{"2.g3-f4", 3, 15, Second, 6}));
}

TEST(TreeLayout, CommentsWrapAtWordsAndContinueAtTheLineIndent) {
  // Width 200: lines end at 173, so 17 characters fit on an empty line.
  TGame game;
  NewGame(game, gtRussian);
  Play(game, 0, {"c3-d4"});
  game.CommentsAft[1] = "Strong move, taking the centre at once.";
  EXPECT_EQ(PlacedItems(Layout(game, Options(200))), (std::vector<Placed>{
                                                         {"[#]", 0, 0, Main, 0},
                                                         {"1.c3-d4", 0, 40, Main, 1},
                                                         {"Strong move,", 1, 0, Note, 0},
                                                         {"taking the centre", 2, 0, Note, 0},
                                                         {"at once.", 3, 0, Note, 0},
                                                         {" *", 3, 90, Main, 0},
                                                     }));

  TGame block = GameWithVariationOnWhitesMove();
  block.CommentsBef[2] = "A quieter try on the wing.";
  EXPECT_EQ(PlacedItems(Layout(block, Options(200))), (std::vector<Placed>{
                                                          {"[#]", 0, 0, Main, 0},
                                                          {"1.c3-d4", 0, 40, Main, 1},
                                                          {"[", 1, 15, Second, 0},
                                                          {"A quieter try", 1, 35, Note, 0},
                                                          {"on the wing.", 2, 15, Note, 0},
                                                          {"1.c3-b4", 3, 15, Second, 2},
                                                          {"b6-a5", 3, 95, Second, 3},
                                                          {"]", 4, 15, Second, 0},
                                                          {"1...f6-e5", 5, 0, Main, 4},
                                                          {" *", 5, 100, Main, 0},
                                                      }));
}

TEST(TreeLayout, ControlCharactersInCommentsShowAsBlanks) {
  TGame game;
  NewGame(game, gtRussian);
  game.CommentsBef[0] = "Ballot\t7\r\nline\x01" "end\x7f";
  game.CommentsAft[0] = "\r\n\t";  // nothing to show
  const int s = Play(game, 0, {"c3-d4"});
  game.CommentsAft[s] = std::string("a\0b", 3) + "\x1b[2J";
  const TTreeLayout layout = Layout(game, Options(1000));
  EXPECT_EQ(PlacedItems(layout), (std::vector<Placed>{
                                     {"Ballot 7  line end", 0, 0, Note, 0},
                                     {"[#]", 0, 190, Main, 0},
                                     {"1.c3-d4", 0, 230, Main, 1},
                                     {"a b [2J", 0, 310, Note, 0},
                                     {" *", 0, 390, Main, 0},
                                 }));
}

TEST(TreeLayout, DiagramMarksInCommentsStayWhole) {
  TGame game;
  NewGame(game, gtRussian);
  const int s = Play(game, 0, {"c3-d4"});
  game.CommentsAft[s] = "Now the position[#]is lost";
  AddDiagram(game);  // at the root: the game comment
  const TTreeLayout layout = Layout(game, Options(200));
  EXPECT_EQ(Texts(layout),
            (std::vector<std::string>{"[#]", "[#]", "1.c3-d4", "Now the", "position[#]is", "lost", " *"}));
  EXPECT_EQ(layout.items[1].attrib, Note);
}

TEST(TreeLayout, AWordWiderThanALineIsBrokenWhereItStopsFitting) {
  TGame game;
  NewGame(game, gtRussian);
  const std::string word(60, 'x');
  game.CommentsAft[0] = word;
  Play(game, 0, {"c3-d4"});
  EXPECT_EQ(PlacedItems(Layout(game, Options(200))), (std::vector<Placed>{
                                                         {"[#]", 0, 0, Main, 0},
                                                         {std::string(17, 'x'), 1, 0, Note, 0},
                                                         {std::string(17, 'x'), 2, 0, Note, 0},
                                                         {std::string(17, 'x'), 3, 0, Note, 0},
                                                         {std::string(9, 'x'), 4, 0, Note, 0},
                                                         {"1.c3-d4", 5, 0, Main, 1},
                                                         {" *", 5, 80, Main, 0},
                                                     }));
}

// On a panel too narrow for anything every item gets a line of its own: no
// empty lines, no endless wrapping, and the comment's letters all shown.
TEST(TreeLayout, APanelNarrowerThanEveryItemGivesOneItemPerLine) {
  TGame game = GameWithThirdLevelLine();
  game.CommentsAft[0] = "ab, cd";
  for (int width : {0, 20, 50}) {
    const TTreeLayout layout = Layout(game, Options(width));
    ASSERT_EQ(layout.lastLine + 1, static_cast<int>(layout.items.size())) << width;
    std::string letters;
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
      EXPECT_EQ(layout.items[i].line, static_cast<int>(i));
      if (layout.items[i].attrib == Note) letters += layout.items[i].Text;
    }
    EXPECT_EQ(letters, "ab,cd") << width;
  }
}

// Widths that no font would give must still end the wrapping: negative,
// zero and widths that shrink as the text grows.
TEST(TreeLayout, WrappingEndsWhateverTheWidthFunctionAnswers) {
  TGame game;
  NewGame(game, gtRussian);
  game.CommentsAft[0] = "Some words, then aVeryLongWordWithoutBreaks and more.";
  Play(game, 0, {"c3-d4", "f6-e5"});
  const TTextWidth odd[] = {
      [](std::string_view, TTreeStyle) { return -5; },
      [](std::string_view, TTreeStyle) { return 0; },
      [](std::string_view s, TTreeStyle) { return static_cast<int>((s.size() * 37) % 211); },
      [](std::string_view s, TTreeStyle) { return 1000 - 10 * static_cast<int>(s.size()); },
      [](std::string_view s, TTreeStyle) { return s.empty() ? 0 : 1'000'000'000; },
  };
  for (const TTextWidth& width : odd) {
    const TTreeLayout layout = BuildTreeLayout(game, width, Options(200));
    std::string letters;
    for (const TTreeItem& i : layout.items)
      if (i.attrib == Note) letters += i.Text;
    std::erase(letters, ' ');
    EXPECT_EQ(letters, "Somewords,thenaVeryLongWordWithoutBreaksandmore.");
    EXPECT_EQ(layout.items.back().Text, " *");
  }
}

}  // namespace
}  // namespace kestrel
