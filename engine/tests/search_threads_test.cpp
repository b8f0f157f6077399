// The search and other threads: stopping from outside, the time limit,
// parallel batches, and engines side by side.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/tests/search_test_helpers.h"

namespace kestrel {
namespace {

using namespace searchtest;
using Clock = std::chrono::steady_clock;

class TDepthWatcher : public TSearchListener {
 public:
  void IterationDone(int depth, const std::vector<TRootMove>&, const TSearchStats&) override { reached = depth; }
  std::atomic<int> reached{0};
};

// Starts a search without limits on a thread, stops it a while after it has
// finished the iteration of `depth`, and answers how long it took to return.
double StopDelayMs(int gametype, int threads, int depth, uint64_t& threadsStarted) {
  TEngine engine(16);
  engine.SetThreadsCount(threads);
  const TEngineParams params = MaterialParams();
  TDepthWatcher watcher;
  TSearchLimits limits;  // no time limit, depth 49
  std::atomic<bool> done{false};
  Clock::time_point returned;
  TSearchResult result;
  std::thread worker([&] {
    result = engine.SearchRoot(InitialPosition(gametype), TDColor::white, gametype, limits, params, &watcher);
    returned = Clock::now();
    done = true;
  });
  const auto started = Clock::now();
  while (watcher.reached < depth && Clock::now() - started < std::chrono::seconds(60))
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(done.load()) << "the search ended by itself";
  const auto stopped = Clock::now();
  engine.Stop();
  worker.join();
  EXPECT_TRUE(result.stopped);
  EXPECT_TRUE(result.hasMove);
  EXPECT_GE(result.depth, depth);
  threadsStarted = result.stats.counters.threadsStarted;
  return std::chrono::duration<double, std::milli>(returned - stopped).count();
}

TEST(SearchThreads, StopEndsADeepSearchAtOnce) {
  uint64_t threads = 0;
  const double single = StopDelayMs(gtInternational, 1, 9, threads);
  EXPECT_EQ(threads, 0u);
  // From depth 13 on, plies 2 and 3 run batches of threads.
  const double batches = StopDelayMs(gtRussian, 2, 11, threads);
  EXPECT_GT(threads, 0u) << "stopped while batches were running";
  RecordProperty("stop_ms_one_thread", std::to_string(single));
  RecordProperty("stop_ms_two_threads", std::to_string(batches));
  std::cout << "[ stop ] returned " << single << " ms (one thread), " << batches << " ms (two threads) after the stop\n";
  EXPECT_LT(single, 1000.0);
  EXPECT_LT(batches, 1000.0);
}

TEST(SearchThreads, HardLimitStopsTheSearch) {
  TEngine engine(16);
  TSearchLimits limits;
  limits.hardLimit = 5;  // 50 ms
  const auto started = Clock::now();
  const TSearchResult result = engine.SearchRoot(InitialPosition(gtInternational), TDColor::white, gtInternational,
                                                 limits, MaterialParams());
  const auto ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
  EXPECT_TRUE(result.stopped);
  EXPECT_TRUE(result.hasMove);
  EXPECT_LT(ms, 5000.0);
  // The older generation watches the limit too.
  const auto oldStarted = Clock::now();
  const TSearchResult old =
      engine.SearchRoot(InitialPosition(gtCanadian), TDColor::white, gtCanadian, limits, MaterialParams(EngineOld));
  EXPECT_TRUE(old.stopped);
  const auto oldMs = std::chrono::duration<double, std::milli>(Clock::now() - oldStarted).count();
  EXPECT_LT(oldMs, 5000.0);
}

TEST(SearchThreads, SameBestMoveWithOneAndSeveralThreadsBelowDepth12) {
  for (int gametype : {gtRussian, gtInternational, gtThai}) {
    TDColor side;
    const TBoard board = RandomGamePosition(gametype, 8, 11, side);
    TEngine one(8), several(8);
    several.SetThreadsCount(4);
    const TSearchResult a = Search(one, board, side, gametype, 9, MaterialParams());
    const TSearchResult b = Search(several, board, side, gametype, 9, MaterialParams());
    EXPECT_TRUE(SameMove(a.bestMove, b.bestMove)) << GameTypeNames[gametype];
    EXPECT_EQ(a.score, b.score);
    EXPECT_EQ(a.stats.counters.nodes, b.stats.counters.nodes) << "no batch below depth 12";
    EXPECT_EQ(b.stats.counters.threadsStarted, 0u);
  }
}

TEST(SearchThreads, ParallelBatchesFindTheSameWin) {
  // The International two-for-one, searched to depth 13: batches of
  // threads at plies 2 and 3.
  const TBoard board = Board(gtInternational, "c3 i3 d4 j4", "g3 g5 e7 d8");
  const TMove key = FindMove(board, TDColor::white, gtInternational, "i3", "h4");
  TEngine one(8), several(8);
  several.SetThreadsCount(3);
  const TSearchResult a = Search(one, board, TDColor::white, gtInternational, 13, MaterialParams());
  const TSearchResult b = Search(several, board, TDColor::white, gtInternational, 13, MaterialParams());
  EXPECT_EQ(a.depth, 13);
  EXPECT_EQ(b.depth, 13);
  EXPECT_TRUE(SameMove(a.bestMove, key));
  EXPECT_TRUE(SameMove(b.bestMove, key));
  EXPECT_GT(a.score, WonScore);
  EXPECT_GT(b.score, WonScore);
  EXPECT_EQ(a.stats.counters.threadsStarted, 0u);
  EXPECT_GT(b.stats.counters.threadsStarted, 0u);
}

// Each engine owns its table, evaluation, stop flag and counters: two
// running at once give what each gives alone.
TEST(SearchThreads, TwoEnginesSideBySide) {
  TEngineParams heavyKings = MaterialParams();
  heavyKings.EvalFunc.SetParam(prKingValue, 500);
  CompileEvalFunc(heavyKings.EvalFunc);
  TDColor sideA, sideB;
  const TBoard boardA = RandomGamePosition(gtRussian, 16, 21, sideA);
  const TBoard boardB = RandomGamePosition(gtInternational, 16, 22, sideB);
  const auto run = [](const TBoard& board, TDColor side, int gametype, const TEngineParams& params) {
    TEngine engine(4);
    return Search(engine, board, side, gametype, 9, params);
  };
  const TSearchResult aloneA = run(boardA, sideA, gtRussian, MaterialParams());
  const TSearchResult aloneB = run(boardB, sideB, gtInternational, heavyKings);
  TSearchResult togetherA, togetherB;
  std::thread ta([&] { togetherA = run(boardA, sideA, gtRussian, MaterialParams()); });
  std::thread tb([&] { togetherB = run(boardB, sideB, gtInternational, heavyKings); });
  ta.join();
  tb.join();
  EXPECT_EQ(togetherA.score, aloneA.score);
  EXPECT_EQ(togetherA.stats.counters.nodes, aloneA.stats.counters.nodes);
  EXPECT_TRUE(SameMove(togetherA.bestMove, aloneA.bestMove));
  EXPECT_EQ(togetherB.score, aloneB.score);
  EXPECT_EQ(togetherB.stats.counters.nodes, aloneB.stats.counters.nodes);
  EXPECT_TRUE(SameMove(togetherB.bestMove, aloneB.bestMove));
}

}  // namespace
}  // namespace kestrel
