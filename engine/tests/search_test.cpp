#include <gtest/gtest.h>

#include "engine/principal_variation.h"
#include "engine/score_text.h"
#include "engine/tests/search_test_helpers.h"

namespace kestrel {
namespace {

using namespace searchtest;

constexpr int64_t NoLimit = 100000000;

SearchNode RootNode(const TBoard& board, TDColor side, int gametype, int ply, int depth, int alpha = -2000,
                    int beta = 2000) {
  SearchNode node;
  BoardToBit64(board, node.position, gametype);
  node.turn = side == TDColor::black;
  node.ply = static_cast<uint8_t>(ply);
  node.depth = static_cast<uint8_t>(depth);
  node.alpha = static_cast<int16_t>(alpha);
  node.beta = static_cast<int16_t>(beta);
  node.gametype = static_cast<uint8_t>(gametype);
  return node;
}

TEST(Search, SideWithoutMovesScoresPlyMinus2001) {
  TEngine engine(1);
  const TEngineParams params = MaterialParams();
  // Black's man on a3 is blocked by b2, and cannot jump it onto c1.
  const TBoard blocked = Board(gtRussian, "b2 c1", "a3");
  engine.PrepareSearch(params.EvalFunc, NoLimit);
  TSearchCounters counters;
  SearchNode node = RootNode(blocked, TDColor::black, gtRussian, 7, 9);
  engine.AlphaBeta(node, counters);
  EXPECT_EQ(node.result, 7 - 2001);
  EXPECT_FALSE(Search(engine, blocked, TDColor::black, gtRussian, 9, params).hasMove);

  // White takes the last black man: Black has no move at ply 2.
  const TBoard lastMan = Board(gtRussian, "c3", "d4");
  const TSearchResult result = Search(engine, lastMan, TDColor::white, gtRussian, 5, params);
  ASSERT_TRUE(result.hasMove);
  EXPECT_EQ(result.score, 1999);
  EXPECT_EQ(ScoreText(result.score), "x1");
  EXPECT_EQ(MoveToText(result.bestMove, gtRussian, 0, "x"), "c3xe5");
}

TEST(Search, SingleMoveFlagDecidesWhetherToSearchOn) {
  TEngine engine(1);
  const TEngineParams params = MaterialParams();
  const TBoard forced = Board(gtRussian, "a1 c3", "d4 h8");  // only c3xe5
  TSearchLimits limits;
  limits.maxDepth = 11;
  limits.singleMove = false;
  TRecordingListener once;
  const TSearchResult result = engine.SearchRoot(forced, TDColor::white, gtRussian, limits, params, &once);
  EXPECT_EQ(once.depths, std::vector<int>{5});
  EXPECT_EQ(result.depth, 5);
  limits.singleMove = true;
  TRecordingListener all;
  engine.SearchRoot(forced, TDColor::white, gtRussian, limits, params, &all);
  EXPECT_EQ(all.depths, (std::vector<int>{5, 7, 9, 11}));
}

// The depth a node stores in the table shows whether it was extended.
int StoredDepth(TEngine& engine, const TEvalFuncNew& func, const TBoard& board, int ply, int depth) {
  engine.PrepareSearch(func, NoLimit);
  TSearchCounters counters;
  SearchNode node = RootNode(board, TDColor::white, gtRussian, ply, depth);
  engine.AlphaBeta(node, counters);
  const TBitBoard64 pos = EnginePosition(board, TDColor::white, gtRussian);
  const THashRec64 entry = engine.Table().Read(engine.Table().Index(pos));
  EXPECT_EQ(entry.pos, pos);
  return entry.depth;
}

TEST(Search, SingleMoveExtensionFollowsItsConditionCodes) {
  TEngine engine(1);
  const TBoard forced = Board(gtRussian, "a1 c3", "d4 h8");
  TEvalFuncNew func = MaterialParams().EvalFunc;
  // Codes 0: never extended. Stored depth is depth - ply + 1.
  EXPECT_EQ(StoredDepth(engine, func, forced, 1, 4), 4);
  EXPECT_EQ(StoredDepth(engine, func, forced, 2, 5), 4);
  // Code 1 for odd plies: extended at ply 1, not at ply 2.
  func.SetParam(prExtensionSelf, 1);
  EXPECT_EQ(StoredDepth(engine, func, forced, 1, 4), 5);
  EXPECT_EQ(StoredDepth(engine, func, forced, 2, 5), 4);
  // Code 35 is code 1 (taken modulo 34); -1 is 1 as well.
  func.SetParam(prExtensionSelf, 35);
  EXPECT_EQ(StoredDepth(engine, func, forced, 3, 6), 5);
  func.SetParam(prExtensionSelf, 0);
  func.SetParam(prExtensionOpponent, -1);
  EXPECT_EQ(StoredDepth(engine, func, forced, 1, 4), 4);
  EXPECT_EQ(StoredDepth(engine, func, forced, 2, 5), 5);
  // Code 23 (depth - ply < 2) holds at ply 2 of depth 3, not of depth 5.
  func.SetParam(prExtensionOpponent, 23);
  EXPECT_EQ(StoredDepth(engine, func, forced, 2, 3), 3);
  EXPECT_EQ(StoredDepth(engine, func, forced, 2, 5), 4);
}

TEST(Search, ReducedSearchesAnswerHopelessWindows) {
  TEngine engine(1);
  const TBoard start = InitialPosition(gtRussian);
  TEvalFuncNew func = MaterialParams().EvalFunc;
  const auto run = [&](int alpha, int beta, uint64_t& nodes) {
    engine.PrepareSearch(func, NoLimit);
    TSearchCounters counters;
    SearchNode node = RootNode(start, TDColor::white, gtRussian, 1, 7, alpha, beta);
    engine.AlphaBeta(node, counters);
    nodes = counters.nodes;
    return node.result;
  };
  uint64_t plain = 0, reduced = 0;
  // Against alpha: without the reduced search a fail-low returns alpha itself.
  EXPECT_EQ(run(1000, 1001, plain), 1000);
  func.SetParam(prReductionAlpha, 1);
  func.SetParam(prRangeAlphaSelf, 50);
  func.SetParam(prRangeAlphaOpponent, 50);
  const int v = run(1000, 1001, reduced);
  EXPECT_LT(v, 1000 - 50) << "the shallower search's own score";
  EXPECT_LT(reduced, plain);

  // Against beta.
  func.SetParam(prReductionAlpha, 0);
  const int high = run(-1001, -1000, plain);
  EXPECT_GE(high, -1000);
  func.SetParam(prReductionBeta, 1);
  func.SetParam(prRangeBetaSelf, 50);
  func.SetParam(prRangeBetaOpponent, 50);
  EXPECT_GT(run(-1001, -1000, reduced), -1000 + 50);
  EXPECT_LT(reduced, plain);
}

// Margins from an engine file can be anything: margins wider than any score
// never cut, so the value is that of the plain search.
TEST(Search, ReducedSearchesWithExtremeMarginsNeverCut) {
  TEngine engine(1);
  TEvalFuncNew func = MaterialParams().EvalFunc;
  func.SetParam(prReductionAlpha, 1);
  func.SetParam(prReductionBeta, 1);
  for (int i : {prRangeAlphaSelf, prRangeAlphaOpponent, prRangeBetaSelf, prRangeBetaOpponent})
    func.SetParam(i, 32767);
  TDColor side;
  const TBoard board = RandomGamePosition(gtRussian, 10, 2, side);
  engine.PrepareSearch(func, NoLimit);
  TSearchCounters counters;
  SearchNode node = RootNode(board, side, gtRussian, 1, 6);
  engine.AlphaBeta(node, counters);
  EXPECT_EQ(node.result, ReferenceSearch(EnginePosition(board, side, gtRussian), -2000, 2000, 1, 6, gtRussian, func));
}

// Table, ordering and batches must not change the value of a full-window
// search: it equals that of a plain alpha-beta with the same node rule.
TEST(Search, AgreesWithPlainAlphaBeta) {
  TEngine engine(4);
  const TEngineParams params = MaterialParams();
  for (int gametype : {gtRussian, gtEnglish, gtBrazilian, gtPool, gtItalian, gtInternational, gtCzech, gtSpanish,
                       gtSpantsiretti, gtThai}) {
    for (unsigned seed = 0; seed < 3; ++seed) {
      TDColor side;
      const TBoard board = RandomGamePosition(gametype, seed == 0 ? 0 : 12 * static_cast<int>(seed), seed, side);
      const TBitBoard64 pos = EnginePosition(board, side, gametype);
      for (int depth : {4, 5}) {
        engine.PrepareSearch(params.EvalFunc, NoLimit);
        TSearchCounters counters;
        SearchNode node = RootNode(board, side, gametype, 1, depth);
        engine.AlphaBeta(node, counters);
        EXPECT_EQ(node.result, ReferenceSearch(pos, -2000, 2000, 1, depth, gametype, params.EvalFunc))
            << GameTypeNames[gametype] << " seed " << seed << " depth " << depth;
      }
    }
  }
}

TEST(Search, RootScoreIsTheBestOfItsMoves) {
  TEngine engine(4);
  const TEngineParams params = MaterialParams();
  for (int gametype : {gtRussian, gtInternational, gtItalian}) {
    TDColor side;
    const TBoard board = RandomGamePosition(gametype, 14, 5, side);
    TRecordingListener listener;
    const TSearchResult result = Search(engine, board, side, gametype, 5, params, &listener);
    ASSERT_TRUE(result.hasMove);
    int best = -32000;
    for (const TRootMove& rm : listener.rootMoves) {
      TBoard child = board;
      ApplyMove(rm.move, child, gametype);
      const TBitBoard64 pos = EnginePosition(child, Opponent(side), gametype);
      best = std::max(best, -ReferenceSearch(pos, -2000, 2000, 2, 5, gametype, params.EvalFunc));
    }
    EXPECT_EQ(result.score, best) << GameTypeNames[gametype];
    EXPECT_FALSE(listener.unsortedSeen);
    EXPECT_EQ(listener.sortedCalls, static_cast<int>(listener.rootMoves.size()));
    EXPECT_GT(result.stats.counters.nodes, 0u);
    EXPECT_GT(result.stats.counters.evaluations, 0u);
  }
}

// With extended analysis every root move gets its own exact score, except
// the moves the user excluded, which are not searched.
TEST(Search, ExtendedAnalysisScoresEveryRootMove) {
  class TExcludeOne : public TRecordingListener {
   public:
    bool Excluded(const TMove& move) override { return SameMove(move, excluded); }
    TMove excluded;
  };
  TEngine engine(4);
  engine.SetExtendedAnalysis(true);
  const TEngineParams params = MaterialParams();
  TDColor side;
  TBoard board;
  TMoveList list;
  uint8_t count = 0;
  for (unsigned seed = 4; count < 3; ++seed) {  // a position with a choice
    board = RandomGamePosition(gtInternational, 12, seed, side);
    GenerateMoveList(board, side, list, gtInternational, count);
  }
  TExcludeOne listener;
  listener.excluded = list[1];
  Search(engine, board, side, gtInternational, 5, params, &listener);
  ASSERT_EQ(listener.last.size(), count);
  for (const TRootMove& rm : listener.last) {
    if (SameMove(rm.move, list[1])) {
      EXPECT_EQ(rm.score, UnsearchedScore);
      continue;
    }
    TBoard child = board;
    ApplyMove(rm.move, child, gtInternational);
    const int expected =
        -ReferenceSearch(EnginePosition(child, Opponent(side), gtInternational), -2000, 2000, 2, 5, gtInternational,
                         params.EvalFunc);
    EXPECT_EQ(rm.score, expected) << rm.text;
    EXPECT_EQ(rm.lower, rm.score);
    EXPECT_EQ(rm.upper, rm.score);
    EXPECT_TRUE(SameMove(rm.pv.Mvs[0], rm.move));
  }
  EXPECT_TRUE(SameMove(listener.last.back().move, list[1])) << "excluded, so sorted last";
}

TEST(Search, OlderGenerationAgreesWithPlainAlphaBeta) {
  TEngine engine(1);
  const TEngineParams params = MaterialParams(EngineOld);
  for (int gametype : {gtFrisian, gtCanadian, gtRussian}) {
    for (unsigned seed = 0; seed < 2; ++seed) {
      TDColor side;
      const TBoard board = RandomGamePosition(gametype, 10 * static_cast<int>(seed), seed, side);
      engine.PrepareSearch(params.EvalFunc, NoLimit);
      TSearchCounters counters;
      TNewBoard newboard;
      BoardToNewBoard(board, newboard, gametype);
      EXPECT_EQ(engine.AlphaBetaOld(newboard, -2000, 2000, gametype, side, 4, 1, counters),
                ReferenceSearchOld(board, side, -2000, 2000, 1, 4, gametype))
          << GameTypeNames[gametype] << " seed " << seed;
    }
  }
}

TEST(Search, VariantsWithoutBitboardsUseTheOlderGeneration) {
  TEngine engine(1);
  for (int gametype : {gtFrisian, gtCanadian}) {
    TDColor side;
    const TBoard board = RandomGamePosition(gametype, 8, 3, side);
    const TSearchResult asked = Search(engine, board, side, gametype, 5, MaterialParams(EngineNew));
    const TSearchResult old = Search(engine, board, side, gametype, 5, MaterialParams(EngineOld));
    ASSERT_TRUE(asked.hasMove);
    EXPECT_EQ(asked.score, old.score);
    EXPECT_EQ(asked.stats.counters.nodes, old.stats.counters.nodes);
    EXPECT_TRUE(SameMove(asked.bestMove, old.bestMove));
  }
  EXPECT_EQ(SearchGeneration(MaterialParams(EngineNew), gtFrisian), EngineOld);
  EXPECT_EQ(SearchGeneration(MaterialParams(EngineNew), gtThai), EngineNew);
  EXPECT_EQ(SearchGeneration(MaterialParams(EngineOld), gtThai), EngineOld);
}

// Stores `move` as the best move of the position before it.
void StoreBestMove(TEngine& engine, const TBoard& board, TDColor side, int gametype, const TMove& move) {
  const TBitBoard64 pos = EnginePosition(board, side, gametype);
  TBoard after = board;
  ApplyMove(move, after, gametype);
  TBitBoard64 target;
  BoardToBit64(after, target, gametype);
  if (side == TDColor::black) FlipBitBoard(target, gametype);
  TBitMoveList list;
  uint8_t count = 0;
  GenerateMoves(pos, list, count, gametype);
  for (int i = 0; i < count; ++i) {
    if (list[i] == target) {
      engine.Table().Store(pos, 0, -2000, 2000, 3, i + 1, 2);
      return;
    }
  }
  ADD_FAILURE() << "no bitboard move";
}

TEST(PrincipalVariation, RepeatedPositionEndsTheLine) {
  TEngine engine(1);
  const int gt = gtRussian;
  TBoard board = Board(gt, "Ka1 c3", "Kh8 f6");
  const TMove first = FindMove(board, TDColor::white, gt, "a1", "b2");
  // Kings go back and forth: a1-b2 h8-g7 b2-a1 g7-h8 is the start again.
  TBoard b = board;
  ApplyMove(first, b, gt);
  const TMove m2 = FindMove(b, TDColor::black, gt, "h8", "g7");
  StoreBestMove(engine, b, TDColor::black, gt, m2);
  ApplyMove(m2, b, gt);
  const TMove m3 = FindMove(b, TDColor::white, gt, "b2", "a1");
  StoreBestMove(engine, b, TDColor::white, gt, m3);
  ApplyMove(m3, b, gt);
  const TMove m4 = FindMove(b, TDColor::black, gt, "g7", "h8");
  StoreBestMove(engine, b, TDColor::black, gt, m4);
  // The start position's own entry would continue the line: it must not be
  // read, since the repetition comes first.
  StoreBestMove(engine, board, TDColor::white, gt, first);

  const TPV pv = engine.ReadPV(board, TDColor::white, first, gt);
  EXPECT_EQ(pv.Length, 4);
  EXPECT_TRUE(pv.Repeated);
  EXPECT_EQ(PVText(pv, gt, TDColor::white, 1, false, 0, "x"), "a1-b2 h8-g7 b2-a1 g7-h8 =");
  EXPECT_EQ(PVText(pv, gt, TDColor::white, 12, true, 0, "x"), "12. a1-b2 h8-g7 13. b2-a1 g7-h8 =");
  EXPECT_EQ(PVText(pv, gt, TDColor::black, 7, true, 0, "x"), "7... a1-b2 8. h8-g7 b2-a1 9. g7-h8 =");

  // A line ends where the table knows no move.
  TEngine empty(1);
  const TPV single = empty.ReadPV(board, TDColor::white, first, gt);
  EXPECT_EQ(single.Length, 1);
  EXPECT_FALSE(single.Repeated);
}

TEST(PrincipalVariation, SearchedLineIsLegal) {
  TEngine engine(4);
  for (int gametype : {gtRussian, gtInternational, gtEnglish, gtSpantsiretti}) {
    TDColor side;
    const TBoard start = RandomGamePosition(gametype, 10, 9, side);
    const TSearchResult result = Search(engine, start, side, gametype, 9, MaterialParams());
    ASSERT_TRUE(result.hasMove);
    EXPECT_GE(result.pv.Length, 5) << GameTypeNames[gametype];
    EXPECT_TRUE(SameMove(result.pv.Mvs[0], result.bestMove));
    TBoard board = start;
    TDColor toMove = side;
    for (int i = 0; i < result.pv.Length; ++i) {
      TMoveList list;
      uint8_t count = 0;
      GenerateMoveList(board, toMove, list, gametype, count);
      bool legal = false;
      for (int k = 0; k < count; ++k) legal = legal || SameMove(list[k], result.pv.Mvs[i]);
      ASSERT_TRUE(legal) << GameTypeNames[gametype] << " move " << i;
      ApplyMove(result.pv.Mvs[i], board, gametype);
      toMove = Opponent(toMove);
    }
  }
}

TEST(CombinationFinder, FollowsForcingMovesOnly) {
  TEngine engine(1);
  const TEngineParams params = MaterialParams();
  engine.PrepareSearch(params.EvalFunc, NoLimit);
  TSearchCounters counters;
  // g3-f4 forces a capture and a double capture back.
  const TBoard shot = Board(gtRussian, "a3 g3 b4 h4", "e3 e5 c7 b8");
  const TBitBoard64 pos = EnginePosition(shot, TDColor::white, gtRussian);
  EXPECT_EQ(engine.FindCombination(pos, -2000, 2000, gtRussian, 0, 1, counters), 100);
  // The flag turns a position given from the other side round first.
  TBitBoard64 turned = pos;
  FlipBitBoard(turned, gtRussian);
  EXPECT_EQ(engine.FindCombination(turned, -2000, 2000, gtRussian, 1, 1, counters), 100);
  // No forcing move at the start: the static score.
  const TBitBoard64 start = EnginePosition(InitialPosition(gtInternational), TDColor::white, gtInternational);
  EXPECT_EQ(engine.FindCombination(start, -2000, 2000, gtInternational, 0, 1, counters), 0);
  // The last man taken: no move at ply 2.
  const TBitBoard64 last = EnginePosition(Board(gtRussian, "c3", "d4"), TDColor::white, gtRussian);
  EXPECT_EQ(engine.FindCombination(last, -2000, 2000, gtRussian, 0, 1, counters), 1999);
}

}  // namespace
}  // namespace kestrel
