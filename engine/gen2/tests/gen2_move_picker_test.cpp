// The move picker gives the order of a stable sort by falling key, with or
// without the first move given, whichever move is asked for first.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "engine/gen2/gen2_search.h"

namespace kestrel::gen2 {
namespace {

TEST(Kestrel4MovePicker, OrdersAsAStableSortByFallingKey) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    const int count = 1 + static_cast<int>(rng() % MaxMoves);
    // Few distinct keys, negative ones too: ties are the hard part.
    const int spread = 1 + static_cast<int>(rng() % 8);
    std::vector<int32_t> keys(count);
    for (int32_t& k : keys) k = static_cast<int32_t>(rng() % spread) - spread / 2 + (rng() % 4 == 0 ? 1 << 24 : 0);
    const int table = rng() % 2 ? static_cast<int>(rng() % count) : -1;  // a table move, if any
    if (table >= 0) keys[table] = 1 << 30;
    std::vector<int> expected(count);
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) { return keys[a] > keys[b]; });

    TMovePicker picker;
    for (int i = 0; i < count; ++i) picker.Add(i, keys[i]);
    if (table >= 0) picker.SetFirst(table);
    // Asked in order, or the second move before the first.
    if (rng() % 2 && count > 1) {
      ASSERT_EQ(picker.At(1), expected[1]);
    }
    for (int k = 0; k < count; ++k) ASSERT_EQ(picker.At(k), expected[k]) << "round " << round << " move " << k;
  }
}

}  // namespace
}  // namespace kestrel::gen2
