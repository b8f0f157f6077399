// Helpers shared by the PDN tests: a scratch folder, settings restored at
// the end of a scope, and the comparison of two games as a reader sees them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/packed_board.h"
#include "test_support/random_game.h"
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
