#include <gtest/gtest.h>

#include "engine/evaluation.h"
#include "engine/tests/eval_test_helpers.h"

namespace kestrel {
namespace {

using evaltest::Pattern;

constexpr uint64_t Bit(int n) { return uint64_t{1} << n; }

TEST(CompileEvalFunc, SingleSquarePatternsBecomeFieldValues) {
  TEvalFuncNew f;
  f.Patt = {Pattern(Bit(3), 0, 0, {1, 2, 3, 4}),
            Pattern(0, Bit(40), 0, {-5, -6, -7, -8}),
            Pattern(0, 0, Bit(17), {9, 9, 9, 9}),
            Pattern(Bit(3), 0, 0, {11, 12, 13, 14}),   // overwrites the first
            Pattern(Bit(3) | Bit(9), 0, 0, {0, 0, 0, 0}),  // two squares, no value: dropped
            Pattern(Bit(3), Bit(9), 0, {0, 0, 1, 0})};
  CompileEvalFunc(f);
  EXPECT_EQ(f.Size(), 6u);
  ASSERT_EQ(f.RealSize(), 1u);
  EXPECT_EQ(f.RealPatt[0], f.Patt[5]);
  for (int s = 0; s < EvalStages; ++s) {
    EXPECT_EQ(f.WhiteFields[s][3], 11 + s);
    EXPECT_EQ(f.BlackFields[s][40], -5 - s);
    EXPECT_EQ(f.ClearFields[s][17], 9);
    EXPECT_EQ(f.WhiteFields[s][40], 0);
    EXPECT_EQ(f.ClearFields[s][3], 0);
  }
  // Recompiling after a change starts from zero fields.
  f.Patt.erase(f.Patt.begin() + 3);
  f.Patt.erase(f.Patt.begin());
  CompileEvalFunc(f);
  EXPECT_EQ(f.WhiteFields[0][3], 0);
  EXPECT_EQ(f.RealSize(), 1u);
}

TEST(CompileEvalFunc, ByteTablesSumManValueAndFields) {
  TEvalFuncNew f;
  for (int s = 0; s < EvalStages; ++s) f.P(s, prManValue) = static_cast<int16_t>(100 + s);
  f.Patt = {Pattern(Bit(8), 0, 0, {5, 5, 5, 5}), Pattern(Bit(10), 0, 0, {-2, -2, -2, -2}),
            Pattern(0, Bit(10), 0, {-7, -7, -7, -7}), Pattern(0, 0, Bit(15), {3, 3, 3, 3})};
  CompileEvalFunc(f);
  // Byte position 1 holds bits 8..15; value 0b101 has bits 8 and 10.
  EXPECT_EQ(f.w[0][1][0b101], 2 * 100 + 5 - 2);
  EXPECT_EQ(f.w[2][1][0b101], 2 * 102 + 5 - 2);
  EXPECT_EQ(f.b[1][1][0b101], -101 + 0 - 101 - 7);
  EXPECT_EQ(f.c[3][1][0b10000000], 3);
  EXPECT_EQ(f.c[3][1][0b01111111], 0);
  EXPECT_EQ(f.w[0][0][0], 0);
  EXPECT_EQ(f.w[0][7][0xFF], 8 * 100);
  EXPECT_EQ(f.b[3][7][0xFF], -8 * 103);
}

TEST(CompileEvalFunc, OutOfRangeValuesSaturate) {
  TEvalFuncNew f;
  f.Patt = {Pattern(Bit(0), 0, 0, {100000, -100000, 5, 5})};
  CompileEvalFunc(f);
  EXPECT_EQ(f.WhiteFields[0][0], 32767);
  EXPECT_EQ(f.WhiteFields[1][0], -32768);
  f.SetParam(prManValue, 32000);
  CompileEvalFunc(f);
  EXPECT_EQ(f.w[0][0][0xFF], 32767);
  EXPECT_EQ(f.b[0][0][0xFF], -32768);
}

}  // namespace
}  // namespace kestrel
