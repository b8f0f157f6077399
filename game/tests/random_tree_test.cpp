// Trees grown and cut at random, checked after every step against a model
// kept here: which slots hold which moves under which parents, which child
// is the main one, and the position reached by replaying the model's path.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "game/tree_check.h"
#include "game_test_util.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

class ScriptedObserver : public TGameObserver {
 public:
  TNewMoveChoice AskNewMove(const std::vector<std::string>& continuations, int preselected) override {
    asked = static_cast<int>(continuations.size());
    askedPreselected = preselected;
    return answer;
  }
  TNewMoveChoice answer;
  int asked = -1;
  int askedPreselected = -2;
};

struct Model {
  std::map<int, int> parent;      // slot holding a move -> its parent
  std::map<int, TMove> moves;
  std::map<int, int> mainChild;   // node -> child marked main
  int current = 0;

  std::vector<int> Children(int node) const {
    std::vector<int> c;
    for (auto [s, p] : parent)
      if (p == node) c.push_back(s);
    return c;  // in slot order
  }
  int First(int node) const {
    const auto c = Children(node);
    if (c.empty()) return 0;
    const auto m = mainChild.find(node);
    if (m != mainChild.end() && std::find(c.begin(), c.end(), m->second) != c.end()) return m->second;
    return c.front();
  }
  int Parent(int slot) const { return slot == 0 ? 0 : parent.at(slot); }
  int Depth(int slot) const {
    int d = 0;
    for (; slot != 0; slot = parent.at(slot)) ++d;
    return d;
  }
  void Remove(int slot) {
    std::vector<int> stack{slot};
    while (!stack.empty()) {
      const int s = stack.back();
      stack.pop_back();
      for (int c : Children(s)) stack.push_back(c);
      if (s == 0) continue;
      auto m = mainChild.find(parent.at(s));
      if (m != mainChild.end() && m->second == s) mainChild.erase(m);
      parent.erase(s);
      moves.erase(s);
      mainChild.erase(s);
    }
  }
  int MainLineLength() const {
    int n = 0;
    for (int s = First(0); s != 0; s = First(s)) ++n;
    return n;
  }
  TBoard Board(int slot, TDColor& side) const {
    std::vector<int> path;
    for (int s = slot; s != 0; s = parent.at(s)) path.push_back(s);
    TBoard b = InitialPosition(gtRussian);
    side = TDColor::white;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
      ApplyMove(moves.at(*it), b, gtRussian);
      side = Opponent(side);
    }
    return b;
  }
  void Add(int slot, int p, const TMove& m, bool main) {
    parent[slot] = p;
    moves[slot] = m;
    if (main) mainChild[p] = slot;
  }
};

void CheckAgainstModel(const TGame& game, const Model& model) {
  ASSERT_EQ(CheckMoveTree(game), "");
  std::set<int> used;
  for (int s = 1; s < game.SlotCount(); ++s)
    if (!game.Moves[s].free) used.insert(s);
  std::set<int> expected;
  for (auto [s, p] : model.parent) expected.insert(s);
  ASSERT_EQ(used, expected);
  ASSERT_GE(game.Header.LastMove, used.empty() ? 0 : *used.rbegin());

  std::vector<int> nodes(used.begin(), used.end());
  nodes.push_back(0);
  for (int node : nodes) {
    if (node != 0) {
      ASSERT_EQ(game.Moves[node].parent, model.parent.at(node)) << node;
      ASSERT_TRUE(SameMovePath(game.Moves[node], model.moves.at(node))) << node;
    }
    TChildList list;
    ASSERT_TRUE(GetChildren(game, node, list));
    std::vector<int> got(list.begin(), list.end());
    const std::vector<int> want = model.Children(node);
    ASSERT_EQ(got.empty() ? 0 : got.front(), model.First(node)) << "first child of " << node;
    std::sort(got.begin(), got.end());
    ASSERT_EQ(got, want) << "children of " << node;
    ASSERT_LE(std::count_if(want.begin(), want.end(), [&](int c) { return game.Moves[c].main; }), 1) << node;
  }
  ASSERT_EQ(MainLineLength(game), model.MainLineLength());

  ASSERT_EQ(game.CurMovPos, model.current);
  TDColor side;
  const TBoard board = model.Board(model.current, side);
  ASSERT_EQ(game.CurBoard.b, board.b);
  ASSERT_EQ(game.SideToMove, side);
}

TMove RandomLegal(const TBoard& board, TDColor side, std::mt19937& rng, bool& any) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, gtRussian, count);
  any = count > 0;
  if (!any) return {};
  return list[std::uniform_int_distribution<int>(0, count - 1)(rng)];
}

void RunRandomTree(unsigned seed, int steps) {
  std::mt19937 rng(seed);
  auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(rng) < percent; };
  auto pick = [&](const std::vector<int>& v) { return v[std::uniform_int_distribution<size_t>(0, v.size() - 1)(rng)]; };
  TGame game;
  NewGame(game, gtRussian);
  Model model;
  ScriptedObserver ui;

  for (int step = 0; step < steps; ++step) {
    SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
    std::vector<int> nodes{0};
    for (auto [s, p] : model.parent) nodes.push_back(s);
    const bool big = model.parent.size() > 150;
    const int op = std::uniform_int_distribution<int>(0, 99)(rng);

    if (op < 25 && !big) {
      // A move played on the board at the current position.
      if (model.Depth(model.current) > 40) continue;
      TDColor side;
      const TBoard board = model.Board(model.current, side);
      bool any;
      const TMove move = RandomLegal(board, side, rng, any);
      if (!any) continue;
      const int p = model.current;
      const std::vector<int> siblings = model.Children(p);
      std::vector<int> order;  // the order in which the question lists them
      for (int32_t c : Children(game, p)) order.push_back(c);
      int existing = 0;
      for (int c : order)
        if (existing == 0 && SameMovePath(model.moves.at(c), move)) existing = c;
      const bool noQuestion = chance(20);
      const int a = std::uniform_int_distribution<int>(0, 2)(rng);
      ui.answer.answer = a == 0 ? TNewMoveAnswer::newVariation : a == 1 ? TNewMoveAnswer::replace : TNewMoveAnswer::cancel;
      ui.answer.selected = siblings.empty() ? -1 : std::uniform_int_distribution<int>(-1, siblings.size() - 1)(rng);
      ui.asked = -1;
      const TAddResult r = AddMoveAsk(game, move, p, noQuestion, &ui);
      if (existing != 0) {
        ASSERT_EQ(r.status, TAddStatus::existing);
        ASSERT_EQ(r.slot, existing);
        ASSERT_EQ(ui.asked, -1);
      } else if (siblings.empty() || noQuestion || ui.answer.answer == TNewMoveAnswer::newVariation) {
        ASSERT_EQ(r.status, TAddStatus::added);
        ASSERT_EQ(ui.asked, siblings.empty() || noQuestion ? -1 : static_cast<int>(siblings.size()));
        ASSERT_EQ(model.parent.count(r.slot), 0u) << "slot in use was taken";
        model.Add(r.slot, p, move, siblings.empty());
      } else if (ui.answer.answer == TNewMoveAnswer::cancel) {
        ASSERT_EQ(r.status, TAddStatus::cancelled);
        ASSERT_EQ(ui.askedPreselected, siblings.size() == 1 ? 0 : -1);
      } else {
        ASSERT_EQ(r.status, TAddStatus::added);
        if (ui.answer.selected >= 0) model.Remove(order[ui.answer.selected]);
        ASSERT_EQ(model.parent.count(r.slot), 0u) << "slot in use was taken";
        model.Add(r.slot, p, move, true);
      }
      if (r.ok()) {
        ASSERT_TRUE(GoToMove(game, r.slot));
        model.current = r.slot;
      }
    } else if (op < 50 && !big) {
      // An importer adds a move anywhere.
      const int p = pick(nodes);
      if (model.Depth(p) > 40) continue;
      TDColor side;
      bool any;
      const TMove move = RandomLegal(model.Board(p, side), side, rng, any);
      if (!any) continue;
      const bool first = model.Children(p).empty();
      const TAddResult r = AddMove(game, p, move);
      ASSERT_EQ(r.status, TAddStatus::added);
      ASSERT_EQ(model.parent.count(r.slot), 0u);
      model.Add(r.slot, p, move, first);
    } else if (op < 56 || (big && op < 75)) {
      // "Delete line after move" somewhere.
      const int c = pick(nodes);
      ASSERT_TRUE(GoToMove(game, c));
      const int p = model.Parent(c);
      DeleteLineAfterMove(game);
      model.Remove(c);
      model.current = p;
      ASSERT_EQ(game.Header.LastMove, model.parent.empty() ? 0 : model.parent.rbegin()->first);
    } else if (op < 66) {
      const int a = pick(nodes);
      int b = a;
      std::vector<int> sib = model.Children(model.Parent(b));
      while (b != 0 && sib.size() == 1) {
        b = model.Parent(b);
        sib = model.Children(model.Parent(b));
      }
      const bool expected = b != 0;
      ASSERT_EQ(PromoteLine(game, a), expected);
      if (expected) model.mainChild[model.Parent(b)] = b;
    } else if (op < 67) {
      std::vector<int> side;
      for (int n = 0;;) {
        const int f = model.First(n);
        if (f == 0) break;
        for (int x : model.Children(n))
          if (x != f) side.push_back(x);
        n = f;
      }
      ClearVariations(game);
      for (int x : side) model.Remove(x);
      if (model.current != 0 && !model.parent.count(model.current)) {
        ASSERT_TRUE(GoToMove(game, 0));
        model.current = 0;
      }
    } else if (op < 69) {
      // Direct deletion of a subtree, then back to the start.
      const int c = pick(nodes);
      DeleteSubtree(game, c);
      model.Remove(c);
      ASSERT_TRUE(GoToMove(game, 0));
      model.current = 0;
    } else {
      // Navigation.
      const int kind = std::uniform_int_distribution<int>(0, 3)(rng);
      if (kind == 0) {
        const int f = model.First(model.current);
        ASSERT_EQ(StepForward(game), f != 0);
        if (f != 0) model.current = f;
      } else if (kind == 1) {
        ASSERT_TRUE(StepBack(game));
        model.current = model.Parent(model.current);
      } else if (kind == 2) {
        int s = pick(nodes);
        ASSERT_TRUE(GoToLineEnd(game, s));
        while (model.First(s) != 0) s = model.First(s);
        model.current = s;
      } else {
        const int s = pick(nodes);
        ASSERT_TRUE(GoToMove(game, s));
        model.current = s;
      }
    }
    CheckAgainstModel(game, model);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(RandomTree, AdditionsDeletionsAndPromotionsKeepTheTreeSound) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    RunRandomTree(seed, 1500);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace kestrel
