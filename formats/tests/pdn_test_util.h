// Helpers shared by the PDN tests: a scratch folder, settings restored at
// the end of a scope, games of legal moves grown at random, and the
// comparison of two games as a reader sees them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/packed_board.h"
#include "test_support/temp_dir.h"
#include "formats/pdn_move_match.h"
#include "game/child_index.h"
#include "game/game.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel::testing {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The current game type and the Pool notation, put back at the end.
class SettingsScope {
 public:
  SettingsScope() : type_(CurrentGameType), pool_(PoolChessNotation) {}
  ~SettingsScope() {
    CurrentGameType = type_;
    PoolChessNotation = pool_;
  }
  SettingsScope(const SettingsScope&) = delete;
  SettingsScope& operator=(const SettingsScope&) = delete;

 private:
  int type_;
  bool pool_;
};

inline std::string ReferencePdnDir() { return std::string(KESTREL_SHARED_DIR) + "/reference/pdn"; }

// Legal moves of `board`, each once.
inline std::vector<TMove> LegalMoves(const TBoard& board, TDColor side, int type) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  std::vector<TMove> moves;
  for (int i = 0; i < count; ++i) {
    bool seen = false;
    for (const TMove& m : moves) seen = seen || SameMoveExactly(m, list[i]);
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

// A start position other than the standard one: pieces of both sides at
// random, men off the rank where they would be crowned.
inline TBrd RandomStart(std::mt19937& rng, int type) {
  TBrd b{};
  const int n = GameTypes[type].SquareCount;
  for (int s = 1; s <= n; ++s) {
    const int r = static_cast<int>(rng() % 12);
    if (r == 0) b[s] = WhiteKing;
    if (r == 1) b[s] = BlackKing;
    if ((r == 2 || r == 3) && !IsPromotionSquare(s, TDColor::white, type)) b[s] = WhiteMan;
    if ((r == 4 || r == 5) && !IsPromotionSquare(s, TDColor::black, type)) b[s] = BlackMan;
  }
  return b;
}

// A game of legal moves with variations, comments, glyphs and header
// values that PDN carries, from the standard or a set-up start.
inline TGame RandomPdnGame(int type, std::mt19937& rng) {
  TGame game;
  const bool setUp = rng() % 3 == 0;
  if (setUp) {
    const TDColor side = rng() % 2 ? TDColor::black : TDColor::white;
    SetUpPosition(game, RandomStart(rng, type), side, 1 + static_cast<int>(rng() % 40), type);
  } else {
    NewGame(game, type);
  }
  game.Modified = false;
  auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };

  struct Node {
    int slot;
    TBoard board;
    TDColor side;
  };
  TBrd start;
  UnpackBoard(game.StartBoard, start);
  TBoard startBoard;
  startBoard.b = start;
  std::vector<Node> nodes{{0, startBoard, game.Header.FirstMove}};
  const int additions = static_cast<int>(rng() % 70);
  for (int i = 0; i < additions; ++i) {
    // Mostly the newest node, so that lines grow long; sometimes a branch.
    const Node at = chance(80) ? nodes.back() : nodes[rng() % nodes.size()];
    const std::vector<TMove> legal = LegalMoves(at.board, at.side, type);
    std::vector<TMove> fresh;
    for (const TMove& m : legal) {
      bool taken = false;
      for (int32_t c : Children(game, at.slot)) taken = taken || SameMoveExactly(game.Moves[c], m);
      if (!taken) fresh.push_back(m);
    }
    if (fresh.empty()) continue;
    const TMove move = fresh[rng() % fresh.size()];
    const TAddResult added = AddMove(game, at.slot, move);
    if (!added.ok()) continue;
    const int slot = added.slot;
    if (chance(15)) game.Moves[slot].comm = static_cast<uint16_t>(rng() % 7);
    if (chance(10)) {
      static const int positionGlyphs[] = {1, 2, 3, 4, 5, 7};
      game.Moves[slot].comm |= static_cast<uint16_t>(positionGlyphs[rng() % 6] << 4);
    }
    if (chance(12)) game.CommentsBef[slot] = RandomText(rng, 6);
    if (chance(12)) game.CommentsAft[slot] = RandomText(rng, 30);
    TBoard next = at.board;
    ApplyMove(move, next, type);
    nodes.push_back({slot, next, Opponent(at.side)});
  }
  if (chance(30)) game.CommentsAft[0] = RandomText(rng, 8);

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
  return game;
}

// The same tree below `a` and `b`: moves, glyphs and both comments, the
// continuations in the same order.
inline void ExpectSameSubtree(const TGame& x, int a, const TGame& y, int b, const std::string& where) {
  const std::vector<int32_t> ca = Children(x, a);
  const std::vector<int32_t> cb = Children(y, b);
  ASSERT_EQ(ca.size(), cb.size()) << where;
  for (size_t i = 0; i < ca.size(); ++i) {
    const std::string here = where + "/" + std::to_string(i) + ":" + MoveToText(x.Moves[ca[i]], GameTypeOf(x), 0, "x");
    const TMove& ma = x.Moves[ca[i]];
    const TMove& mb = y.Moves[cb[i]];
    ASSERT_TRUE(SameMoveExactly(ma, mb)) << here << " vs " << MoveToText(mb, GameTypeOf(y), 0, "x");
    EXPECT_EQ(ma.flags, mb.flags) << here;
    EXPECT_EQ(ma.comm, mb.comm) << here;
    EXPECT_EQ(x.CommentsBef[ca[i]], y.CommentsBef[cb[i]]) << here;
    EXPECT_EQ(x.CommentsAft[ca[i]], y.CommentsAft[cb[i]]) << here;
    ExpectSameSubtree(x, ca[i], y, cb[i], here);
  }
}

// Everything PDN carries: the header values, the five names, the start
// position, the game comment and the whole tree.
inline void ExpectSamePdnGame(const TGame& x, const TGame& y) {
  const TGameHeader& a = x.Header;
  const TGameHeader& b = y.Header;
  EXPECT_EQ(a.TypeOfGame, b.TypeOfGame);
  EXPECT_EQ(a.FirstMove, b.FirstMove);
  // The first move number travels in the move numbers: a game without
  // moves has none.
  if (FirstChild(x, 0) != 0) {
    EXPECT_EQ(a.NumerationFrom, b.NumerationFrom);
  }
  EXPECT_EQ(a.Result, b.Result);
  EXPECT_EQ(a.Round, b.Round);
  EXPECT_EQ(a.Subround, b.Subround);
  EXPECT_EQ(a.Date.Day, b.Date.Day);
  EXPECT_EQ(a.Date.Month, b.Date.Month);
  EXPECT_EQ(a.Date.Year, b.Date.Year);
  EXPECT_EQ(a.White.Rating, b.White.Rating);
  EXPECT_EQ(a.Black.Rating, b.Black.Rating);
  EXPECT_EQ(x.WhiteName, y.WhiteName);
  EXPECT_EQ(x.BlackName, y.BlackName);
  EXPECT_EQ(x.AnnotatorName, y.AnnotatorName);
  EXPECT_EQ(x.Tournament, y.Tournament);
  EXPECT_EQ(x.Site, y.Site);
  EXPECT_EQ(x.StartBoard, y.StartBoard);
  EXPECT_EQ(x.CommentsAft[0], y.CommentsAft[0]);
  ExpectSameSubtree(x, 0, y, 0, "root");
}

}  // namespace kestrel::testing
