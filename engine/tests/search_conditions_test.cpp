#include "engine/search_conditions.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

struct Case {
  int code, ply, depth;
  bool holds;
};

void ExpectAll(std::initializer_list<Case> cases) {
  for (const Case& c : cases)
    EXPECT_EQ(ConditionHolds(c.code, c.ply, c.depth), c.holds)
        << "code " << c.code << " ply " << c.ply << " depth " << c.depth;
}

TEST(ConditionCodes, NeverAndAlways) {
  ExpectAll({{0, 0, 0, false}, {0, 5, 9, false}, {0, 99, 3, false}, {1, 0, 0, true}, {1, 50, 3, true}});
}

TEST(ConditionCodes, PlyAgainstHalfTheDepth) {
  // depth 11: d/2 = 5
  ExpectAll({{2, 4, 11, true}, {3, 4, 11, true}, {4, 4, 11, false}, {5, 4, 11, false}, {6, 4, 11, false},
             {2, 5, 11, false}, {3, 5, 11, true}, {4, 5, 11, true}, {5, 5, 11, false}, {6, 5, 11, true},
             {2, 6, 11, false}, {3, 6, 11, false}, {4, 6, 11, false}, {5, 6, 11, true}, {6, 6, 11, true}});
}

TEST(ConditionCodes, PlyAgainstAThirdOfTheDepth) {
  // depth 11: d/3 = 3
  ExpectAll({{7, 2, 11, true}, {8, 2, 11, true}, {9, 2, 11, false}, {10, 2, 11, false}, {11, 2, 11, false},
             {7, 3, 11, false}, {8, 3, 11, true}, {9, 3, 11, true}, {10, 3, 11, false}, {11, 3, 11, true},
             {7, 4, 11, false}, {8, 4, 11, false}, {9, 4, 11, false}, {10, 4, 11, true}, {11, 4, 11, true}});
}

TEST(ConditionCodes, PlyAgainstTwoThirdsOfTheDepthRoundedByThirds) {
  // depth 11: 2 * (11 / 3) = 6, not 22 / 3 = 7
  ExpectAll({{12, 5, 11, true}, {13, 5, 11, true}, {14, 5, 11, false}, {15, 5, 11, false}, {16, 5, 11, false},
             {12, 6, 11, false}, {13, 6, 11, true}, {14, 6, 11, true}, {15, 6, 11, false}, {16, 6, 11, true},
             {12, 7, 11, false}, {13, 7, 11, false}, {14, 7, 11, false}, {15, 7, 11, true}, {16, 7, 11, true}});
}

TEST(ConditionCodes, RemainingDepthAndPly) {
  // depth 10, ply 7: three plies remain
  ExpectAll({{17, 7, 10, true}, {18, 7, 10, true}, {19, 7, 10, false}, {20, 7, 10, false}, {21, 7, 10, false},
             {22, 7, 10, false}, {23, 7, 10, false}, {24, 7, 10, false}, {25, 7, 10, true}, {26, 7, 10, true},
             {22, 11, 10, true}, {17, 11, 10, false}});
  // ply 3 against 1..7
  ExpectAll({{27, 3, 20, true}, {28, 3, 20, true}, {29, 3, 20, false}, {30, 3, 20, false}, {33, 3, 20, false},
             {33, 8, 20, true}, {33, 7, 20, false}});
}

TEST(ConditionCodes, CodeIsTakenAsAbsoluteValueModulo34) {
  ExpectAll({{-2, 4, 11, true}, {-2, 6, 11, false}, {34, 3, 3, false}, {35, 3, 3, true}, {-35, 3, 3, true},
             {36, 4, 11, true}, {68, 1, 9, false}, {-32768, 7, 10, true}, {-32768, 7, 12, false},
             {32767, 3, 20, false}, {32767, 7, 10, true}});
}

}  // namespace
}  // namespace kestrel
