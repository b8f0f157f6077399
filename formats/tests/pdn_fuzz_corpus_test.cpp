// The fuzzers' seed and regression inputs replayed through the entry points
// the harnesses use, and random changes of the seeds on every test run.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "formats/fuzz/pdn_fuzz_targets.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

std::vector<std::vector<uint8_t>> Corpus(const std::string& harness) {
  const fs::path folder = fs::path(KESTREL_SOURCE_DIR) / "formats" / "fuzz" / "corpus" / harness;
  std::vector<std::vector<uint8_t>> inputs;
  for (const auto& file : fs::directory_iterator(folder)) inputs.push_back(fuzz::ReadFile(file.path()));
  return inputs;
}

void Replay(const std::string& harness, std::string (*entry)(std::span<const uint8_t>)) {
  const auto inputs = Corpus(harness);
  ASSERT_FALSE(inputs.empty());
  for (const auto& input : inputs)
    EXPECT_EQ(entry(input), "") << std::string(input.begin(), input.end());
}

TEST(PdnFuzzCorpus, Reader) { Replay("pdn_reader", fuzz::PdnReaderInput); }
TEST(PdnFuzzCorpus, TextImport) { Replay("text_import", fuzz::TextImportInput); }

// Seeds with bytes flipped, inserted, deleted and pieces of other seeds
// spliced in.
void Mutate(const std::string& harness, std::string (*entry)(std::span<const uint8_t>), int rounds) {
  const auto seeds = Corpus(harness);
  ASSERT_FALSE(seeds.empty());
  std::mt19937 rng(4242);
  static const std::string tokens[] = {"{", "}", "(", ")", "[", "]", "\"", "\r\n", "\n", "$3", "1-0", " ", "x", ":",
                                       ".", "...", ";", "%", "\xD0", "\xEF\xBB\xBF", "c3>d4", "-", "*", "[FEN \""};
  for (int round = 0; round < rounds; ++round) {
    std::vector<uint8_t> input = seeds[rng() % seeds.size()];
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
      const size_t at = input.empty() ? 0 : rng() % (input.size() + 1);
      switch (rng() % 4) {
        case 0:
          if (at < input.size()) input[at] = static_cast<uint8_t>(rng());
          break;
        case 1: {
          const std::string& t = tokens[rng() % std::size(tokens)];
          input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), t.begin(), t.end());
          break;
        }
        case 2:
          if (at < input.size())
            input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                        input.begin() + static_cast<std::ptrdiff_t>(std::min(input.size(), at + 1 + rng() % 10)));
          break;
        default: {
          const auto& other = seeds[rng() % seeds.size()];
          if (other.empty()) break;
          const size_t from = rng() % other.size();
          const size_t len = std::min<size_t>(other.size() - from, 1 + rng() % 40);
          input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), other.begin() + static_cast<std::ptrdiff_t>(from),
                       other.begin() + static_cast<std::ptrdiff_t>(from + len));
        }
      }
    }
    const std::string fault = entry(input);
    ASSERT_EQ(fault, "") << "input: " << std::string(input.begin(), input.end());
  }
}

TEST(PdnFuzzCorpus, ChangedReaderSeeds) { Mutate("pdn_reader", fuzz::PdnReaderInput, 3000); }
TEST(PdnFuzzCorpus, ChangedTextSeeds) { Mutate("text_import", fuzz::TextImportInput, 3000); }

}  // namespace
}  // namespace kestrel
