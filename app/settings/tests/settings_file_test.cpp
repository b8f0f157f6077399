#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

#include "app/settings/ini_file.h"
#include "app/settings/settings.h"
#include "engine/generation_search.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(IniFile, Utf16RoundTripKeepsUnknownKeysAndNonAsciiText) {
  testing::TempDir dir;
  const auto path = dir.path() / "winkes36.ini";
  IniFile ini;
  ini.WriteString("Main", "UserName", "Игорь Müller 名人 \xF0\x9F\x98\x80");
  ini.WriteString("Custom", "SomethingNew", "kept=as is");
  ini.WriteInt("Main", "TypeOfGame", 6);
  ASSERT_TRUE(ini.Save(path));

  const std::string bytes = ReadAll(path);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));  // UTF-16 LE byte-order mark
  EXPECT_EQ(bytes[3], '\0');                                   // '[' as a 16-bit unit

  IniFile back;
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back.ReadString("main", "username", ""), "Игорь Müller 名人 \xF0\x9F\x98\x80");
  EXPECT_EQ(back.ReadString("CUSTOM", "somethingnew", ""), "kept=as is");
  EXPECT_EQ(back.ReadInt("Main", "TypeOfGame", 1), 6);

  // Unknown keys survive a full settings load and store.
  Settings s;
  s.Load(back, dir.path());
  s.Store(back);
  ASSERT_TRUE(back.Save(path));
  IniFile again;
  again.Load(path);
  EXPECT_EQ(again.ReadString("Custom", "SomethingNew", ""), "kept=as is");
  EXPECT_EQ(again.ReadString("Main", "UserName", ""), "Игорь Müller 名人 \xF0\x9F\x98\x80");
}

TEST(IniFile, ReadsUtf16WithoutByteOrderMarkAndUtf8WithOne) {
  IniFile ini;
  ini.Parse(Utf8ToUtf16Le("[Main]\r\nTypeOfGame=4\r\n"));
  EXPECT_EQ(ini.ReadInt("Main", "TypeOfGame", 1), 4);
  ini.Parse("\xEF\xBB\xBF[Main]\nSound=1\n");
  EXPECT_TRUE(ini.ReadBool("Main", "Sound", false));
}

TEST(IniFile, ValuesAndDefaults) {
  IniFile ini;
  ini.Parse(Utf8ToUtf16Le("[main]\r\nBoardSize=big\r\nSound=7\r\nNotation= 2 \r\nEmpty=\r\n"));
  EXPECT_EQ(ini.ReadInt("Main", "BoardSize", 10000), 10000);  // not a number
  EXPECT_TRUE(ini.ReadBool("Main", "Sound", false));          // any non-zero is true
  EXPECT_EQ(ini.ReadInt("Main", "Notation", 0), 2);
  EXPECT_EQ(ini.ReadInt("Main", "Empty", 5), 5);
  EXPECT_EQ(ini.ReadInt("Main", "Missing", -3), -3);
  EXPECT_EQ(ini.ReadInt("Nowhere", "Sound", 9), 9);
}

TEST(IniFile, ALineBreakInAValueCannotForgeAKey) {
  IniFile ini;
  ini.WriteString("Main", "UserName", "Bob\r\nTuning=1");
  IniFile back;
  back.Parse(ini.Serialize());
  EXPECT_FALSE(back.Get("Main", "Tuning").has_value());
}

TEST(IniFile, SaveIsAtomicAndLeavesOldFileWhenFolderIsGone) {
  testing::TempDir dir;
  const auto path = dir.path() / "winkes36.ini";
  IniFile ini;
  ini.WriteInt("Main", "TypeOfGame", 2);
  ASSERT_TRUE(ini.Save(path));
  const std::string before = ReadAll(path);
  // A folder that cannot be written: the save fails and the file is untouched.
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  ini.WriteInt("Main", "TypeOfGame", 3);
  std::string error;
  if (::geteuid() != 0) {  // root ignores folder permissions
    EXPECT_FALSE(ini.Save(path, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadAll(path), before);
  }
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
  // No temporary files are left behind.
  ASSERT_TRUE(ini.Save(path));
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) { (void)e; ++files; }
  EXPECT_EQ(files, 1);
}

TEST(Settings, DefaultsOfAFirstStart) {
  IniFile empty;
  Settings s;
  s.Load(empty, "/opt/kestrel/");
  EXPECT_FALSE(s.PlayingMode);
  EXPECT_EQ(s.TypeOfGame, gtRussian);
  EXPECT_TRUE(s.Tuning);
  EXPECT_EQ(s.BoardDarkSquares, 0x00808040u);
  EXPECT_EQ(s.BoardLightSquares, 0x00F0F0E3u);
  EXPECT_EQ(s.GameColorThirdLine, 0x00008000u);
  EXPECT_EQ(s.GameColorComment, 0x00606060u);
  EXPECT_EQ(s.LanguageName, "English");
  EXPECT_EQ(s.TakeChar, 1);
  EXPECT_EQ(s.BoardSize, 10000);
  EXPECT_EQ(s.FigBKName, "/opt/kestrel/Pics/default/bk.bmp");
  EXPECT_EQ(s.DefEbDir, "/opt/kestrel/Bases");
  EXPECT_EQ(s.Variants[gtPool].Book, "/opt/kestrel/Books/Russian.cbk");
  EXPECT_EQ(s.Variants[gtSpantsiretti].Book, "/opt/kestrel/Books/Spants.cbk");
  EXPECT_EQ(s.Variants[gtSpantsiretti].EngineName, "Spantsiretti.eng");
  for (int t = 1; t <= GameTypeCount; ++t)
    EXPECT_EQ(s.Variants[t].Engine, (t == gtFrisian || t == gtCanadian) ? 0 : 1) << t;
  EXPECT_EQ(s.ThreadsCount, 1);
  EXPECT_EQ(s.KestrelMemory, 16);
  EXPECT_EQ(s.EDBMemory, 128);
  EXPECT_TRUE(s.MainMaximized);
  EXPECT_EQ(s.MainWidth, 645);
}

TEST(Settings, KeysAreHonouredWhateverTheirCaseAndBothVariantSpellings) {
  IniFile ini;
  ini.Parse(Utf8ToUtf16Le(
      "[main]\r\ntuning=0\r\ntypeofgame=10\r\ndefebdir=/data/bases\r\nBoardSize=x\r\n"
      "[ENGINES]\r\nSpantsirettiEngine=Strong.eng\r\nSpantsUseBook=0\r\nSpantsBook=/b/s.cbk\r\nSpants=0\r\n"
      "ThreadsCount=100000\r\nKestrelMemory=1\r\n"));
  Settings s;
  s.Load(ini, "/p/");
  EXPECT_FALSE(s.Tuning);
  EXPECT_EQ(s.TypeOfGame, gtSpantsiretti);
  EXPECT_EQ(s.DefEbDir, "/data/bases");
  EXPECT_EQ(s.BoardSize, 10000);
  EXPECT_EQ(s.Variants[gtSpantsiretti].EngineName, "Strong.eng");
  EXPECT_FALSE(s.Variants[gtSpantsiretti].UseBook);
  EXPECT_EQ(s.Variants[gtSpantsiretti].Book, "/b/s.cbk");
  EXPECT_EQ(s.Variants[gtSpantsiretti].Engine, 0);
  EXPECT_EQ(s.ThreadsCount, MaxThreadsCount);
  EXPECT_EQ(s.KestrelMemory, MinHashMegabytes);
}

TEST(Settings, StoreThenLoadGivesTheSameValues) {
  Settings s = Settings::Defaults("/p/");
  s.PlayingMode = true;
  s.UserName = "Ольга";
  s.TypeOfGame = gtThai;
  s.Tuning = false;
  s.BoardDarkSquares = 0x123456;
  s.Variants[gtCanadian].UseBook = false;
  s.Variants[gtItalian].EngineName = "Other.eng";
  s.MainMaximized = false;
  s.MainLeft = -20;
  s.FtpPass = "p@ss";
  s.GameFont = {"DejaVu Sans", 11, 204};
  IniFile ini;
  s.Store(ini);
  IniFile back;
  back.Parse(ini.Serialize());
  // The writer's spelling of DefEBDir is read back by the reader's DefEbDir.
  EXPECT_TRUE(back.Get("Main", "DefEBDir").has_value());
  Settings r;
  r.Load(back, "/p/");
  EXPECT_TRUE(r.PlayingMode);
  EXPECT_EQ(r.UserName, "Ольга");
  EXPECT_EQ(r.TypeOfGame, gtThai);
  EXPECT_FALSE(r.Tuning);
  EXPECT_EQ(r.BoardDarkSquares, 0x123456u);
  EXPECT_FALSE(r.Variants[gtCanadian].UseBook);
  EXPECT_EQ(r.Variants[gtItalian].EngineName, "Other.eng");
  EXPECT_FALSE(r.MainMaximized);
  EXPECT_EQ(r.MainLeft, -20);
  EXPECT_EQ(r.FtpPass, "p@ss");
  EXPECT_EQ(r.GameFont.Name, "DejaVu Sans");
  EXPECT_EQ(r.GameFont.Size, 11);
  EXPECT_EQ(r.DefEbDir, s.DefEbDir);
}

TEST(Settings, ExternalEngineChoiceAndGenerationAreSeparateValues) {
  struct Case {
    const char* keys;
    bool external;
    int engine;
  };
  // Files written before the External key said "Russian=2" for the external
  // engine; with the key present, 2 is a generation like any other.
  const Case cases[] = {
      {"Russian=2\r\nRussianHubCommand=scan hub\r\n", true, 1},
      {"Russian=2\r\nRussianExternal=0\r\n", false, 2},
      {"Russian=0\r\nRussianExternal=1\r\nRussianHubCommand=scan hub\r\n", true, 0},
      {"Russian=7\r\nRussianExternal=0\r\n", false, MaxEngineGeneration},
      {"Russian=1\r\n", false, 1},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini.Parse(Utf8ToUtf16Le(std::string("[Engines]\r\n") + c.keys));
    Settings s;
    s.Load(ini, "/p/");
    EXPECT_EQ(s.Variants[gtRussian].External, c.external) << c.keys;
    EXPECT_EQ(s.Variants[gtRussian].Engine, c.engine) << c.keys;
    IniFile stored;
    s.Store(stored);
    Settings back;
    back.Load(stored, "/p/");
    EXPECT_EQ(back.Variants[gtRussian].External, c.external) << c.keys;
    EXPECT_EQ(back.Variants[gtRussian].Engine, c.engine) << c.keys;
    EXPECT_EQ(back.Variants[gtRussian].HubCommand, s.Variants[gtRussian].HubCommand) << c.keys;
  }
}

// Where Kestrel 4 is a variant's default, a file without the variant's keys
// must give that generation, not the external engine that 2 once meant.
TEST(Settings, DefaultKestrel4IsNotTheOldExternalMark) {
  RegisterGenerationSearch(EngineGen2, [] { return std::unique_ptr<TGenerationSearch>(); });
  const int fresh = Settings::Defaults("/p/").Variants[gtInternational].Engine;
  for (const char* keys : {"", "[Engines]\r\nRussian=1\r\n"}) {
    IniFile ini;
    ini.Parse(Utf8ToUtf16Le(keys));
    Settings s;
    s.Load(ini, "/p/");
    EXPECT_FALSE(s.Variants[gtInternational].External) << keys;
    EXPECT_EQ(s.Variants[gtInternational].Engine, fresh) << keys;
  }
  RegisterGenerationSearch(EngineGen2, nullptr);
  EXPECT_EQ(fresh, EngineGen2);
}

}  // namespace
}  // namespace kestrel
