// What the game panel does with a layout: clicks mapped back to moves, the
// scroll position that keeps the current move in view, the look of items
// and the header lines.
#include <gtest/gtest.h>

#include <random>

#include "game/game_editing.h"
#include "game/game_tree_view.h"
#include "game/new_game.h"
#include "game/tree_item_look.h"
#include "layout_test_util.h"
#include "random_layout_util.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

constexpr int LineHeight = 12;

int PanelHeight(int lines) { return TreeHeaderHeight + lines * LineHeight; }

TGameTreeView ViewOf(const TGame& game, int width, int lines) {
  TGameTreeView view;
  view.Build(game, FixedWidth, Options(width), PanelHeight(lines), LineHeight);
  return view;
}

// Client coordinates of the middle of an item as the view shows it now.
TTreeClick ClickCentre(const TGameTreeView& view, const TTreeItem& item, bool right = false) {
  const int x = TGameTreeView::ItemLeft(item) + (item.posend - item.posstart) / 2;
  return view.Click(x, view.ItemTop(item) + LineHeight / 2, right);
}

// 1.c3-d4 [1.c3-b4 f6-g5 (1...b6-a5 2.g3-h4) 2.g3-f4] 1...f6-e5, with comments.
TGame AnnotatedGame() {
  TGame game;
  NewGame(game, gtRussian);
  Play(game, 0, {"c3-d4"});
  Play(game, 0, {"c3-b4", "f6-g5"});
  Play(game, 2, {"b6-a5", "g3-h4"});
  Play(game, 3, {"g3-f4"});
  Play(game, 1, {"f6-e5"});
  game.CommentsAft[0] = "A game comment long enough to wrap over lines.";
  game.CommentsBef[6] = "Before the move.";
  game.CommentsAft[4] = "After it.";
  return game;
}

TEST(TreeView, ClickOnTheMiddleOfEveryItemGivesItsSlot) {
  const TGame game = AnnotatedGame();
  const TGameTreeView view = ViewOf(game, 240, 40);
  ASSERT_FALSE(view.Scroll().barShown);
  int moves = 0;
  for (const TTreeItem& item : view.Layout().items) {
    const TTreeClick left = ClickCentre(view, item);
    EXPECT_EQ(left.action, TTreeClickAction::goToMove) << item.Text;
    EXPECT_EQ(left.slot, item.moverel) << item.Text;  // 0, the start, for comments and brackets
    const TTreeClick right = ClickCentre(view, item, true);
    EXPECT_EQ(right.action, TTreeClickAction::goToMoveAndMenu);
    EXPECT_EQ(right.slot, item.moverel);
    moves += item.moverel != 0;
  }
  EXPECT_EQ(moves, 7);
}

TEST(TreeView, ClicksBesideTheItemsHitNothing) {
  const TGame game = AnnotatedGame();
  const TGameTreeView view = ViewOf(game, 240, 40);
  const auto& items = view.Layout().items;
  ASSERT_EQ(items[0].Text, "[#]");
  ASSERT_EQ(items[0].line, items[1].line);
  const int y = view.ItemTop(items[0]) + 1;
  // Between the start mark and the next item, left of the text area, and
  // below the last line.
  EXPECT_EQ(view.Click(TreeLeftMargin + items[0].posend + 2, y, false).action, TTreeClickAction::none);
  EXPECT_EQ(view.Click(TreeLeftMargin - 3, y, false).slot, -1);
  EXPECT_EQ(view.Click(TreeLeftMargin + 5, PanelHeight(view.Layout().lastLine + 3), false).slot, -1);
  // The header: a right click there edits it.
  EXPECT_EQ(view.Click(100, 30, false).action, TTreeClickAction::none);
  EXPECT_EQ(view.Click(100, 30, true).action, TTreeClickAction::headerDialog);
}

TEST(TreeView, FirstItemIsFoundOnEmptyLinesAndBeyondTheEnd) {
  TTreeLayout empty;
  EXPECT_EQ(FirstItemAtOrAfterLine(empty, 0), 0u);
  EXPECT_EQ(FirstItemAtOrAfterLine(empty, 5), 0u);
  EXPECT_EQ(GetMoveClick(empty, 3, LineHeight, 5, 100), -1);

  TTreeLayout gaps;
  gaps.items = {{"a", 0, 10, 0, 1}, {"b", 20, 30, 0, 2}, {"c", 0, 10, 2, 3}, {"d", 0, 10, 5, 4}};
  gaps.lastLine = 5;
  EXPECT_EQ(FirstItemAtOrAfterLine(gaps, 0), 0u);
  EXPECT_EQ(FirstItemAtOrAfterLine(gaps, 1), 2u);
  EXPECT_EQ(FirstItemAtOrAfterLine(gaps, 3), 3u);
  EXPECT_EQ(FirstItemAtOrAfterLine(gaps, 6), 4u);
  EXPECT_EQ(FirstItemAtOrAfterLine(gaps, -7), 0u);
  const int line1 = TreeHeaderHeight + LineHeight + 1;
  EXPECT_EQ(GetMoveClick(gaps, 0, LineHeight, 5, line1), -1);  // empty line 1
  EXPECT_EQ(GetMoveClick(gaps, 1, LineHeight, 5, line1), 3);   // line 2 when scrolled by one
  EXPECT_EQ(GetMoveClick(gaps, 0, LineHeight, 25, TreeHeaderHeight + 1), 2);
  EXPECT_EQ(GetMoveClick(gaps, 0, 0, 5, line1), -1);
}

TEST(TreeView, ScrollBarAppearsWhenTheLinesDoNotFit) {
  TTreeLayout layout;
  layout.lastLine = 10;
  TTreeScroll s = ScrollForLayout(layout, PanelHeight(4) + LineHeight - 1, LineHeight);
  EXPECT_EQ(s.visibleLines, 4);
  EXPECT_TRUE(s.barShown);
  EXPECT_EQ(s.barMaximum, 10);
  EXPECT_EQ(s.maxShowLine, 7);  // lines 7..10 fill the view
  layout.lastLine = 4;
  EXPECT_EQ(ScrollForLayout(layout, PanelHeight(4), LineHeight).maxShowLine, 1);
  layout.lastLine = 3;
  EXPECT_FALSE(ScrollForLayout(layout, PanelHeight(4), LineHeight).barShown);
  EXPECT_FALSE(ScrollForLayout(layout, 30, LineHeight).barShown);
  EXPECT_EQ(VisibleLines(30, LineHeight), 0);
  EXPECT_EQ(VisibleLines(500, 0), 0);
}

TEST(TreeView, ScrollPositionsOutsideTheLinesAreHeldToThem) {
  std::mt19937 rng(3);
  const TGame game = RandomGame(rng, 80);
  TGameTreeView view = ViewOf(game, 200, 5);
  ASSERT_TRUE(view.Scroll().barShown);
  view.SetBarPosition(1'000'000);
  EXPECT_EQ(view.FirstLine(), view.Scroll().maxShowLine);
  ASSERT_FALSE(view.VisibleItems().empty());
  EXPECT_EQ(&view.VisibleItems().back(), &view.Layout().items.back());
  EXPECT_EQ(view.VisibleItems().front().line, view.FirstLine());
  view.SetBarPosition(-40);
  EXPECT_EQ(view.FirstLine(), 0);
  EXPECT_EQ(&view.VisibleItems().front(), &view.Layout().items.front());
  EXPECT_EQ(view.VisibleItems().back().line, 4);

  // Below the last whole line nothing is drawn and nothing is hit, even
  // where the layout goes on.
  const TTreeItem& below = view.Layout().items[FirstItemAtOrAfterLine(view.Layout(), 5)];
  ASSERT_EQ(below.line, 5);
  EXPECT_EQ(view.Click(TGameTreeView::ItemLeft(below) + 1, view.ItemTop(below) + 1, false).slot, -1);
  view.Resize(PanelHeight(6));
  EXPECT_EQ(view.Click(TGameTreeView::ItemLeft(below) + 1, view.ItemTop(below) + 1, false).slot, below.moverel);

  // A panel with no room below the header shows nothing and hits nothing.
  view.Resize(65);
  EXPECT_FALSE(view.Scroll().barShown);
  EXPECT_TRUE(view.VisibleItems().empty());
  EXPECT_EQ(view.Click(TGameTreeView::ItemLeft(view.Layout().items[0]) + 1, 62, false).action,
            TTreeClickAction::none);
}

// Each move made current in turn, in the order of the text and at random:
// the view moves only when the move is out of sight, and then only as far
// as needed; a click on the move then finds it.
TEST(TreeView, CurrentMoveIsScrolledIntoViewAndClickable) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    const TGame game = RandomGame(rng, 40 + static_cast<int>(rng() % 60));
    TGameTreeView view = ViewOf(game, 180 + static_cast<int>(rng() % 200), 3 + static_cast<int>(rng() % 5));
    ASSERT_TRUE(view.Scroll().barShown) << "round " << round;
    const int v = view.Scroll().visibleLines;
    std::vector<const TTreeItem*> moves;
    for (const TTreeItem& item : view.Layout().items)
      if (item.moverel != 0) moves.push_back(&item);
    std::vector<const TTreeItem*> order = moves;
    std::shuffle(order.begin(), order.end(), rng);
    order.insert(order.begin(), moves.begin(), moves.end());
    for (const TTreeItem* item : order) {
      const int before = view.FirstLine();
      view.ShowSlot(item->moverel);
      const int first = view.FirstLine();
      if (item->line < before) EXPECT_EQ(first, item->line);
      else if (item->line >= before + v) EXPECT_EQ(first, item->line - v + 1);
      else EXPECT_EQ(first, before);
      ASSERT_GE(item->line, first);
      ASSERT_LT(item->line, first + v);
      const TTreeClick click = ClickCentre(view, *item);
      ASSERT_EQ(click.slot, item->moverel) << "round " << round << " " << item->Text;
    }
    view.ShowSlot(0);
    EXPECT_EQ(view.FirstLine(), 0);
  }
}

TEST(TreeView, BuildingShowsTheCurrentMove) {
  std::mt19937 rng(5);
  TGame game = RandomLine(rng, 30);
  const int last = game.Header.LastMove;
  ASSERT_GE(last, 20);
  ASSERT_TRUE(GoToMove(game, last));
  TGameTreeView view = ViewOf(game, 160, 2);
  ASSERT_TRUE(view.Scroll().barShown);
  const auto visible = view.VisibleItems();
  EXPECT_TRUE(std::any_of(visible.begin(), visible.end(), [&](const TTreeItem& i) { return i.moverel == last; }));
  EXPECT_EQ(view.FirstLine(), view.Scroll().maxShowLine);

  // A rebuild keeps the scroll position when the current move stays in view.
  ASSERT_TRUE(GoToMove(game, 0));
  view.ShowSlot(0);
  view.SetBarPosition(1);
  const int first = view.FirstLine();
  game.CurMovPos = view.VisibleItems().back().moverel;
  view.Build(game, FixedWidth, Options(160), PanelHeight(2), LineHeight);
  EXPECT_EQ(view.FirstLine(), first);
}

TEST(TreeView, ItemLookShowsCurrentViewingStartAndHiddenMoves) {
  TGame game;
  NewGame(game, gtRussian);
  const int a = Play(game, 0, {"c3-d4"});
  const int b = Play(game, a, {"f6-e5"});
  ASSERT_TRUE(SetExtraShortVisible(game, b, false));
  game.Header.ShowFrom = a;
  for (bool composer : {false, true}) {
    TTreeLayoutOptions o = Options(500);
    o.ComposerMode = composer;
    const TTreeLayout layout = BuildTreeLayout(game, FixedWidth, o);
    ASSERT_EQ(Texts(layout), (std::vector<std::string>{"[#]", "1.c3-d4", "f6-e5", " *"}));
    const TItemLook first = ItemLook(layout, layout.items[1], b);
    EXPECT_TRUE(first.underline);
    EXPECT_FALSE(first.strikeOut);
    EXPECT_EQ(first.text, TTreeColor::mainLine);
    EXPECT_EQ(first.background, TTreeColor::buttonFace);
    const TItemLook second = ItemLook(layout, layout.items[2], b);
    EXPECT_FALSE(second.underline);
    EXPECT_EQ(second.strikeOut, composer);
    EXPECT_EQ(second.text, TTreeColor::highlightText);
    EXPECT_EQ(second.background, TTreeColor::currentMove);
    // At the start position nothing is highlighted, not even slot-0 items.
    const TItemLook mark = ItemLook(layout, layout.items[0], 0);
    EXPECT_EQ(mark.background, TTreeColor::buttonFace);
    EXPECT_FALSE(mark.underline);
  }
  game.Header.ShowFrom = 0;
  const TTreeLayout plain = BuildTreeLayout(game, FixedWidth, Options(500));
  EXPECT_FALSE(ItemLook(plain, plain.items[0], 0).underline);
  EXPECT_EQ(StyleColor(TTreeStyle::thirdLine), TTreeColor::thirdLine);
  EXPECT_EQ(StyleColor(TTreeStyle::comment), TTreeColor::comment);
}

TEST(TreeView, HeaderLinesNameThePlayersAndTheEvent) {
  TGame game;
  NewGame(game, gtRussian);
  game.WhiteName = "Ann";
  game.BlackName = "Bo\tb";
  game.Tournament = "Open";
  game.Site = "Riga";
  game.Header.Round = 3;
  TTreeHeader h = ReadGameHeader(game);
  EXPECT_EQ(h.FNames, "Ann - Bo b");
  EXPECT_EQ(h.FTournament, "Open, Riga [3]");
  EXPECT_EQ(h.FGameNum, "");
  EXPECT_FALSE(h.FDel);
  EXPECT_FALSE(h.FSel);
  std::vector<THeaderLine> lines = LayoutHeader(h, FixedWidth, 400);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].x, (400 - 100) / 2);
  EXPECT_EQ(lines[0].y, HeaderNamesTop);
  EXPECT_EQ(lines[0].font, TTreeStyle::headerNames);
  EXPECT_EQ(lines[1].x, (400 - 140) / 2);
  EXPECT_EQ(lines[1].y, HeaderNamesTop + 27);
  EXPECT_EQ(lines[1].font, TTreeStyle::headerEvent);

  game.DBGameNo = 17;
  game.Header.Flags = 0x80;
  game.Selected = true;
  h = ReadGameHeader(game);
  EXPECT_EQ(h.FGameNum, " 17 ");
  EXPECT_TRUE(h.FDel);
  EXPECT_TRUE(h.FSel);
  lines = LayoutHeader(h, FixedWidth, 60);  // narrower than the names
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].Text, " 17 ");
  EXPECT_EQ(lines[0].font, TTreeStyle::headerGameNum);
  EXPECT_EQ(lines[0].color, TTreeColor::selectedGame);
  EXPECT_TRUE(lines[0].strikeOut);
  EXPECT_EQ(lines[0].x, 0);
  EXPECT_EQ(lines[0].y, 0);
  EXPECT_EQ(lines[1].x, 0);
}

}  // namespace
}  // namespace kestrel
