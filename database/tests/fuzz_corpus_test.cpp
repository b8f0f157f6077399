// The fuzzers' seed and regression inputs, replayed through the same entry
// points the harnesses use.
#include <gtest/gtest.h>

#include <filesystem>

#include "database/fuzz/fuzz_targets.h"
#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;
namespace fs = std::filesystem;

void ReplayCorpus(const std::string& harness, std::string (*entry)(std::span<const uint8_t>)) {
  const fs::path folder = fs::path(KESTREL_SOURCE_DIR) / "database" / "fuzz" / "corpus" / harness;
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  int inputs = 0;
  for (const auto& file : fs::directory_iterator(folder)) {
    const std::vector<uint8_t> bytes = ReadBytes(file.path().string());
    EXPECT_EQ(entry(bytes), "") << file.path();
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

TEST(FuzzCorpus, BlobDecoder) { ReplayCorpus("blob_decoder", fuzz::BlobDecoderInput); }
TEST(FuzzCorpus, NamesFile) { ReplayCorpus("names_file", fuzz::NamesFileInput); }
TEST(FuzzCorpus, DatabaseFiles) {
  ReplayCorpus("database_files", [](std::span<const uint8_t> in) { return fuzz::DatabaseFilesInput(in); });
  std::error_code ec;
  fs::remove_all(fuzz::ScratchFolder(), ec);
}

// The seeds are sound inputs: each decodes (so the replay above compares
// real round trips, not just refusals).
TEST(FuzzCorpus, SeedsAreAccepted) {
  const fs::path folder = fs::path(KESTREL_SOURCE_DIR) / "database" / "fuzz" / "corpus" / "blob_decoder";
  for (const auto& file : fs::directory_iterator(folder)) {
    if (file.path().filename().string().rfind("seed_", 0) != 0) continue;
    const std::vector<uint8_t> in = ReadBytes(file.path().string());
    ASSERT_GE(in.size(), 4u);
    TGame game;
    game.Header.TypeOfGame = static_cast<uint8_t>(1 + in[1] % GameTypeCount);
    game.Header.LastMove = (in[2] << 8) | in[3];
    std::string error;
    EXPECT_TRUE(DecodeGameBlob(std::span(in).subspan(4), 20 + in[0] % 11, game, error)) << file.path() << error;
  }
  const fs::path databases = fs::path(KESTREL_SOURCE_DIR) / "database" / "fuzz" / "corpus" / "database_files";
  for (const auto& file : fs::directory_iterator(databases)) {
    if (file.path().filename().string().rfind("seed_", 0) != 0) continue;
    bool opened = false;
    EXPECT_EQ(fuzz::DatabaseFilesInput(ReadBytes(file.path().string()), &opened), "");
    EXPECT_TRUE(opened) << file.path();
  }
  std::error_code ec;
  fs::remove_all(fuzz::ScratchFolder(), ec);
}

}  // namespace
}  // namespace kestrel
