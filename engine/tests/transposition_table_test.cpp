#include "engine/transposition_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

namespace kestrel {
namespace {

TBitBoard64 RandomPosition(std::mt19937_64& rng) {
  const uint64_t mask = 0x7DFFBFF7FEFFDFull;
  const uint64_t occupied = rng() & mask;
  const uint64_t w = (occupied & rng()) | 1;  // the side to move always has a piece
  return {w, occupied & ~w, occupied & rng() & ~uint64_t{1}};
}

TEST(TranspositionTable, SizeIsThePowerOfTwoThatHoldsTheMegabytes) {
  EXPECT_EQ(TTranspositionTable::EntriesFor(0), 1u);
  EXPECT_EQ(TTranspositionTable::EntriesFor(1), 32768u);
  EXPECT_EQ(TTranspositionTable::EntriesFor(3), 131072u);  // 98304 rounded up
  EXPECT_EQ(TTranspositionTable::EntriesFor(16), 524288u);
  EXPECT_EQ(TTranspositionTable::EntriesFor(100), 4194304u);
  EXPECT_EQ(TTranspositionTable::EntriesFor(uint64_t{1} << 40), TTranspositionTable::MaxEntries);

  TTranspositionTable table(1);
  EXPECT_EQ(table.Entries(), 32768u);
  ASSERT_TRUE(table.Allocate(0));
  EXPECT_EQ(table.Entries(), 1u);
  EXPECT_EQ(table.Index(TBitBoard64{0x123, 0x456000, 0x400}), 0u);
}

TEST(TranspositionTable, ClearedTableMatchesNoPositionWithPieces) {
  TTranspositionTable table(1);
  std::mt19937_64 rng(7);
  std::vector<TBitBoard64> positions;
  for (int i = 0; i < 2000; ++i) {
    positions.push_back(RandomPosition(rng));
    table.Store(positions.back(), 50, -100, 100, 3, 2, 2);
  }
  int found = 0;
  for (const auto& pos : positions) found += table.Probe(pos, -100, 100, 1, 2).found;
  EXPECT_GT(found, 1500);  // most survived their neighbours
  table.Clear();
  for (const auto& pos : positions) {
    const TTableProbe probe = table.Probe(pos, -100, 100, 1, 2);
    EXPECT_FALSE(probe.found);
    EXPECT_FALSE(probe.cut);
  }
}

TEST(TranspositionTable, BoundsCutOnlyWhereTheyDecideAndOnlyWhenDeepEnough) {
  TTranspositionTable table(1);
  const TBitBoard64 pos{0x1041, 0x20000000, 0};
  // A fail-high at depth 5: the score is at least beta.
  table.Store(pos, 120, -50, 80, 5, 3, 2);
  TTableProbe probe = table.Probe(pos, 0, 80, 5, 2);
  EXPECT_TRUE(probe.found);
  EXPECT_TRUE(probe.cut);
  EXPECT_EQ(probe.score, 80);
  EXPECT_EQ(probe.bestmove, 3);
  EXPECT_TRUE(table.Probe(pos, 0, 60, 3, 2).cut) << "a lower beta is cut too";
  EXPECT_FALSE(table.Probe(pos, 0, 81, 5, 2).cut) << "beta above the stored bound";
  probe = table.Probe(pos, 0, 80, 6, 2);
  EXPECT_TRUE(probe.found);
  EXPECT_FALSE(probe.cut) << "needs more depth than stored";
  EXPECT_EQ(probe.bestmove, 3) << "the move still orders the search";

  // A fail-low at depth 3: the score is at most alpha.
  const TBitBoard64 low{0x2082, 0x40000000, 0};
  table.Store(low, -10, 40, 90, 3, 0, 3);
  EXPECT_TRUE(table.Probe(low, 40, 90, 3, 3).cut);
  EXPECT_EQ(table.Probe(low, 50, 90, 2, 3).score, 40);
  EXPECT_FALSE(table.Probe(low, 39, 90, 3, 3).cut) << "alpha below the stored bound";
  EXPECT_FALSE(table.Probe(low, 40, 90, 4, 3).cut) << "depth 3 cuts a node needing 3, not 4";

  // An exact score cuts any window.
  const TBitBoard64 exact{0x4104, 0x80000000, 0};
  table.Store(exact, 25, 0, 100, 4, 1, 2);
  probe = table.Probe(exact, -500, 500, 4, 2);
  EXPECT_TRUE(probe.cut);
  EXPECT_EQ(probe.score, 25);
}

TEST(TranspositionTable, ReplacementAndMerging) {
  TTranspositionTable table(0);  // one entry: every position shares it
  const TBitBoard64 a{0x1, 0x800, 0};
  const TBitBoard64 b{0x2, 0x1000, 0};
  table.Store(a, 30, 0, 100, 6, 4, 2);
  // A shallower store of the same position changes nothing.
  table.Store(a, -70, -80, -60, 2, 9, 2);
  THashRec64 e = table.Read(0);
  EXPECT_EQ(e.depth, 6);
  EXPECT_EQ(e.minval, 30);
  EXPECT_EQ(e.maxval, 30);
  EXPECT_EQ(e.bestmove, 4);
  EXPECT_EQ(e.used, 0);

  // A deeper store starts from open bounds.
  table.Store(a, 200, 0, 150, 7, 5, 2);  // fail high at beta 150
  e = table.Read(0);
  EXPECT_EQ(e.depth, 7);
  EXPECT_EQ(e.minval, 150);
  EXPECT_EQ(e.maxval, 2000);
  EXPECT_EQ(e.bestmove, 5);
  EXPECT_EQ(e.bestmove2, 4);
  // Equal depth merges: a new upper bound keeps the lower one. A node that
  // found no move of its own keeps the moves the entry had.
  table.Store(a, 300, 300, 400, 7, 0, 2);  // fail low at alpha 300
  e = table.Read(0);
  EXPECT_EQ(e.minval, 150);
  EXPECT_EQ(e.maxval, 300);
  EXPECT_EQ(e.bestmove, 5);
  EXPECT_EQ(e.bestmove2, 4);

  // Another position always takes the entry, even with less depth.
  table.Store(b, 5, 0, 10, 1, 2, 9);
  e = table.Read(0);
  EXPECT_EQ(e.pos, b);
  EXPECT_EQ(e.depth, 1);
  EXPECT_EQ(e.bestmove, 2);
  EXPECT_EQ(e.bestmove2, 0);
  EXPECT_FALSE(table.Probe(a, -100, 100, 1, 2).found);
}

TEST(TranspositionTable, WonScoresCountFromTheNodeThatReadsThem) {
  // A win in 6 plies from a node at ply 4 reads as a win in 6 plies from a
  // node at ply 8 as well: 2001 - 10 from the root there, 2001 - 14 here.
  EXPECT_EQ(ScoreFromTable(ScoreToTable(2001 - 10, 4), 8), 2001 - 14);
  EXPECT_EQ(ScoreFromTable(ScoreToTable(-(2001 - 10), 4), 8), -(2001 - 14));
  EXPECT_EQ(ScoreFromTable(ScoreToTable(1500 - 3, 4), 4), 1500 - 3);
  EXPECT_EQ(ScoreToTable(1300, 9), 1300);
  EXPECT_EQ(ScoreToTable(-1400, 9), -1400);

  TTranspositionTable table(1);
  const TBitBoard64 pos{0x41, 0x100000, 0};
  table.Store(pos, 2001 - 10, -2000, 2000, 5, 1, 4);
  const TTableProbe same = table.Probe(pos, -2000, 2000, 5, 4);
  ASSERT_TRUE(same.cut);
  EXPECT_EQ(same.score, 2001 - 10) << "read back at the same ply unchanged";
  const TTableProbe later = table.Probe(pos, -2000, 2000, 5, 6);
  ASSERT_TRUE(later.cut);
  EXPECT_EQ(later.score, 2001 - 12);
}

// Every stored entry carries data derived from its position; a reader that
// matched a position must see that position's data, whatever other threads
// write into the same entries at the same time.
TEST(TranspositionTable, EntriesAreNeverSeenHalfWritten) {
  TTranspositionTable table(0);
  // One entry for many positions: constant collisions.
  std::vector<TBitBoard64> positions;
  std::mt19937_64 rng(3);
  for (int i = 0; i < 64; ++i) positions.push_back(RandomPosition(rng));
  const auto valueOf = [](const TBitBoard64& p) { return static_cast<int>((p.w ^ p.b ^ p.k) % 1000); };
  std::atomic<int> torn{0};
  std::atomic<int> matches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 pick(t);
      for (int n = 0; n < 50000; ++n) {
        const TBitBoard64& p = positions[pick() % positions.size()];
        const int v = valueOf(p);
        if (n % 2 == 0) {
          table.Store(p, v, v - 1, v + 1, 1 + static_cast<int>(pick() % 3), 1 + v % 100, 2);
        } else {
          const TTableProbe probe = table.Probe(p, -2000, 2000, 1, 2);
          if (!probe.found) continue;
          ++matches;
          if (probe.bestmove != 1 + v % 100 || (probe.cut && probe.score != v)) ++torn;
        }
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_GT(matches.load(), 0);
  EXPECT_EQ(torn.load(), 0);
}

}  // namespace
}  // namespace kestrel
