// The block codes of table files: random streams read back, and damaged
// files refused or answered with -1, never read outside their bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/endgame/table_file.h"
#include "engine/endgame/wdl_runs.h"

namespace kestrel {
namespace {

// Runs of random lengths (short, medium, longer than the longest code)
// with never-probed stretches in between.
std::vector<uint8_t> RandomStream(std::mt19937& random, size_t n) {
  std::vector<uint8_t> v;
  while (v.size() < n) {
    const int kind = random() % 4;
    const size_t length = kind == 0 ? random() % 5 + 1 : kind == 1 ? random() % 90 + 1 : random() % 6000 + 1;
    const uint8_t value = random() % 4;
    v.insert(v.end(), std::min(length, n - v.size()), value);
  }
  return v;
}

TEST(WdlRuns, RandomStreamsReadBack) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const int n = trial % 3 == 0 ? random() % WdlBlockPositions + 1 : WdlBlockPositions;
    const std::vector<uint8_t> values = RandomStream(random, n);
    const std::vector<uint8_t> code = EncodeWdlRuns(values);
    std::vector<uint8_t> block(n);
    ASSERT_TRUE(DecodeWdlBlock(code, n, block.data()));
    for (int d = 0; d < n; ++d) {
      if (values[d] == WdlNeverProbed) continue;
      ASSERT_EQ(block[d], values[d]) << trial << " " << d;
      if (d % 97 == 0) {
        ASSERT_EQ(DecodeWdlRun(code, d), values[d]);
      }
    }
    // Cut short, the code answers -1 past its end instead of reading on.
    const std::vector<uint8_t> cut(code.begin(), code.begin() + code.size() / 2);
    EXPECT_FALSE(DecodeWdlBlock(cut, n, block.data()));
    EXPECT_EQ(DecodeWdlRun(cut, n - 1), -1);
  }
}

TEST(TableFile, BothKindsReadBackAndDamageIsRefused) {
  std::mt19937 random(11);
  for (bool mtw : {false, true}) {
    const size_t n = 3 * WdlBlockPositions + 123;
    std::vector<uint8_t> values = RandomStream(random, n);
    if (mtw)
      for (auto& v : values) v = static_cast<uint8_t>(v * 37 % 256);
    const std::vector<uint8_t> file = BuildTableFile(values, mtw);
    TTableFileView view;
    std::string error;
    ASSERT_TRUE(view.Open(file, n, mtw, error)) << error;
    for (size_t i = 0; i < n; i += 7)
      if (mtw || values[i] != WdlNeverProbed) {
        ASSERT_EQ(view.Value(i), values[i]);
      }
    EXPECT_EQ(view.Value(n), -1);

    // Header and index damage: refused with a reason.
    const auto refused = [&](std::vector<uint8_t> bytes, const char* what) {
      TTableFileView v;
      std::string e;
      EXPECT_FALSE(v.Open(bytes, n, mtw, e)) << what;
      EXPECT_FALSE(e.empty()) << what;
    };
    refused({file.begin(), file.begin() + 10}, "shorter than the header");
    refused({file.begin(), file.end() - 1}, "truncated data");
    {
      TTableFileView v;
      std::string e;
      EXPECT_FALSE(v.Open(file, n + 100000, mtw, e)) << "a file of another table";
    }
    std::vector<uint8_t> badIndex = file;
    badIndex[16 + 4] = 0xFF;
    badIndex[16 + 7] = 0x7F;  // the second block starts past the data
    refused(badIndex, "offset out of range");
    std::vector<uint8_t> badLength = file;
    badLength[0] = 3;  // I not a multiple of 4
    refused(badLength, "odd index length");

    // Garbage inside a block: the view still opens, the block answers -1
    // (or some value) without reading outside it.
    std::vector<uint8_t> garbage = file;
    const size_t dataStart = 16 + file[0] + (size_t{file[1]} << 8) + (size_t{file[2]} << 16);
    for (size_t i = std::max(dataStart, garbage.size() - 40); i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(random());
    TTableFileView g;
    ASSERT_TRUE(g.Open(garbage, n, mtw, error));
    for (size_t i = n - WdlBlockPositions; i < n; i += 3) EXPECT_GE(g.Value(i), -1);
  }
}

}  // namespace
}  // namespace kestrel
