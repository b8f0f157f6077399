#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

#include "app/settings/ini_file.h"
#include "app/settings/kestrel_app.h"
#include "app/settings/program_folder.h"
#include "rules/current_game_type.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

std::vector<std::string> Lines(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(Startup, LogIsAppendedAcrossStarts) {
  testing::TempDir dir;
  for (int start = 0; start < 2; ++start) {
    KestrelApp app(dir.path(), dir.path());
    app.InitKestrel();
    app.log().Write("session " + std::to_string(start));
    app.Close();
  }
  const auto lines = Lines(dir.path() / "winkes36.log");
  std::vector<std::string> messages;
  for (const auto& l : lines) {
    ASSERT_EQ(l[0], '[');
    const auto close = l.find("] ");
    ASSERT_NE(close, std::string::npos) << l;
    messages.push_back(l.substr(close + 2));
  }
  const std::vector<std::string> expected = {".", "Program started.", "session 0",
                                             ".", "Program started.", "session 1"};
  EXPECT_EQ(messages, expected);
}

TEST(Startup, LoggingIsSilentlyOffWhenTheLogCannotBeOpened) {
  testing::TempDir dir;
  std::filesystem::create_directory(dir.path() / "winkes36.log");  // a folder in the way
  KestrelApp app(dir.path(), dir.path());
  app.InitKestrel();
  EXPECT_FALSE(app.log().IsOpen());
  app.log().Write("nothing happens");
  EXPECT_TRUE(app.Close());
}

TEST(Startup, FirstStartWritesSettingsWithTuningClearedAndKeepsTheGameType) {
  testing::TempDir dir;
  {
    KestrelApp app(dir.path(), dir.path());
    app.InitKestrel();
    EXPECT_EQ(CurrentGameType, gtRussian);
    EXPECT_TRUE(app.TakeFirstRunFlag());
    SetGameType(gtCanadian);
    ASSERT_TRUE(app.Close());
  }
  IniFile ini;
  ASSERT_TRUE(ini.Load(dir.path() / "winkes36.ini"));
  EXPECT_EQ(ini.ReadInt("Main", "Tuning", 1), 0);
  EXPECT_EQ(ini.ReadInt("Main", "TypeOfGame", 0), gtCanadian);
  KestrelApp again(dir.path(), dir.path());
  again.InitKestrel();
  EXPECT_FALSE(again.TakeFirstRunFlag());
  EXPECT_EQ(CurrentGameType, gtCanadian);
  again.Close();
  SetGameType(gtRussian);
}

TEST(Startup, ReadOnlyProgramFolderFallsBackToTheUserConfigFolder) {
  testing::TempDir program, config;
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  const auto folder = ConfigFolder(program.path(), /*programFolderWritable=*/false);
  EXPECT_EQ(folder, config.path() / "kestrel" / "");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  ::unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (home && *home) {
    EXPECT_EQ(ConfigFolder(program.path(), false), std::filesystem::path(home) / ".config" / "kestrel" / "");
  }
}

TEST(Startup, WritableProgramFolderKeepsSettingsBesideTheProgram) {
  testing::TempDir program;
  EXPECT_EQ(ConfigFolder(program.path()), program.path() / "");
}

}  // namespace
}  // namespace kestrel
