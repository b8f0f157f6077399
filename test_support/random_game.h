// Random games for property tests: move trees with variations, glyphs,
// comments and header values, grown either from the rules (legal games that
// replay) or from arbitrary move records (what a storage layer must keep
// whatever a file holds).
#pragma once

#include <random>
#include <string>
#include <vector>

#include "engine/packed_board.h"
#include "game/child_index.h"
#include "game/game.h"
#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"
#include "test_support/random_position.h"

namespace kestrel::testing {

// The same record to the last byte it uses: start, landings and the pieces
// taken, in order.
inline bool SameMoveRecord(const TMove& a, const TMove& b) {
  if (a.lt != b.lt || a.lt > MaxCaptured) return false;
  const int used = a.UsedBytes();
  for (int i = 0; i < used; ++i)
    if (a.mv[i] != b.mv[i]) return false;
  return true;
}

// Legal moves of `board`, each once.
inline std::vector<TMove> LegalMoves(const TBoard& board, TDColor side, int type) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  std::vector<TMove> moves;
  for (int i = 0; i < count; ++i) {
    bool seen = false;
    for (const TMove& m : moves) seen = seen || SameMoveRecord(m, list[i]);
    if (!seen) moves.push_back(list[i]);
  }
  return moves;
}

// Text a reader keeps as it is: no blanks at the ends, no control
// characters, braces only in pairs; Latin and Windows-1251 Cyrillic letters
// and the characters PDN gives a meaning to outside comments.
inline std::string RandomText(std::mt19937& rng, int maxWords) {
  static const std::vector<std::string> words = {
      "good", "\xEF\xEB\xEE\xF5\xEE",  // плохо
      "(a", "b)", "[#]", "%", ";", "1-0", "*", "$3", "12.", "c3-d4", "32x23", "\"", "'", "{x}", "{a {b} c}", "[Event",
      "\xC8\xE2\xE0\xED\xEE\xE2", "50%", "!?", "x", "-", "..."};
  const int n = 1 + static_cast<int>(rng() % maxWords);
  std::string text;
  for (int i = 0; i < n; ++i) {
    if (i > 0) text += (rng() % 8 == 0) ? "  " : " ";
    text += words[rng() % words.size()];
  }
  return text;
}

inline std::string RandomName(std::mt19937& rng) {
  static const std::vector<std::string> names = {"Ivanov", "Petrov I.", "\xCF\xE5\xF2\xF0\xEE\xE2 \xD1.",
                                                 "O'Neil, J.", "van der Berg", "Say \"Hi\"", "A [b] c"};
  return names[rng() % names.size()];
}

// A move record from `from`, taking taken[k] and landing on path[k + 1]
// (a plain move when nothing is taken).
inline TMove MoveRecord(const std::vector<int>& path, const std::vector<int>& taken = {}) {
  TMove m;
  m.lt = static_cast<uint8_t>(taken.size());
  m.mv[0] = static_cast<uint8_t>(path[0]);
  if (taken.empty()) m.mv[1] = static_cast<uint8_t>(path[1]);
  for (std::size_t k = 0; k < taken.size(); ++k) {
    m.mv[2 * k + 1] = static_cast<uint8_t>(taken[k]);
    m.mv[2 * k + 2] = static_cast<uint8_t>(path[k + 1]);
  }
  return m;
}

struct TRandomGameShape {
  // Moves of the rules; otherwise any records: captures of up to nine pieces
  // between random squares, random flags and glyph bits.
  bool legal = true;
  // Moves tried: mostly the newest line grows, sometimes an earlier node
  // branches.
  int additions = 70;
  // A start other than the standard one, one game in three: a random
  // position, or for legal games also the position some plies into a game.
  bool setUpStarts = true;
};

inline TGame RandomGame(int type, std::mt19937& rng, const TRandomGameShape& shape = {}) {
  auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
  TGame game;
  NewGame(game, type);
  if (shape.setUpStarts && chance(33)) {
    const TDColor side = rng() % 2 ? TDColor::black : TDColor::white;
    TBrd start = RandomPosition(rng, type, 45).b;
    if (shape.legal && chance(50)) {
      // The position reached by random play, so that men stand as in games.
      TBoard b = InitialPosition(type);
      TDColor s = TDColor::white;
      for (int p = 4 + static_cast<int>(rng() % 30); p > 0; --p) {
        const std::vector<TMove> moves = LegalMoves(b, s, type);
        if (moves.empty()) break;
        ApplyMove(moves[rng() % moves.size()], b, type);
        s = Opponent(s);
      }
      start = b.b;
    }
    SetUpPosition(game, start, side, 1 + static_cast<int>(rng() % 40), type);
  }
  game.Modified = false;

  const int squares = GameTypes[type].SquareCount;
  auto square = [&] { return 1 + static_cast<int>(rng() % squares); };
  std::vector<int> nodes{0};
  for (int i = 0; i < shape.additions; ++i) {
    const int at = chance(80) ? nodes.back() : nodes[rng() % nodes.size()];
    TMove move;
    if (shape.legal) {
      TBoard board;
      TDColor side;
      if (!PositionAt(game, at, board, side)) continue;
      std::vector<TMove> fresh;
      for (const TMove& m : LegalMoves(board, side, type)) {
        bool taken = false;
        for (int32_t c : Children(game, at)) taken = taken || SameMoveRecord(game.Moves[c], m);
        if (!taken) fresh.push_back(m);
      }
      if (fresh.empty()) continue;
      move = fresh[rng() % fresh.size()];
    } else if (chance(20)) {
      std::vector<int> path{square()}, taken;
      for (int k = 1 + static_cast<int>(rng() % 9); k > 0; --k) {
        taken.push_back(square());
        path.push_back(square());
      }
      move = MoveRecord(path, taken);
      move.flags = static_cast<uint8_t>(rng() % 32);
    } else {
      move = MoveRecord({square(), square()});
      move.flags = static_cast<uint8_t>(rng() % 32);
    }
    const TAddResult added = AddMove(game, at, move);
    if (!added.ok()) continue;
    const int slot = added.slot;
    nodes.push_back(slot);
    if (chance(15)) game.Moves[slot].comm = static_cast<uint16_t>(rng() % (shape.legal ? 7 : 256));
    if (shape.legal && chance(10)) {
      static const int positionGlyphs[] = {1, 2, 3, 4, 5, 7};
      game.Moves[slot].comm |= static_cast<uint16_t>(positionGlyphs[rng() % 6] << 4);
    }
    if (chance(12)) game.CommentsBef[slot] = RandomText(rng, 6);
    if (chance(12)) game.CommentsAft[slot] = RandomText(rng, 30) + (chance(20) ? std::string(rng() % 400, 'z') : "");
  }
  if (chance(30)) game.CommentsAft[0] = RandomText(rng, 8);
  // Free slots left behind, and a side line made the main one (its higher
  // slots come first in a walk).
  if (!shape.legal && chance(30) && game.Header.LastMove > 3) DeleteSubtree(game, 3);
  if (chance(30) && game.Header.LastMove > 0 && game.Moves[game.Header.LastMove].mv[0] != 0)
    PromoteLine(game, game.Header.LastMove);

  TGameHeader& h = game.Header;
  game.WhiteName = RandomName(rng);
  game.BlackName = chance(10) ? std::string() : RandomName(rng);
  game.AnnotatorName = chance(30) ? RandomName(rng) : std::string();
  game.Tournament = chance(70) ? "Cup " + std::to_string(rng() % 100) : std::string();
  game.Site = chance(50) ? "Site " + RandomName(rng) : std::string();
  h.Round = static_cast<int32_t>(rng() % 256);
  h.Subround = chance(30) ? static_cast<int32_t>(rng() % 256) : 0;
  h.Date = {static_cast<uint8_t>(rng() % 32), static_cast<uint8_t>(rng() % 13),
            static_cast<uint16_t>(chance(20) ? rng() % 40 : 1800 + rng() % 301)};
  h.Result = static_cast<uint8_t>(rng() % 6);
  h.White.Rating = static_cast<uint16_t>(chance(30) ? rng() % 3000 : 0);
  h.Black.Rating = static_cast<uint16_t>(chance(30) ? rng() % 3000 : 0);
  game.Modified = false;
  return game;
}

}  // namespace kestrel::testing
