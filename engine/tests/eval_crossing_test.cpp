#include "engine/eval_crossing.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/default_eval.h"
#include "engine/tests/eval_test_helpers.h"

namespace kestrel {
namespace {

using evaltest::Pattern;

constexpr uint64_t Bit(int n) { return uint64_t{1} << n; }

TEvalFuncNew Parent(int16_t base, std::array<int16_t, 4> bounds, std::vector<TPattern> patterns) {
  TEvalFuncNew f;
  f.Name = "parent";
  for (int i = 0; i < EvalParamCount; ++i)
    for (int s = 0; s < EvalStages; ++s) f.P(s, i) = static_cast<int16_t>(base + i + s);
  for (int s = 0; s < EvalStages; ++s) f.P(s, prStageMinCount) = bounds[s];
  f.Patt = std::move(patterns);
  CompileEvalFunc(f);
  return f;
}

bool StrictlyDecreasing(const TEvalFuncNew& f) {
  for (int s = 1; s < EvalStages; ++s)
    if (f.P(s, prStageMinCount) >= f.P(s - 1, prStageMinCount)) return false;
  return true;
}

TEST(CrossEvalFuncs, WithoutMutationEveryValueComesFromAParentOrTheirAverage) {
  const TPattern p1 = Pattern(Bit(1), 0, 0, {1, 2, 3, 4});
  const TPattern p2a = Pattern(Bit(2), Bit(30), 0, {10, 20, 30, 41});
  const TPattern p2b = Pattern(Bit(2), Bit(30), 0, {20, 40, 60, 80});
  const TPattern p3 = Pattern(0, 0, Bit(7), {-5, -5, -5, -5});
  const TEvalFuncNew a = Parent(0, {20, 13, 7, 0}, {p1, p2a});
  const TEvalFuncNew b = Parent(1000, {20, 13, 7, 0}, {p2b, p3});
  std::mt19937 rng(1);
  std::set<int32_t> seen;
  for (int round = 0; round < 60; ++round) {
    TEvalFuncNew child;
    child.Name = "old";
    CrossEvalFuncs(a, b, child, false, false, 4, rng);
    EXPECT_TRUE(child.Name.empty());
    ASSERT_EQ(child.Size(), 3u);
    EXPECT_EQ(child.Patt[0], p1);
    EXPECT_TRUE(child.Patt[1].SameMasks(p2a));
    EXPECT_EQ(child.Patt[2], p3);
    const auto& v = child.Patt[1].value;
    EXPECT_TRUE(v == p2a.value || v == p2b.value || v == (std::array<int32_t, 4>{15, 30, 45, 60}));
    seen.insert(v[0]);
    for (int i = 0; i < EvalParamCount; ++i) {
      for (int s = 0; s < EvalStages; ++s) {
        if (i == prStageMinCount) continue;
        const int x = child.P(s, i), fromA = a.P(s, i), fromB = b.P(s, i);
        ASSERT_TRUE(x == fromA || x == fromB || x == (fromA + fromB) / 2) << i << ' ' << s;
      }
    }
    // The child comes back compiled.
    EXPECT_EQ(child.WhiteFields[0][1], 1);
    EXPECT_EQ(child.RealSize(), 1u);
  }
  EXPECT_EQ(seen.size(), 3u) << "all three ways of taking a shared pattern should occur";
}

TEST(CrossEvalFuncs, ChildMayBeOneOfTheParents) {
  TEvalFuncNew a = Parent(0, {20, 13, 7, 0}, {Pattern(Bit(1), 0, 0, {1, 1, 1, 1})});
  const TEvalFuncNew b = Parent(0, {20, 13, 7, 0}, {Pattern(Bit(3), 0, 0, {2, 2, 2, 2})});
  std::mt19937 rng(2);
  CrossEvalFuncs(a, b, a, false, false, 0, rng);
  ASSERT_EQ(a.Size(), 2u);
  EXPECT_EQ(a.Patt[0].B.w, Bit(1));
  EXPECT_EQ(a.Patt[1].B.w, Bit(3));
}

TEST(CrossEvalFuncs, StageBoundsStayStrictlyDecreasing) {
  // Each parent's bounds decrease, but mixing them stage by stage, or
  // mutating one, could break the order.
  const TEvalFuncNew a = Parent(0, {20, 13, 7, 0}, {});
  const TEvalFuncNew b = Parent(0, {24, 22, 18, 10}, {});
  const TEvalFuncNew tight = Parent(0, {3, 2, 1, 0}, {});
  std::mt19937 rng(3);
  for (int round = 0; round < 3000; ++round) {
    TEvalFuncNew child;
    const int stage = round % 5;
    CrossEvalFuncs(round % 3 ? a : tight, b, child, round % 2 == 0, true, stage, rng);
    ASSERT_TRUE(StrictlyDecreasing(child)) << child.P(0, 9) << ' ' << child.P(1, 9) << ' ' << child.P(2, 9) << ' '
                                           << child.P(3, 9);
    TEvalFuncNew grandchild;
    CrossEvalFuncs(child, child, grandchild, true, true, 4, rng);
    ASSERT_TRUE(StrictlyDecreasing(grandchild));
  }
}

TEST(CrossEvalFuncs, MutationsStayNearTheParents) {
  const TEvalFuncNew a = DefaultEvalFunc(gtRussian);
  std::mt19937 rng(4);
  int changedPatterns = 0, changedCodes = 0;
  for (int round = 0; round < 200; ++round) {
    TEvalFuncNew child;
    CrossEvalFuncs(a, a, child, true, true, 2, rng);
    ASSERT_EQ(child.Size(), a.Size());
    for (size_t i = 0; i < a.Patt.size(); ++i) {
      for (int s = 0; s < EvalStages; ++s) {
        const int32_t before = a.Patt[i].value[s], after = child.Patt[i].value[s];
        if (s != 2) {
          ASSERT_EQ(after, before) << "only the chosen stage mutates";
        } else if (after != before) {
          ++changedPatterns;
          // At most 2 + 5 + 15 away, or set to 0 and then moved by 15.
          ASSERT_TRUE(std::abs(after - before) <= 22 || std::abs(after) <= 15) << before << " -> " << after;
        }
      }
    }
    for (int i = 0; i < EvalParamCount; ++i) {
      for (int s = 0; s < EvalStages; ++s) {
        if (s != 2 || i > prKingTripleRoad) {
          if (i != prStageMinCount) {
            ASSERT_EQ(child.P(s, i), a.P(s, i)) << i << ' ' << s;
          }
        }
      }
    }
    for (int i : {prExtensionSelf, prReductionAlpha, prReductionBeta, prExtensionOpponent}) {
      const int d = child.P(2, i) - a.P(2, i);
      ASSERT_TRUE(d >= 0 && d < 34);
      changedCodes += d != 0;
    }
  }
  EXPECT_GT(changedPatterns, 0);
  EXPECT_GT(changedCodes, 0);
}

TEST(CrossEvalFuncs, NoFlagsNoMutation) {
  const TEvalFuncNew a = DefaultEvalFunc(gtInternational);
  std::mt19937 rng(5);
  for (int round = 0; round < 50; ++round) {
    TEvalFuncNew child;
    CrossEvalFuncs(a, a, child, false, false, 4, rng);
    ASSERT_EQ(child.Patt, a.Patt);
    ASSERT_EQ(child.Param, a.Param);
  }
}

TEST(RepairStageBounds, KeepsTheChosenStageWhenThereIsRoom) {
  TEvalFuncNew f;
  const int16_t start[] = {10, 12, 12, 3};
  for (int s = 0; s < EvalStages; ++s) f.P(s, prStageMinCount) = start[s];
  RepairStageBounds(f, 1);
  EXPECT_EQ(f.P(0, prStageMinCount), 13);
  EXPECT_EQ(f.P(1, prStageMinCount), 12);
  EXPECT_EQ(f.P(2, prStageMinCount), 11);
  EXPECT_EQ(f.P(3, prStageMinCount), 3);
  for (int s = 0; s < EvalStages; ++s) f.P(s, prStageMinCount) = 32767;
  RepairStageBounds(f, 0);
  EXPECT_TRUE(StrictlyDecreasing(f));
  for (int s = 0; s < EvalStages; ++s) f.P(s, prStageMinCount) = -32768;
  RepairStageBounds(f, 3);
  EXPECT_TRUE(StrictlyDecreasing(f));
}

}  // namespace
}  // namespace kestrel
