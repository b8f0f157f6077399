// The layout against a second, recursive implementation written the plain
// way, on random games; then the rules every layout keeps whatever the
// panel width, and trees too deep or too large for naive code.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "game/child_index.h"
#include "game/glyphs.h"
#include "layout_test_util.h"
#include "random_layout_util.h"
#include "rules/notation.h"
#include "test_support/small_stack.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

// Recursive layout for a panel so wide that nothing wraps.
class ReferenceLayout {
 public:
  ReferenceLayout(const TGame& game, const TTreeLayoutOptions& options) : game_(game), options_(options) {}

  std::vector<Placed> Build() {
    Comment(game_.CommentsBef[0]);
    Put("[#]", TTreeStyle::mainLine, 0);
    Comment(game_.CommentsAft[0]);
    Line(0, 0, TTreeStyle::mainLine, 1);
    Put(" " + options_.resultText, TTreeStyle::mainLine, 0);
    return out_;
  }

 private:
  void Put(const std::string& text, TTreeStyle style, int slot) {
    out_.push_back({text, line_, x_, style, slot});
    x_ += CharWidth * static_cast<int>(text.size() + 1);
  }

  void Comment(std::string text) {
    for (char& c : text)
      if (static_cast<unsigned char>(c) < 32) c = ' ';
    const auto b = text.find_first_not_of(' ');
    if (b == std::string::npos) return;
    Put(text.substr(b, text.find_last_not_of(' ') - b + 1), TTreeStyle::comment, 0);
  }

  std::string Number(int ply, bool dots) const {
    const int n = ply + (game_.Header.FirstMove == TDColor::black) + game_.Header.NumerationFrom + 1;
    if (n % 2 == 0) return std::to_string(n / 2) + ".";
    return dots ? std::to_string(n / 2) + "..." : "";
  }

  void Move(int slot, TTreeStyle style, bool dots, int ply) {
    const TMove& m = game_.Moves[slot];
    Comment(game_.CommentsBef[slot]);
    Put(Number(ply, dots) + MoveToText(m, GameTypeOf(game_), 0, ":") + std::string(MoveGlyphText(m.comm)) +
            std::string(PositionGlyphText(m.comm)),
        style, slot);
    Comment(game_.CommentsAft[slot]);
  }

  bool Simple(int node) const {
    for (auto c = Children(game_, node); !c.empty(); c = Children(game_, c[0]))
      if (c.size() > 1) return false;
    return true;
  }

  void Line(int node, int indent, TTreeStyle style, int ply) {
    bool dots = node == 0;
    for (auto c = Children(game_, node); !c.empty(); c = Children(game_, node)) {
      Move(c[0], style, dots, ply);
      dots = c.size() > 1;
      if (dots) {
        bool simple = true;
        for (std::size_t i = 1; i < c.size(); ++i) simple = simple && Simple(c[i]);
        const bool second = style == TTreeStyle::secondLine;
        if (simple && second && options_.Line3InLine) {
          Put("(", TTreeStyle::thirdLine, 0);
          for (std::size_t i = 1; i < c.size(); ++i) {
            Move(c[i], TTreeStyle::thirdLine, true, ply);
            Line(c[i], indent, TTreeStyle::thirdLine, ply + 1);
            if (i + 1 < c.size()) Put(";", TTreeStyle::thirdLine, 0);
          }
          Put(")", TTreeStyle::thirdLine, 0);
        } else {
          const TTreeStyle st = simple && second ? TTreeStyle::thirdLine : TTreeStyle::secondLine;
          ++line_;
          for (std::size_t i = 1; i < c.size(); ++i) {
            x_ = indent + TreeBlockIndent;
            Put("[", st, 0);
            Move(c[i], st, true, ply);
            Line(c[i], indent + TreeBlockIndent, st, ply + 1);
            Put("]", st, 0);
            ++line_;
            x_ = indent;
          }
        }
      }
      node = c[0];
      ++ply;
    }
  }

  const TGame& game_;
  const TTreeLayoutOptions& options_;
  std::vector<Placed> out_;
  int line_ = 0;
  int x_ = 0;
};

TEST(TreeLayoutModel, AgreesWithARecursiveLayoutOnRandomGames) {
  std::mt19937 rng(20240611);
  // The games must reach every kind of variation: inline lines, and blocks
  // in the second and third style.
  std::map<std::pair<std::string, TTreeStyle>, int> brackets;
  for (int round = 0; round < 300; ++round) {
    const TGame game = RandomGame(rng, 5 + static_cast<int>(rng() % 60));
    for (bool inLine : {true, false}) {
      TTreeLayoutOptions options = Options(100'000'000, inLine);
      options.resultText = round % 2 ? "2-0" : "*";
      const TTreeLayout layout = BuildTreeLayout(game, FixedWidth, options);
      ASSERT_EQ(PlacedItems(layout), ReferenceLayout(game, options).Build())
          << "round " << round << " Line3InLine " << inLine;
      for (const TTreeItem& i : layout.items)
        if (i.Text == "(" || i.Text == "[") ++brackets[{i.Text, i.attrib}];
    }
  }
  EXPECT_GT((brackets[{"(", TTreeStyle::thirdLine}]), 10);
  EXPECT_GT((brackets[{"[", TTreeStyle::thirdLine}]), 10);
  EXPECT_GT((brackets[{"[", TTreeStyle::secondLine}]), 10);
}

bool IsMoveItem(const TTreeItem& i) { return i.moverel != 0; }

// Narrow panels wrap the same items: moves, brackets and the letters of
// comments come in the same order; lines are filled without gaps; items on
// a line do not overlap and stay inside it unless they open the line.
TEST(TreeLayoutModel, WrappedLayoutsKeepTheItemsInOrderWithinTheLines) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    const TGame game = RandomGame(rng, 5 + static_cast<int>(rng() % 60));
    const bool inLine = round % 2 == 0;
    const TTreeLayout wide = BuildTreeLayout(game, FixedWidth, Options(100'000'000, inLine));
    auto words = [](const TTreeLayout& l) {
      std::vector<std::string> moves;
      std::string letters;
      for (const TTreeItem& i : l.items) {
        if (i.attrib == TTreeStyle::comment) letters += i.Text;
        else moves.push_back(i.Text + "/" + std::to_string(i.moverel));
      }
      std::erase(letters, ' ');
      return std::make_pair(moves, letters);
    };
    for (int width : {120, 190, 260, 400}) {
      const TTreeLayout layout = BuildTreeLayout(game, FixedWidth, Options(width, inLine));
      ASSERT_EQ(words(layout), words(wide)) << "round " << round << " width " << width;
      const int limit = width - TreeRightReserve;
      std::vector<int> perLine(layout.lastLine + 1, 0);
      for (std::size_t k = 0; k < layout.items.size(); ++k) {
        const TTreeItem& i = layout.items[k];
        ASSERT_LT(i.line, static_cast<int>(perLine.size()));
        const bool opensLine = perLine[i.line]++ == 0;
        if (!opensLine) {
          const TTreeItem& prev = layout.items[k - 1];
          EXPECT_EQ(prev.line, i.line);
          EXPECT_LT(prev.posend, i.posstart);
          EXPECT_LE(i.posend + (i.attrib == TTreeStyle::comment ? 1 : CharWidth), limit) << i.Text;
        }
      }
      EXPECT_EQ(std::count(perLine.begin(), perLine.end(), 0), 0) << "empty line, round " << round;
    }
    // Every move of the tree exactly once.
    std::map<int, int> seen;
    for (const TTreeItem& i : wide.items)
      if (IsMoveItem(i)) ++seen[i.moverel];
    int used = 0;
    for (int s = 1; s <= game.Header.LastMove; ++s) used += !game.Moves[s].free;
    EXPECT_EQ(static_cast<int>(seen.size()), used);
    for (auto [slot, n] : seen) EXPECT_EQ(n, 1) << slot;
  }
}

// Each side line branches again at once: the variations nest as deep as the
// tree is long. Kings walking between a1 and b2; legality does not matter here.
TEST(TreeLayoutModel, VariationsNestedTwentyThousandDeepNeedNoDeepStack) {
  constexpr int Depth = 20000;
  TGame game;
  NewGame(game, gtRussian);
  for (int k = 0; k < Depth; ++k) {
    const int parent = k == 0 ? 0 : 2 * k;
    PutSlot(game, 2 * k + 1, parent, true, PlainMove(k % 2 ? 32 : 1, k % 2 ? 28 : 5));
    PutSlot(game, 2 * k + 2, parent, false, PlainMove(k % 2 ? 32 : 1, k % 2 ? 27 : 6));
  }
  TTreeLayout layout;
  OnSmallStack([&] { layout = BuildTreeLayout(game, FixedWidth, Options(800)); });
  std::vector<int> count(2 * Depth + 1, 0);
  for (const TTreeItem& i : layout.items) ++count[i.moverel];
  for (int s = 1; s <= 2 * Depth; ++s) ASSERT_EQ(count[s], 1) << s;
  EXPECT_EQ(layout.items.back().Text, " *");
}

// More items than a fixed table of 100000 would hold.
TEST(TreeLayoutModel, ListGrowsPastAHundredThousandItems) {
  constexpr int Plies = 60000;
  TGame game;
  NewGame(game, gtRussian);
  for (int s = 1; s <= Plies; ++s) {
    PutSlot(game, s, s - 1, true, s % 2 ? PlainMove(1, 5) : PlainMove(32, 28));
    game.CommentsAft[s] = "note";
  }
  const TTreeLayout layout = BuildTreeLayout(game, FixedWidth, Options(600));
  ASSERT_EQ(layout.items.size(), 2u * Plies + 2);
  // The start mark, then each move followed by its comment.
  const TTreeItem& move = layout.items[2 * (Plies - 1) - 1];
  EXPECT_EQ(move.Text, "30000.a1-b2");
  EXPECT_EQ(move.moverel, Plies - 1);
  EXPECT_EQ(layout.items.back().line, layout.lastLine);
}

}  // namespace
}  // namespace kestrel
