// Random positions built around a long capture route, for tests that compare
// move generators where their faults hide: a king of the side to move walks
// a random route of captures (which often crosses itself), the pieces it
// takes are put on the board, and further kings and men of both sides are
// scattered around to add rival routes and blockers.
#pragma once

#include <random>
#include <vector>

#include "rules/board.h"
#include "rules/game_types.h"

namespace kestrel::testing {

struct CaptureMazeOptions {
  int maxSteps = 20;   // captures the built route tries to make
  int extraKings = 3;  // up to this many further kings per side
  int extraMen = 8;    // up to this many further men per side
};

inline TBoard CaptureMaze(int type, TDColor side, std::mt19937& rng, const CaptureMazeOptions& opt = {}) {
  const TGameTypeRec& r = GameTypes[type];
  const TMailboxCells& cells = *r.MailboxCells;
  std::vector<int> dirs = {r.Step1, r.Step2, -r.Step1, -r.Step2};
  if (r.SquareCount == 50 && r.KingDirs > 3) dirs.insert(dirs.end(), {13, -13, 1, -1});  // Frisian
  const int8_t sign = side == TDColor::white ? 1 : -1;
  auto onBoard = [&](int cell) { return cell >= 0 && cell < MailboxSize && cells[cell] != 0; };
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

  std::vector<int8_t> piece(MailboxSize, 0);
  std::vector<bool> keepEmpty(MailboxSize, false);  // crossed or landed on by the route
  std::vector<int> boardCells;
  for (int c = 0; c < MailboxSize; ++c)
    if (onBoard(c)) boardCells.push_back(c);

  const int start = boardCells[pick(0, static_cast<int>(boardCells.size()) - 1)];
  piece[start] = static_cast<int8_t>(2 * sign);
  keepEmpty[start] = true;
  // Free for the route: on the board, no piece, or the start (empty while it moves).
  auto passable = [&](int c) { return onBoard(c) && (piece[c] == 0 || c == start); };
  const bool shortJumps = r.ShortKings || r.ImmediateRemoval;

  int at = start;
  for (int step = 0; step < opt.maxSteps; ++step) {
    bool moved = false;
    for (int attempt = 0; attempt < 40 && !moved; ++attempt) {
      const int d = dirs[pick(0, static_cast<int>(dirs.size()) - 1)];
      const int gap = r.ShortKings ? 0 : pick(0, 3);
      int c = at + d;
      bool ok = true;
      for (int i = 0; i < gap && ok; ++i, c += d) ok = passable(c);
      const int victim = c;
      if (!ok || !onBoard(victim) || piece[victim] != 0 || keepEmpty[victim]) continue;
      const int beyond = shortJumps ? 1 : pick(1, 3);
      for (int i = 1; i <= beyond && ok; ++i) ok = passable(victim + i * d);
      if (!ok) continue;
      for (int x = at + d; x != victim; x += d) keepEmpty[x] = true;
      const int landing = victim + beyond * d;
      for (int x = victim + d; x != landing + d; x += d) keepEmpty[x] = true;
      const int square = IndexToSquare(victim, type);
      const TDColor them = Opponent(side);
      const bool king = pick(0, 9) < 3 || IsPromotionSquare(square, them, type);
      piece[victim] = static_cast<int8_t>(-sign * (king ? 2 : 1));
      at = landing;
      moved = true;
    }
    if (!moved) break;
  }

  // Scatter the others, mostly off the route, now and then on it.
  auto scatter = [&](int8_t code, int count) {
    for (int i = 0; i < count; ++i) {
      const int c = boardCells[pick(0, static_cast<int>(boardCells.size()) - 1)];
      if (piece[c] != 0 || (keepEmpty[c] && pick(0, 9) != 0)) continue;
      const int square = IndexToSquare(c, type);
      const TDColor owner = code > 0 ? TDColor::white : TDColor::black;
      if ((code == 1 || code == -1) && IsPromotionSquare(square, owner, type)) continue;
      piece[c] = code;
    }
  };
  for (int8_t s : {sign, static_cast<int8_t>(-sign)}) {
    scatter(static_cast<int8_t>(2 * s), pick(0, opt.extraKings));
    scatter(s, pick(0, opt.extraMen));
  }

  TBoard board;
  for (int c : boardCells) board.b[IndexToSquare(c, type)] = piece[c];
  return board;
}

}  // namespace kestrel::testing
