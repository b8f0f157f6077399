// The search of "Kestrel 4" against plain alpha-beta: with its selective
// parts off it must find exactly the minimax score, and its quiescence must
// resolve every compulsory capture.
#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "engine/gen2/gen2_engine.h"
#include "engine/tests/search_test_helpers.h"
#include "test_support/random_game.h"
#include "test_support/random_position.h"

namespace kestrel::gen2 {
namespace {

using searchtest::MaterialParams;
using searchtest::RandomGamePosition;

// Full width to `depth`, captures after it; a node with one legal move
// keeps its depth (the single-move extension), like the search under test.
int Plain(const TBitBoard64& pos, int depth, int ply, int gametype, const TEvaluator& eval) {
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, gametype);
  if (count == 0) return ply - 2001;
  const bool capture = list[0].b != pos.b;
  if (depth <= 0 && !capture) return eval(pos, ply);
  // The root itself is not extended: its iterations go deeper anyway.
  const int next = depth > 0 && count == 1 && ply > 1 ? depth : depth - 1;
  int best = -100000;
  for (int i = 0; i < count; ++i) {
    TBitBoard64 child = list[i];
    FlipBitBoard(child, gametype);
    best = std::max(best, -Plain(child, next, ply + 1, gametype, eval));
  }
  return best;
}

TBitBoard64 Relative(const TBoard& board, TDColor side, int gametype) {
  TBitBoard64 bb;
  BoardToBit64(board, bb, gametype);
  if (side == TDColor::black) FlipBitBoard(bb, gametype);
  return bb;
}

std::vector<int> BitboardVariants() {
  std::vector<int> types;
  for (int t = 1; t <= GameTypeCount; ++t)
    if (HasBitBoardGenerator(t)) types.push_back(t);
  return types;
}

struct TRun {
  std::atomic<bool> stop{false};
  TNullEndgameProber prober;
  TGenerationContext Context(int threads = 1) {
    TGenerationContext c;
    c.stop = &stop;
    c.threads = threads;
    c.hashMegabytes = 4;
    c.prober = &prober;
    return c;
  }
};

TEST(Kestrel4Search, ExactShapeFindsTheMinimaxScoreInEveryVariant) {
  const TEngineParams params = MaterialParams(EngineGen2);
  TSearchShape exact;
  exact.reductions = exact.pruning = false;
  exact.exactTable = true;
  int compared = 0;
  for (const int type : BitboardVariants()) {
    const TEvaluator eval(params.EvalFunc, nullptr, type);
    TKestrel4 engine;
    engine.SetShape(exact);
    for (unsigned seed = 0; seed < 6; ++seed) {
      TDColor side;
      const TBoard board = RandomGamePosition(type, 10 + 7 * static_cast<int>(seed), 100 * type + seed, side);
      for (int depth = 1; depth <= 4; ++depth) {
        TRun run;
        TSearchLimits limits;
        limits.maxDepth = depth;
        TSearchListener silent;
        const TSearchResult r = engine.SearchRoot(board, side, type, limits, params, silent, run.Context());
        if (!r.hasMove) break;
        const int expected = Plain(Relative(board, side, type), depth, 1, type, eval);
        ASSERT_EQ(r.depth, depth);
        EXPECT_EQ(r.score, expected) << GameTypeNames[type] << " seed " << seed << " depth " << depth;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 200);
}

TEST(Kestrel4Search, QuiescenceResolvesEveryCompulsoryCapture) {
  const TEngineParams params = MaterialParams(EngineGen2);
  std::mt19937 rng(7);
  int captures = 0;
  for (const int type : BitboardVariants()) {
    const TEvaluator eval(params.EvalFunc, nullptr, type);
    TTable table(1);
    std::atomic<bool> stop{false};
    TSharedSearch shared;
    shared.gametype = type;
    shared.table = &table;
    shared.eval = &eval;
    shared.stop = &stop;
    TThreadSearch search(shared);
    for (int i = 0; i < 150; ++i) {
      const TBoard board = testing::RandomPosition(rng, type, 35);
      const TBitBoard64 pos = Relative(board, TDColor::white, type);
      if (pos.w == 0 || pos.b == 0) continue;
      const bool mustCapture = CaptureMask(pos, type) != 0;
      captures += mustCapture;
      EXPECT_EQ(search.Quiesce(pos, -Infinity, Infinity, 1), Plain(pos, 0, 1, type, eval))
          << GameTypeNames[type] << " position " << i << (mustCapture ? " (capture)" : "");
      // Depth 0 of the node search is the same quiescence.
      EXPECT_EQ(search.Search(pos, -Infinity, Infinity, 0, 1, true), Plain(pos, 0, 1, type, eval));
    }
  }
  EXPECT_GT(captures, 100);
}

TEST(Kestrel4Search, FixedDepthWithOneThreadRepeatsItselfExactly) {
  const TEngineParams params = MaterialParams(EngineGen2);
  for (const int type : {gtRussian, gtInternational, gtEnglish}) {
    TDColor side;
    const TBoard board = RandomGamePosition(type, 12, 3, side);
    TSearchLimits limits;
    limits.maxDepth = 9;
    TKestrel4 a, b;
    TRun r1, r2, r3;
    TSearchListener silent;
    const TSearchResult x = a.SearchRoot(board, side, type, limits, params, silent, r1.Context());
    const TSearchResult y = a.SearchRoot(board, side, type, limits, params, silent, r2.Context());
    const TSearchResult z = b.SearchRoot(board, side, type, limits, params, silent, r3.Context());
    for (const TSearchResult* o : {&y, &z}) {
      EXPECT_TRUE(searchtest::SameMove(x.bestMove, o->bestMove)) << GameTypeNames[type];
      EXPECT_EQ(x.score, o->score);
      EXPECT_EQ(x.stats.counters.nodes, o->stats.counters.nodes);
    }
    EXPECT_EQ(x.depth, 9);
  }
}

TEST(Kestrel4Search, HelperThreadsShareTheTableAndKeepTheScoreSound) {
  // With helpers the tree differs, but a won position stays won and the
  // move played is legal.
  const TEngineParams params = MaterialParams(EngineGen2);
  const TBoard board = searchtest::Board(gtRussian, "Kc1 Ke1 Kg1", "h8");
  TRun run;
  TSearchLimits limits;
  limits.maxDepth = 12;
  TKestrel4 engine;
  TSearchListener silent;
  const TSearchResult r = engine.SearchRoot(board, TDColor::white, gtRussian, limits, params, silent, run.Context(3));
  ASSERT_TRUE(r.hasMove);
  EXPECT_GT(r.score, 250);
  EXPECT_EQ(r.stats.counters.threadsStarted, 2u);
  const auto legal = testing::LegalMoves(board, TDColor::white, gtRussian);
  EXPECT_TRUE(std::any_of(legal.begin(), legal.end(), [&](const TMove& m) { return searchtest::SameMove(m, r.bestMove); }));
}

TEST(Kestrel4Search, StopsAtTheHardLimitWithTheLastIterationsMove) {
  const TEngineParams params = MaterialParams(EngineGen2);
  TRun run;
  TSearchLimits limits;
  limits.hardLimit = limits.softLimit = 5;  // 50 ms
  TKestrel4 engine;
  searchtest::TRecordingListener listener;
  const TSearchResult r =
      engine.SearchRoot(InitialPosition(gtInternational), TDColor::white, gtInternational, limits, params, listener,
                        run.Context());
  ASSERT_TRUE(r.hasMove);
  ASSERT_FALSE(listener.depths.empty());
  // Iterations step by one ply.
  for (size_t i = 0; i < listener.depths.size(); ++i) EXPECT_EQ(listener.depths[i], static_cast<int>(i) + 1);
  EXPECT_EQ(r.depth, listener.depths.back());
  EXPECT_LT(r.stats.elapsedMs, 1000);
}

}  // namespace
}  // namespace kestrel::gen2
