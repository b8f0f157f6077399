#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "run_cli.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int exitCode;
  std::string out;
};

Result RunTool(const std::string& args) {
  const auto r = kestrel::testing::RunCliCommand(args);
  return {r.exitCode, r.out};
}

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EngineFileCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kestrel_cli_engine_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(EngineFileCli, DefaultsWriteOneReadableFilePerVariant) {
  const Result r = RunTool("engine-file defaults --out " + dir_.string());
  ASSERT_EQ(r.exitCode, 0);
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir_)) files += entry.is_regular_file();
  EXPECT_EQ(files, 12);
  const fs::path thai = dir_ / "Thai" / "Thai.eng";
  const Result check = RunTool("engine-file check " + thai.string());
  ASSERT_EQ(check.exitCode, 0);
  EXPECT_NE(check.out.find("name Thai default\n"), std::string::npos);
  EXPECT_NE(check.out.find("man 100 king 250\n"), std::string::npos);
  // One variant alone, and an unknown one.
  EXPECT_EQ(RunTool("engine-file defaults --variant frisian --out " + (dir_ / "one").string()).exitCode, 0);
  EXPECT_EQ(ReadText(dir_ / "one" / "Frisian" / "Frisian.eng"), ReadText(dir_ / "Frisian" / "Frisian.eng"));
  EXPECT_EQ(RunTool("engine-file defaults --variant nowhere --out " + dir_.string()).exitCode, 2);
}

TEST_F(EngineFileCli, CheckRefusesDamagedFiles) {
  std::ofstream(dir_ / "bad.eng", std::ios::binary) << "Bad\r\n.1 2 three 4\r\n";
  EXPECT_EQ(RunTool("engine-file check " + (dir_ / "bad.eng").string()).exitCode, 2);
  EXPECT_EQ(RunTool("engine-file check " + (dir_ / "missing.eng").string()).exitCode, 2);
}

TEST_F(EngineFileCli, EvalScoresForTheSideToMove) {
  const Result start = RunTool("engine-file eval --variant International");
  ASSERT_EQ(start.exitCode, 0);
  EXPECT_EQ(start.out, "stage 0 eval 0\n");
  EXPECT_EQ(RunTool("engine-file eval --variant Canadian").exitCode, 2);
  EXPECT_EQ(RunTool("engine-file eval --variant Russian --fen nonsense").exitCode, 2);
}

}  // namespace
