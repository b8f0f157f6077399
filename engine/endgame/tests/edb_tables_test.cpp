// Table numbering: names, numbers and the index of every table up to four
// pieces read back as the same position.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>

#include "engine/endgame/edb_tables.h"
#include "engine/endgame/edb_walk.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

TEST(EdbTables, FileNamesAndNumbers) {
  const struct {
    TEdbMaterial m;
    const char* name;
    uint32_t number;
  } cases[] = {
      {{2, 0, 1, 1, 3, 0}, "4-1120-3-0", 20110300},
      {{0, 0, 2, 1, 0, 0}, "3-2100-0-0", 210000},
      {{5, 5, 0, 0, 35, 20}, "A-0055-35-20", 55003520},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TableFileName(c.m), c.name);
    EXPECT_EQ(c.m.Number(), c.number);
    TEdbMaterial back;
    ASSERT_TRUE(MaterialFromNumber(c.number, back));
    EXPECT_EQ(back, c.m);
  }
}

TEST(EdbTables, MenTablesCountEverySetOnce) {
  for (int gametype : {gtRussian, gtInternational, gtSpantsiretti}) {
    const TEdbBoard board(gametype);
    const int menSquares = board.Squares() - board.PerRow();
    for (int n = 0; n <= board.MaxMen(); ++n) {
      uint64_t total = 0;
      for (int rs = board.MinRowSum(n); rs <= board.MaxRowSum(n); ++rs) {
        EXPECT_GT(board.MenCount(n, rs), 0u) << gametype << " n=" << n << " rs=" << rs;
        total += board.MenCount(n, rs);
      }
      EXPECT_EQ(total, EdbBinomial(menSquares, n));
    }
    // The first set of each size is the highest squares.
    const int n = 3;
    const int top = board.MaxRowSum(n);
    const uint64_t first = board.MenSets(n, top).front();
    EXPECT_EQ(std::countl_zero(first), 64 - menSquares);
  }
}

// index -> position -> index over every table with up to four pieces, and
// the material of each position read back from it.
TEST(EdbTables, IndexRoundTripUpToFourPieces) {
  for (int gametype : {gtRussian, gtInternational, gtSpantsiretti}) {
    const TEdbBoard board(gametype);
    uint64_t checked = 0;
    for (int wm = 0; wm <= 4; ++wm)
      for (int bm = 0; bm + wm <= 4; ++bm)
        for (int wk = 0; wk + wm + bm <= 4; ++wk)
          for (int bk = 0; bk + wk + wm + bm <= 4; ++bk) {
            if (wm + wk == 0 || bm + bk == 0) continue;
            for (int rsw = board.MinRowSum(wm); rsw <= board.MaxRowSum(wm); ++rsw)
              for (int rsb = board.MinRowSum(bm); rsb <= board.MaxRowSum(bm); ++rsb) {
                const TEdbMaterial m{wm, bm, wk, bk, rsw, rsb};
                const uint64_t size = board.TableSize(m);
                // Every index of small tables, a spread of them in big ones.
                const uint64_t step = size > 20000 ? size / 4000 + 1 : 1;
                for (uint64_t i = 0; i < size; i += step) {
                  TBitBoard64 pos;
                  if (!board.Position(m, i, pos)) continue;
                  ASSERT_EQ(std::popcount(pos.w | pos.b), m.Pieces());
                  ASSERT_EQ(pos.w & pos.b, 0u);
                  TEdbMaterial back;
                  ASSERT_TRUE(board.MaterialOf(pos, back));
                  ASSERT_EQ(back, m) << TableFileName(m) << " index " << i;
                  ASSERT_EQ(board.Index(pos, m), i) << TableFileName(m);
                  ++checked;
                }
              }
          }
    EXPECT_GT(checked, 100000u);
  }
}

// The walk builds each position from the one before; it must give exactly
// the position of each index (overlapping men reported as none), and Locate
// must find the table and index it came from.
TEST(EdbTables, WalkGivesThePositionOfEveryIndex) {
  for (int gametype : {gtRussian, gtInternational}) {
    const TEdbBoard board(gametype);
    for (int pieces = 2; pieces <= 4; ++pieces)
      for (int wm = 0; wm <= pieces; ++wm)
        for (int bm = 0; bm + wm <= pieces; ++bm)
          for (int wk = 0; wk + wm + bm <= pieces; ++wk) {
            const int bk = pieces - wm - bm - wk;
            if (wm + wk == 0 || bm + bk == 0) continue;
            // The largest and the smallest row sums of the men.
            for (const auto& [rsw, rsb] : {std::pair{board.MaxRowSum(wm), board.MaxRowSum(bm)},
                                           std::pair{board.MinRowSum(wm), board.MinRowSum(bm)}}) {
              const TEdbMaterial m{wm, bm, wk, bk, rsw, rsb};
              const uint64_t per = MenPairPositions(board, m), pairs = board.TableSize(m) / per;
              const uint64_t first = pairs > 3 ? pairs - 3 : 0;
              uint64_t next = first * per;
              WalkTable(
                  board, m, first, pairs,
                  [&](uint64_t i, const TBitBoard64& pos) {
                    TBitBoard64 decoded;
                    ASSERT_EQ(i, next++);
                    ASSERT_TRUE(board.Position(m, i, decoded)) << TableFileName(m) << " index " << i;
                    ASSERT_EQ(pos, decoded) << TableFileName(m) << " index " << i;
                    TEdbMaterial found;
                    uint64_t index = 0;
                    ASSERT_TRUE(board.Locate(pos, found, index));
                    ASSERT_EQ(found, m);
                    ASSERT_EQ(index, i);
                  },
                  [&](uint64_t i, uint64_t count) {
                    ASSERT_EQ(i, next);
                    TBitBoard64 decoded;
                    for (; next < i + count; ++next) ASSERT_FALSE(board.Position(m, next, decoded));
                  });
              EXPECT_EQ(next, pairs * per) << TableFileName(m);
            }
          }
  }
}

// The threads share a table by ranges of indices that may start and end
// inside a men pair (a table of kings alone is one pair): such a walk must
// give the positions of its range and nothing else.
TEST(EdbTables, WalkOfAnIndexRangeGivesItsPositionsOnly) {
  const TEdbBoard board(gtRussian);
  std::mt19937_64 random(18);
  const TEdbMaterial materials[] = {
      {0, 0, 3, 1, 0, 0},
      {0, 0, 2, 2, 0, 0},
      {1, 1, 1, 1, board.MaxRowSum(1), board.MinRowSum(1)},
      {2, 1, 1, 0, board.MinRowSum(2), board.MaxRowSum(1)},
  };
  for (const TEdbMaterial& m : materials) {
    const uint64_t size = board.TableSize(m);
    for (int trial = 0; trial < 20; ++trial) {
      const uint64_t first = random() % size, last = std::min(size, first + random() % 3000);
      uint64_t next = first;
      WalkIndices(
          board, m, first, last,
          [&](uint64_t i, const TBitBoard64& pos) {
            TBitBoard64 decoded;
            ASSERT_EQ(i, next++) << TableFileName(m);
            ASSERT_TRUE(board.Position(m, i, decoded)) << TableFileName(m) << " index " << i;
            ASSERT_EQ(pos, decoded) << TableFileName(m) << " index " << i;
          },
          [&](uint64_t i, uint64_t count) {
            ASSERT_EQ(i, next) << TableFileName(m);
            TBitBoard64 decoded;
            for (; next < i + count; ++next) ASSERT_FALSE(board.Position(m, next, decoded));
          });
      EXPECT_EQ(next, last) << TableFileName(m) << " from " << first;
    }
  }
}

}  // namespace
}  // namespace kestrel
