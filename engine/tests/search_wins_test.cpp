// Composed positions with a forced win the search must find at a small depth.
#include <gtest/gtest.h>

#include "engine/score_text.h"
#include "engine/tests/search_test_helpers.h"

namespace kestrel {
namespace {

using namespace searchtest;

struct TComposedWin {
  const char* name;
  int gametype;
  const char* white;
  const char* black;
  const char* from;  // the winning move
  const char* to;
  int depth;
  int minScore;      // at least this much, from White's view
  const char* scoreText = nullptr;  // when the exact score text is known
};

void ExpectWin(const TComposedWin& c, uint8_t generation = EngineNew) {
  SCOPED_TRACE(c.name);
  TEngine engine(4);
  const TBoard board = Board(c.gametype, c.white, c.black);
  const TSearchResult result = Search(engine, board, TDColor::white, c.gametype, c.depth, MaterialParams(generation));
  ASSERT_TRUE(result.hasMove);
  EXPECT_TRUE(SameMove(result.bestMove, FindMove(board, TDColor::white, c.gametype, c.from, c.to)))
      << "played " << MoveToText(result.bestMove, c.gametype, 0, "x");
  EXPECT_GE(result.score, c.minScore);
  if (c.scoreText) {
    EXPECT_EQ(ScoreText(result.score), c.scoreText);
  }
}

// A man given so that the capture lands where two are taken back.
TEST(SearchFindsWins, TwoForOneShot) {
  // g3-f4: e5xg3 h4xf2xd4, or e3xg5 h4xf6xd4.
  ExpectWin({"Russian", gtRussian, "a3 g3 b4 h4", "e3 e5 c7 b8", "g3", "f4", 5, 100});
  // The same blow on the right edge of the larger boards, where the men
  // capturing back cannot go on past the edge.
  ExpectWin({"International", gtInternational, "c3 i3 d4 j4", "g3 g5 e7 d8", "i3", "h4", 5, 100});
  ExpectWin({"Brazilian", gtBrazilian, "a3 g3 b4 h4", "e3 e5 c7 b8", "g3", "f4", 5, 100});
  ExpectWin({"Pool", gtPool, "a3 g3 b4 h4", "e3 e5 c7 b8", "g3", "f4", 5, 100});
  // Men capturing forwards only: c5-d6, then e7xc5 b4xd6xb8 or c7xe5
  // f4xd6xf8, crowning; a3 and g3 stop Black's capture going on.
  ExpectWin({"English", gtEnglish, "a3 b4 c5 f4 g3", "c7 e7 h8", "c5", "d6", 5, 400});
}

TEST(SearchFindsWins, BreakthroughToAKing) {
  // a3-b4 draws c5 away (c5xa3), and a5 runs through b6, a7 to b8.
  ExpectWin({"Russian", gtRussian, "a1 a3 a5", "c5 d8 f8", "a3", "b4", 9, 100});
  ExpectWin({"International", gtInternational, "a3 a5 a7", "c7 d10 f10", "a5", "b6", 9, 100});
}

TEST(SearchFindsWins, WonKingEndgame) {
  // Two short kings against one: the lone king is caught in four moves.
  ExpectWin({"English", gtEnglish, "Kf2 Kd8", "Kf6", "f2", "e3", 9, 1400, "x4"});
  // Three flying kings against one off the main road.
  ExpectWin({"Russian", gtRussian, "Kc1 Kf6 Kd8", "Ka5", "f6", "h4", 9, 1400, "x4"});
}

TEST(SearchFindsWins, OlderGenerationOnFrisianAndCanadian) {
  // i3-h4: f4 takes h4 along the rank (landing j4) or h6 along the file
  // (landing h2); either way j2 takes all three men back.
  ExpectWin({"Frisian", gtFrisian, "j2 i3 b4", "f4 e5 h6", "i3", "h4", 5, 1400, "x2"}, EngineOld);
  // The International blow on the right edge of the 12 by 12 board.
  ExpectWin({"Canadian", gtCanadian, "e3 k3 f4 l4", "i3 i5 g7 f8", "k3", "j4", 5, 90}, EngineOld);
  // Asked for the current generation, these variants get the older one.
  ExpectWin({"Frisian (asked for 1)", gtFrisian, "j2 i3 b4", "f4 e5 h6", "i3", "h4", 5, 1400, "x2"}, EngineNew);
}

}  // namespace
}  // namespace kestrel
