#include "game/tree_layout.h"

#include <string>
#include <vector>

#include "game/child_index.h"
#include "game/glyphs.h"
#include "game/layout_cursor.h"
#include "game/navigation.h"
#include "rules/notation.h"

namespace kestrel {

std::string MoveNumberText(const TGameHeader& header, int ply, bool dots) {
  const int64_t n = static_cast<int64_t>(ply) + (header.FirstMove == TDColor::black ? 1 : 0) +
                    header.NumerationFrom + 1;
  if (n % 2 == 0) return std::to_string(n / 2) + ".";
  return dots ? std::to_string(n / 2) + "..." : std::string();
}

namespace {

// One piece of pending work. The tree is walked with an explicit list of
// these instead of recursion, so that variations nested as deep as a line
// is long cannot exhaust the stack.
struct TStep {
  enum Kind : uint8_t { line, move, text, newLine, setX } kind;
  int32_t slot = 0;  // line: the node whose continuations follow; move: the move
  int indent = 0;
  TTreeStyle style = TTreeStyle::mainLine;
  int ply = 0;
  bool dots = false;
  const char* word = "";  // text: a bracket or separator
};

class TTreeBuilder {
 public:
  TTreeBuilder(const TGame& game, const TTextWidth& width, const TTreeLayoutOptions& options, TTreeLayout& layout)
      : game_(game),
        options_(options),
        type_(GameTypeOf(game)),
        children_(game, game.Header.LastMove),
        cursor_(width, options.width, layout.items) {}

  void Build(const std::string& resultText) {
    Comment(CommentBefore(0), 0);
    AddMoveItem("[#]", 0, TTreeStyle::mainLine, 0, true, 0, 0);
    Comment(CommentAfter(0), 0);
    Run(TStep{TStep::line, 0, 0, TTreeStyle::mainLine, 1, true});
    AddMoveItem(" " + resultText, 0, TTreeStyle::mainLine, 0, false, 0, 0);
  }

  int32_t Line() const { return cursor_.Line(); }

 private:
  std::string_view CommentBefore(int slot) const {
    return slot < static_cast<int>(game_.CommentsBef.size()) ? game_.CommentsBef[slot] : std::string_view{};
  }
  std::string_view CommentAfter(int slot) const {
    return slot < static_cast<int>(game_.CommentsAft.size()) ? game_.CommentsAft[slot] : std::string_view{};
  }

  void Comment(std::string_view text, int indent) {
    if (!text.empty()) AddTextItems(cursor_, text, indent);
  }

  void AddMoveItem(std::string text, uint8_t flags, TTreeStyle style, int indent, bool dots, int ply, int slot) {
    if (slot != 0) Comment(CommentBefore(slot), indent);
    if (ply != 0) text = MoveNumberText(game_.Header, ply, dots) + text;
    if (slot != 0) {
      const uint16_t comm = game_.Moves[slot].comm;
      text += MoveGlyphText(comm);
      text += PositionGlyphText(comm);
    }
    cursor_.PlaceWord(std::move(text), style, slot, flags, indent);
    if (slot != 0) Comment(CommentAfter(slot), indent);
  }

  void AddMove(int slot, TTreeStyle style, int indent, bool dots, int ply) {
    const TMove& m = game_.Moves[slot];
    AddMoveItem(SlotMoveText(game_, slot, options_.notationMode, options_.takeChar), m.flags, style, indent, dots,
                ply, slot);
  }

  // The line from `node` goes on to its end without branching.
  bool IsSimpleLine(int node) const {
    for (;;) {
      const auto kids = children_.Children(node);
      if (kids.empty()) return true;
      if (kids.size() > 1) return false;
      node = kids[0];
    }
  }

  void Run(TStep first) {
    std::vector<TStep> stack{first};
    while (!stack.empty()) {
      const TStep s = stack.back();
      stack.pop_back();
      switch (s.kind) {
        case TStep::line:
          ContinueLine(s, stack);
          break;
        case TStep::move:
          AddMove(s.slot, s.style, s.indent, s.dots, s.ply);
          break;
        case TStep::text:
          AddMoveItem(s.word, 0, s.style, s.indent, false, 0, 0);
          break;
        case TStep::newLine:
          cursor_.NewLine(s.indent);
          break;
        case TStep::setX:
          cursor_.SetX(s.indent);
          break;
      }
    }
  }

  // The next move of a line and, when it has alternatives, their
  // variations; then the rest of the line as a further step.
  void ContinueLine(const TStep& s, std::vector<TStep>& stack) {
    const auto kids = children_.Children(s.slot);
    if (kids.empty()) return;
    AddMove(kids[0], s.style, s.indent, s.dots, s.ply);
    const bool branches = kids.size() > 1;
    stack.push_back(TStep{TStep::line, kids[0], s.indent, s.style, s.ply + 1, branches});
    if (!branches) return;

    bool simple = true;
    for (std::size_t i = 1; i < kids.size() && simple; ++i) simple = IsSimpleLine(kids[i]);

    std::vector<TStep> steps;
    const TTreeStyle third = TTreeStyle::thirdLine;
    if (simple && s.style == TTreeStyle::secondLine && options_.Line3InLine) {
      steps.push_back(TStep{TStep::text, 0, s.indent, third, 0, false, "("});
      for (std::size_t i = 1; i < kids.size(); ++i) {
        steps.push_back(TStep{TStep::move, kids[i], s.indent, third, s.ply, true});
        steps.push_back(TStep{TStep::line, kids[i], s.indent, third, s.ply + 1, false});
        if (i + 1 < kids.size()) steps.push_back(TStep{TStep::text, 0, s.indent, third, 0, false, ";"});
      }
      steps.push_back(TStep{TStep::text, 0, s.indent, third, 0, false, ")"});
    } else {
      const TTreeStyle style = simple && s.style == TTreeStyle::secondLine ? third : TTreeStyle::secondLine;
      const int inner = s.indent + TreeBlockIndent;
      steps.push_back(TStep{TStep::newLine, 0, s.indent});
      for (std::size_t i = 1; i < kids.size(); ++i) {
        steps.push_back(TStep{TStep::setX, 0, inner});
        steps.push_back(TStep{TStep::text, 0, inner, style, 0, false, "["});
        steps.push_back(TStep{TStep::move, kids[i], inner, style, s.ply, true});
        steps.push_back(TStep{TStep::line, kids[i], inner, style, s.ply + 1, false});
        steps.push_back(TStep{TStep::text, 0, inner, style, 0, false, "]"});
        steps.push_back(TStep{TStep::newLine, 0, s.indent});
      }
    }
    stack.insert(stack.end(), steps.rbegin(), steps.rend());
  }

  const TGame& game_;
  const TTreeLayoutOptions& options_;
  int type_;
  TChildIndex children_;
  TLayoutCursor cursor_;
};

}  // namespace

TTreeLayout BuildTreeLayout(const TGame& game, const TTextWidth& width, const TTreeLayoutOptions& options) {
  TTreeLayout layout;
  layout.ShowInit = game.Header.ShowFrom;
  layout.ComposerMode = options.ComposerMode;
  TTreeBuilder builder(game, width, options, layout);
  builder.Build(options.resultText);
  layout.lastLine = builder.Line();
  return layout;
}

}  // namespace kestrel
