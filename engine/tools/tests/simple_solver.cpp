#include "simple_solver.h"

#include <deque>

#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel::testing {

uint64_t TSimpleSolver::Key(const TBoard& board) const {
  uint64_t key = 0;
  for (int s = 1; s <= GameTypes[gametype_].SquareCount; ++s)
    if (board.b[s] != 0) key = key * 256 + static_cast<uint64_t>(s * 5 + board.b[s] + 2);
  return key;
}

int TSimpleSolver::Id(const TBoard& board, std::vector<int>* pending) {
  const auto [it, added] = ids_.emplace(Key(board), static_cast<int>(boards_.size()));
  if (added) {
    boards_.push_back(board);
    if (pending) pending->push_back(it->second);
  }
  return it->second;
}

void TSimpleSolver::AddClosure(const TBoard& start) {
  std::vector<int> pending;
  Id(start, &pending);
  while (!pending.empty()) {
    const int id = pending.back();
    pending.pop_back();
    const TBoard board = boards_[id];
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(board, TDColor::white, list, gametype_, count);
    std::vector<int> next;
    for (int i = 0; i < count; ++i) {
      TBoard after = board;
      ApplyMove(list[i], after, gametype_);
      FlipBoard(after.b, gametype_);  // the opponent becomes White, to move
      bool opponentLeft = false;
      for (int s = 1; s <= GameTypes[gametype_].SquareCount; ++s) opponentLeft |= after.b[s] > 0;
      next.push_back(opponentLeft ? Id(after, &pending) : -2);
    }
    if (successors_.size() < boards_.size()) successors_.resize(boards_.size());
    successors_[id] = std::move(next);
  }
  successors_.resize(boards_.size());
}

void TSimpleSolver::AddAll(int pieces) {
  const int n = GameTypes[gametype_].SquareCount;
  const int8_t kinds[4] = {WhiteMan, WhiteKing, BlackMan, BlackKing};
  std::vector<int> squares(pieces), kind(pieces);
  // Every set of squares in increasing order with every choice of kinds.
  const auto place = [&](auto&& self, int k, int from, int count) -> void {
    if (k == count) {
      for (int code = 0; code < (1 << (2 * count)); ++code) {
        TBoard board;
        bool white = false, black = false, legal = true;
        for (int i = 0; i < count; ++i) {
          const int8_t c = kinds[code >> (2 * i) & 3];
          board.b[squares[i]] = c;
          white |= c > 0;
          black |= c < 0;
          if (c == WhiteMan && IsPromotionSquare(squares[i], TDColor::white, gametype_)) legal = false;
          if (c == BlackMan && IsPromotionSquare(squares[i], TDColor::black, gametype_)) legal = false;
        }
        if (white && black && legal) AddClosure(board);
      }
      return;
    }
    for (int s = from; s <= n; ++s) {
      squares[k] = s;
      self(self, k + 1, s + 1, count);
    }
  };
  for (int count = 2; count <= pieces; ++count) place(place, 0, 1, count);
}

void TSimpleSolver::Solve() {
  const int count = static_cast<int>(boards_.size());
  std::vector<std::vector<int>> predecessors(count);
  std::vector<int> remaining(count);
  values_.assign(count, 0);
  std::deque<int> queue, captured;
  for (int id = 0; id < count; ++id) {
    remaining[id] = static_cast<int>(successors_[id].size());
    bool capturesAll = false;
    for (int s : successors_[id]) {
      if (s >= 0)
        predecessors[s].push_back(id);
      else
        capturesAll = true;
    }
    if (successors_[id].empty()) {
      values_[id] = 1;  // no move: lost now
      queue.push_back(id);
    } else if (capturesAll) {
      values_[id] = 2;  // takes the opponent's last piece
      captured.push_back(id);
    }
  }
  // The queue must hold distances in increasing order.
  queue.insert(queue.end(), captured.begin(), captured.end());
  // Breadth first: losses make their predecessors wins at once; a win
  // makes a predecessor a loss when it was its last way out.
  while (!queue.empty()) {
    const int id = queue.front();
    queue.pop_front();
    const int v = values_[id];
    for (int p : predecessors[id]) {
      if (values_[p] != 0) continue;
      if (v % 2 == 1) {
        values_[p] = v + 1;
        queue.push_back(p);
      } else if (--remaining[p] == 0) {
        values_[p] = v + 1;
        queue.push_back(p);
      }
    }
  }
}

int TSimpleSolver::Value(const TBoard& board) const {
  const auto it = ids_.find(Key(board));
  return it == ids_.end() ? -1 : values_[it->second];
}

}  // namespace kestrel::testing
