// A deliberately plain retrograde solver for checking the generator: its own
// positions (the rules core's boards), moves from the rules core, and a
// breadth-first pass backwards from the positions without moves. It shares
// nothing with the generator but the rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "rules/board.h"

namespace kestrel::testing {

class TSimpleSolver {
 public:
  explicit TSimpleSolver(int gametype) : gametype_(gametype) {}

  // Adds `board` (White to move) and everything reachable from it.
  void AddClosure(const TBoard& board);
  // Adds every position with 2..pieces pieces, both sides present.
  void AddAll(int pieces);
  // Solves what was added: distances as the MTW tables store them.
  void Solve();

  // 0 draw, odd: White (to move) loses in v plies, even: wins in v plies;
  // -1 for a position not added.
  int Value(const TBoard& board) const;
  size_t Positions() const { return boards_.size(); }
  const std::vector<TBoard>& Boards() const { return boards_; }

 private:
  uint64_t Key(const TBoard& board) const;
  int Id(const TBoard& board, std::vector<int>* pending);

  int gametype_;
  std::unordered_map<uint64_t, int> ids_;
  std::vector<TBoard> boards_;
  std::vector<std::vector<int>> successors_;  // -2: the opponent has nothing left
  std::vector<int> values_;
};

}  // namespace kestrel::testing
