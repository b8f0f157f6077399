// Helpers for the game panel tests: a fixed text width, games played from
// move texts, and the items of a layout in a comparable form.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "game/move_tree.h"
#include "game/tree_layout.h"
#include "game_test_util.h"

namespace kestrel::testing {

constexpr int CharWidth = 10;

// Every character 10 pixels wide, in every style.
inline int FixedWidth(std::string_view text, TTreeStyle) { return CharWidth * static_cast<int>(text.size()); }

inline TTreeLayoutOptions Options(int width, bool line3InLine = true) {
  TTreeLayoutOptions o;
  o.width = width;
  o.Line3InLine = line3InLine;
  o.notationMode = 0;
  o.takeChar = ":";
  o.resultText = "*";
  return o;
}

// Plays the moves written in `texts` one after another from `node` and
// returns the slot of the last one.
inline int Play(TGame& game, int node, std::initializer_list<std::string_view> texts) {
  for (std::string_view t : texts) {
    const TMove m = LegalMove(game, node, t);
    const TAddResult r = AddMove(game, node, m);
    EXPECT_TRUE(r.ok()) << t;
    node = r.slot;
  }
  return node;
}

// An item reduced to what the tests compare.
struct Placed {
  std::string text;
  int line;
  int x;
  TTreeStyle style;
  int slot;
  bool operator==(const Placed&) const = default;
};

inline void PrintTo(const Placed& p, std::ostream* os) {
  *os << "{\"" << p.text << "\", line " << p.line << ", x " << p.x << ", style " << static_cast<int>(p.style)
      << ", slot " << p.slot << "}";
}

inline std::vector<Placed> PlacedItems(const TTreeLayout& layout) {
  std::vector<Placed> out;
  for (const TTreeItem& i : layout.items) out.push_back({i.Text, i.line, i.posstart, i.attrib, i.moverel});
  return out;
}

inline std::vector<std::string> Texts(const TTreeLayout& layout) {
  std::vector<std::string> out;
  for (const TTreeItem& i : layout.items) out.push_back(i.Text);
  return out;
}

}  // namespace kestrel::testing
