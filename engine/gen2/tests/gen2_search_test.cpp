// The search of "Kestrel 4" against plain alpha-beta: with its selective
// parts off it must find exactly the minimax score, and its quiescence must
// resolve every compulsory capture.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <random>

#include "engine/gen2/gen2_engine.h"
#include "engine/gen2/tests/gen2_test_run.h"
#include "engine/tests/search_test_helpers.h"
#include "test_support/random_game.h"
#include "test_support/random_position.h"
#include "test_support/temp_dir.h"

namespace kestrel::gen2 {
namespace {

using searchtest::MaterialParams;
using searchtest::RandomGamePosition;

// Full width to `depth`, captures after it; a node with one legal move
// keeps its depth (the single-move extension), like the search under test.
// With `path` (the positions before `pos`, one per ply from the root), a
// position met before with the same side to move is a draw. `threats`: how
// many times along a line a quiet leaf whose opponent could capture, were
// it to move, is searched a ply further.
int Plain(const TBitBoard64& pos, int depth, int ply, int gametype, const TEvaluator& eval,
          std::vector<TBitBoard64>* path = nullptr, int threats = 0) {
  if (path)
    for (size_t back = 2; back <= path->size(); back += 2)
      if ((*path)[path->size() - back] == pos) return RepetitionScore;
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, gametype);
  if (count == 0) return ply - 2001;
  const bool capture = list[0].b != pos.b;
  if (depth <= 0 && !capture) {
    TBitBoard64 passed = pos;
    FlipBitBoard(passed, gametype);
    if (threats == 0 || CaptureMask(passed, gametype) == 0) return eval(pos, ply);
    --threats;
  }
  // The root itself is not extended: its iterations go deeper anyway.
  const int next = depth > 0 && count == 1 && ply > 1 ? depth : depth - 1;
  int best = -100000;
  if (path) path->push_back(pos);
  for (int i = 0; i < count; ++i) {
    TBitBoard64 child = list[i];
    FlipBitBoard(child, gametype);
    best = std::max(best, -Plain(child, next, ply + 1, gametype, eval, path, threats));
  }
  if (path) path->pop_back();
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

// One thread's search without the root driver.
struct TBareSearch {
  TTable table{1};
  std::atomic<bool> stop{false};
  TSharedSearch shared;
  TThreadSearch search;
  TBareSearch(int type, const TEvaluator& eval, const TSearchShape& shape)
      : shared{type, &table, &eval, nullptr, {}, shape, &stop}, search(shared) {}
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
        const TSearchResult r = run.ToDepth(engine, board, side, type, depth, params);
        if (!r.hasMove) break;
        std::vector<TBitBoard64> path;
        const int expected = Plain(Relative(board, side, type), depth, 1, type, eval, &path);
        ASSERT_EQ(r.depth, depth);
        EXPECT_EQ(r.score, expected) << GameTypeNames[type] << " seed " << seed << " depth " << depth;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 200);
}

// What the search evaluates with: the patterns alone, or the engine file's
// score plus the patterns when the weights were made on it.
TEST(Kestrel4Search, WeightsOnTheEngineFileAddToItsScore) {
  const TEngineParams params = MaterialParams(EngineGen2);
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> value(-60, 60);
  int compared = 0;
  for (const int type : BitboardVariants()) {
    if (RegionsOf(type).regions.empty()) continue;
    TPatternWeights w = TPatternWeights::Plain(type);
    for (auto& phase : w.region)
      for (int16_t& v : phase) v = static_cast<int16_t>(value(rng));
    TPatternWeights on = w;
    on.onEngineFile = true;
    const TEvaluator alone(params.EvalFunc, std::make_shared<TPatternWeights>(w), type);
    const TEvaluator added(params.EvalFunc, std::make_shared<TPatternWeights>(on), type);
    for (int i = 0; i < 20; ++i) {
      const TBitBoard64 pos = Relative(testing::RandomPosition(rng, type, 20), TDColor::white, type);
      if (pos.w == 0) continue;
      const int file = Evaluate(pos, 3, StageOf(pos, params.EvalFunc), params.EvalFunc, type);
      EXPECT_EQ(alone(pos, 3), PatternEvaluate(pos, w)) << GameTypeNames[type];
      EXPECT_EQ(added(pos, 3), std::clamp(file + PatternEvaluate(pos, on), -EvalMaxScore, EvalMaxScore))
          << GameTypeNames[type];
      ++compared;
    }
  }
  EXPECT_GT(compared, 100);
}

TEST(Kestrel4Search, QuiescenceResolvesEveryCompulsoryCapture) {
  const TEngineParams params = MaterialParams(EngineGen2);
  std::mt19937 rng(7);
  int captures = 0;
  for (const int type : BitboardVariants())
    for (int threats = 0; threats <= 2; ++threats) {
      const TEvaluator eval(params.EvalFunc, nullptr, type);
      TSearchShape shape;
      shape.quietThreats = threats;
      TBareSearch bare(type, eval, shape);
      TThreadSearch& search = bare.search;
      for (int i = 0; i < 150; ++i) {
        const TBoard board = testing::RandomPosition(rng, type, 35);
        const TBitBoard64 pos = Relative(board, TDColor::white, type);
        if (pos.w == 0 || pos.b == 0) continue;
        const bool mustCapture = CaptureMask(pos, type) != 0;
        captures += mustCapture;
        const int expected = Plain(pos, 0, 1, type, eval, nullptr, threats);
        EXPECT_EQ(search.Quiesce(pos, -Infinity, Infinity, 1), expected)
            << GameTypeNames[type] << " position " << i << " threats " << threats << (mustCapture ? " (capture)" : "");
        // Depth 0 of the node search is the same quiescence.
        EXPECT_EQ(search.Search(pos, -Infinity, Infinity, 0, 1, true), expected);
      }
    }
  EXPECT_GT(captures, 100);
}

TEST(Kestrel4Search, QuiescenceSeesASideWithoutMoves) {
  // A lone man walled in: its forward squares and the squares beyond them
  // are the other side's, nothing stands behind it. No capture, no step:
  // the side to move has lost, though most leaves never list their moves.
  const TEngineParams params = MaterialParams(EngineGen2);
  for (const int type : BitboardVariants()) {
    const TEvaluator eval(params.EvalFunc, nullptr, type);
    TBareSearch bare(type, eval, TSearchShape{});
    const uint64_t mask = BitBoardMask(type);
    int walled = 0;
    for (int x = 0; x + 12 < 64; ++x) {
      const uint64_t wall = (uint64_t{1} << (x + 5)) | (uint64_t{1} << (x + 6));
      const uint64_t beyond = (uint64_t{1} << (x + 10)) | (uint64_t{1} << (x + 12));
      if (!((mask >> x) & 1) || (wall & ~mask) != 0) continue;
      const TBitBoard64 pos{uint64_t{1} << x, wall | (beyond & mask), 0};
      TBitMoveList list;
      uint8_t count = 0;
      GenerateMoves(pos, list, count, type);
      ASSERT_EQ(count, 0) << GameTypeNames[type] << " bit " << x;
      EXPECT_EQ(bare.search.Quiesce(pos, -Infinity, Infinity, 3), 3 + NoMovesScore) << GameTypeNames[type] << " bit " << x;
      ++walled;
      // One of the wall moving away frees the man: then it is not lost.
      const TBitBoard64 freed{pos.w, pos.b & ~(uint64_t{1} << (x + 5)), 0};
      EXPECT_EQ(bare.search.Quiesce(freed, -Infinity, Infinity, 3), Plain(freed, 0, 3, type, eval))
          << GameTypeNames[type] << " bit " << x;
    }
    EXPECT_GT(walled, 8) << GameTypeNames[type];
  }
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

struct TRepetitionCase {
  int gametype;
  std::vector<std::pair<int, int8_t>> pieces;  // square, cell code
};

TEST(Kestrel4Search, RepeatedPositionsAlongTheLineAreDraws) {
  // Random pattern weights make a draw a score of its own. The listed
  // positions are ones where the reference's score changes with the rule;
  // random ones with few pieces, half of them kings, follow.
  const std::vector<TRepetitionCase> decided{
      {gtEnglish, {{9, BlackKing}, {10, WhiteMan}, {18, WhiteKing}}},
      {gtEnglish, {{5, WhiteKing}, {21, BlackKing}}},
      {gtEnglish, {{5, WhiteKing}, {20, BlackKing}, {25, BlackMan}}},
      {gtEnglish, {{2, WhiteKing}, {4, WhiteKing}, {9, BlackKing}, {18, BlackMan}}},
      {gtItalian, {{4, WhiteMan}, {8, BlackMan}, {13, WhiteKing}, {28, BlackKing}}},
      {gtItalian, {{5, WhiteKing}, {28, BlackKing}}},
      {gtItalian, {{17, WhiteKing}, {28, BlackKing}}},
  };
  std::mt19937 rng(11);
  int compared = 0;
  for (const int type : {gtEnglish, gtItalian, gtBrazilian, gtRussian}) {
    TPatternWeights w = TPatternWeights::Plain(type);
    std::mt19937 wrng(type);
    std::uniform_int_distribution<int> value(-40, 40);
    for (auto& phase : w.region)
      for (int16_t& v : phase) v = static_cast<int16_t>(value(wrng));
    const TEngineParams params = MaterialParams(EngineGen2);
    const TEvaluator eval(params.EvalFunc, std::make_shared<TPatternWeights>(w), type);
    TSearchShape exact;
    exact.reductions = exact.pruning = false;
    exact.exactTable = true;
    TBareSearch bare(type, eval, exact);
    TThreadSearch& search = bare.search;
    std::vector<std::pair<TBoard, bool>> boards;
    for (const TRepetitionCase& c : decided) {
      if (c.gametype != type) continue;
      TBoard board;
      for (const auto& [square, code] : c.pieces) board.b[square] = code;
      boards.emplace_back(board, true);
    }
    while (boards.size() < 25) {
      TBoard board = testing::RandomPosition(rng, type, 15);
      for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
        if ((board.b[s] == WhiteMan || board.b[s] == BlackMan) && rng() % 2 == 0)
          board.b[s] = board.b[s] == WhiteMan ? WhiteKing : BlackKing;
      boards.emplace_back(board, false);
    }
    for (size_t i = 0; i < boards.size(); ++i) {
      const TBitBoard64 pos = Relative(boards[i].first, TDColor::white, type);
      TBitMoveList list;
      uint8_t count = 0;
      GenerateMoves(pos, list, count, type);
      // The search extends a lone move at the root too, the reference not.
      if (pos.b == 0 || count < 2) continue;
      bare.table.Clear();
      search.SetRoot(pos);
      std::vector<TBitBoard64> path;
      const int expected = Plain(pos, 4, 1, type, eval, &path);
      EXPECT_EQ(search.Search(pos, -Infinity, Infinity, 4, 1, true), expected) << GameTypeNames[type] << " position " << i;
      if (boards[i].second) {
        EXPECT_NE(expected, Plain(pos, 4, 1, type, eval)) << GameTypeNames[type] << " position " << i;
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, 50);
}

// Records what a search reported, for the rule on which move it answers.
struct TMoveReports : TSearchListener {
  int lastDepth = 0;
  TMove lastIterationMove;
  std::vector<TMove> linesSince;  // moves shown by BestLine since that iteration
  int bestSince = -Infinity;      // the best of their scores
  int lastScore = 0;              // and the last
  void BestLine(int16_t score, const TRootMove& move) override {
    linesSince.push_back(move.move);
    bestSince = std::max<int>(bestSince, score);
    lastScore = score;
  }
  void IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats&) override {
    lastDepth = depth;
    lastIterationMove = moves[0].move;
    linesSince.clear();
    bestSince = -Infinity;
  }
};

TEST(Kestrel4Search, NodeLimitedSearchStopsAtTheLimitTheSameWayEveryRun) {
  // The answer of a stopped search: the last finished iteration's move, or
  // the last move that proved better in the unfinished one (each such move
  // is shown as a best line when found; so is the iteration's first move).
  // Random pattern weights: the root moves' scores differ.
  TEngineParams params = MaterialParams(EngineGen2);
  TPatternWeights w = TPatternWeights::Plain(gtRussian);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> value(-40, 40);
  for (auto& phase : w.region)
    for (int16_t& v : phase) v = static_cast<int16_t>(value(rng));
  const testing::TempDir dir;
  params.PatternWeights = dir.File("Russian.k4w");
  std::ofstream(params.PatternWeights) << WeightsText(w);
  TDColor side;
  const TBoard board = RandomGamePosition(gtRussian, 14, 5, side);
  // Extended analysis searches every root move with a full window.
  for (uint64_t limit = 1000; limit < 200000; limit = limit * 3 / 2 + 7) for (const bool extended : {false, true}) {
    TKestrel4 a, b;
    TRun r1, r2;
    TSearchLimits limits;
    limits.maxNodes = limit;
    TMoveReports reports;
    TSearchListener silent;
    TGenerationContext c1 = r1.Context(), c2 = r2.Context();
    c1.extendedAnalysis = c2.extendedAnalysis = extended;
    const TSearchResult x = a.SearchRoot(board, side, gtRussian, limits, params, reports, c1);
    const TSearchResult y = b.SearchRoot(board, side, gtRussian, limits, params, silent, c2);
    ASSERT_TRUE(x.hasMove);
    EXPECT_EQ(x.stats.counters.nodes, limit);
    EXPECT_EQ(x.depth, reports.lastDepth);
    const TMove expected = reports.linesSince.empty() ? reports.lastIterationMove : reports.linesSince.back();
    EXPECT_TRUE(searchtest::SameMove(x.bestMove, expected)) << "limit " << limit;
    // Full windows give exact scores: the answer is the best move seen.
    if (extended && !reports.linesSince.empty()) {
      EXPECT_EQ(reports.lastScore, reports.bestSince) << "limit " << limit;
    }
    EXPECT_TRUE(searchtest::SameMove(x.bestMove, y.bestMove)) << "limit " << limit;
    EXPECT_EQ(x.score, y.score) << "limit " << limit;
    EXPECT_EQ(x.stats.counters.nodes, y.stats.counters.nodes);
  }
}

TEST(Kestrel4Search, HelperThreadsShareTheTableAndKeepTheScoreSound) {
  // With helpers the tree differs, but a won position stays won and the
  // move played is legal.
  const TEngineParams params = MaterialParams(EngineGen2);
  const TBoard board = searchtest::Board(gtRussian, "Kc1 Ke1 Kg1", "h8");
  TRun run;
  TKestrel4 engine;
  const TSearchResult r = run.ToDepth(engine, board, TDColor::white, gtRussian, 12, params, 3);
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
