#include "app/language/language_table.h"
#include "app/language/window_texts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <cctype>
#include <map>
#include <regex>
#include <set>

#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

class LanguageTableTest : public ::testing::Test {
 protected:
  void SetUp() override { InitLanguageTable(); }
  void TearDown() override { InitLanguageTable(); }
};

TEST_F(LanguageTableTest, LinesFollowTheFileRules) {
  struct Case {
    const char* line;
    int entry;
    const char* expected;  // text of `entry` after the line
  };
  const Case cases[] = {
      {"[117] \"Partie nicht gespeichert\" ;Game not saved", 117, "Partie nicht gespeichert"},
      {"[400] \"far away\"", 117, "Game not saved. Save?"},
      {"[5] \"\" ;Type", 5, "Type"},
      {"[5] \"no closing quote", 5, "Type"},
      {"   [12] \"Quit\"   ", 12, "Quit"},
      {"\t[12] \"Tabbed\"", 12, "Exit"},
      {"[84] \"a;b\" ;Cancel", 84, "a;b"},
      {"[x1] \"not a number\"", 1, "Game"},
      {"[0] \"zero\"", 1, "Game"},
      {"12] \"no bracket\"", 12, "Exit"},
      {"[320] \"last\"", 320, "last"},
      {"[322] \"Diagrammschrift\"", 322, "Diagrammschrift"},
      {"[999] \"beyond the table\"", 322, "Diagram font"},
      {"[ 7 ] \"spaced\"", 7, "spaced"},
  };
  for (const Case& c : cases) {
    InitLanguageTable();
    ApplyLanguageText(c.line);
    EXPECT_EQ(LangText(c.entry), c.expected) << c.line;
  }
}

TEST_F(LanguageTableTest, AFileChangesOnlyTheEntriesItNamesAndLaterLinesWin) {
  ApplyLanguageText("comment line\r\n[117] \"one\"\r\n[117] \"two\"\r\n");
  EXPECT_EQ(LangText(117), "two");
  for (int n = 1; n <= LanguageEntryCount; ++n)
    if (n != 117) {
      EXPECT_EQ(LangText(n), BuiltinLanguageText(n)) << n;
    }
  EXPECT_EQ(LangText(310), "");
  EXPECT_EQ(LangTextOrDesign(310), SpareDesignText(310));
  EXPECT_EQ(LangText(0), "");
  EXPECT_EQ(LangText(LanguageEntryCount + 1), "");
  // The program's own entries have built-in English.
  for (int n = LastSpareEntry + 1; n <= LanguageEntryCount; ++n) EXPECT_FALSE(LangText(n).empty()) << n;
}

TEST_F(LanguageTableTest, MissingFilesChangeNothingAndHelpFallsBack) {
  testing::TempDir dir;
  EXPECT_FALSE(ReadLanguage(dir.path(), "Klingon"));
  EXPECT_FALSE(ReadLanguage(dir.path(), "../English"));
  EXPECT_EQ(LangText(117), "Game not saved. Save?");
  fs::create_directories(dir.path() / "Languages" / "Folder.txt");
  fs::create_directories(dir.path() / "Docs");
  std::ofstream(dir.path() / "Languages" / ".Hidden.txt") << "[1] \"x\"";
  std::ofstream(dir.path() / "Languages" / "Zulu.txt") << "[1] \"Umdlalo\"";
  std::ofstream(dir.path() / "Languages" / "Alpha.txt") << "Language name: Alfa\r\n[1] \"A\"";
  std::ofstream(dir.path() / "Docs" / "Zulu.htm") << "<html></html>";
  const auto list = LanguageList(dir.path());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].file, "Alpha");
  EXPECT_EQ(list[0].ownName, "Alfa");
  EXPECT_EQ(list[1].ownName, "Zulu");
  EXPECT_TRUE(ReadLanguage(dir.path(), "Zulu"));
  EXPECT_EQ(LangText(1), "Umdlalo");
  EXPECT_EQ(HelpDocumentPath(dir.path(), "Zulu").filename(), "Zulu.htm");
  EXPECT_EQ(HelpDocumentPath(dir.path(), "Alpha").filename(), "NoLang.htm");
}

// The shipped files: every entry set, Russian in Cyrillic.
std::map<int, std::string> ShippedEntries(const std::string& name) {
  const fs::path path = fs::path(KESTREL_SOURCE_DIR) / "data" / "Languages" / (name + ".txt");
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::map<int, std::string> entries;
  std::string line;
  const std::regex form(R"(^\[(\d+)\] "([^"]+)\")");
  std::smatch m;
  while (std::getline(in, line))
    if (std::regex_search(line, m, form)) entries[std::stoi(m[1])] = m[2];
  return entries;
}

TEST_F(LanguageTableTest, ShippedFilesSetEveryEntry) {
  for (const char* name : {"English", "Russian"}) {
    const auto entries = ShippedEntries(name);
    EXPECT_EQ(entries.size(), static_cast<size_t>(LanguageEntryCount)) << name;
    EXPECT_TRUE(ReadLanguage(fs::path(KESTREL_SOURCE_DIR) / "data", name));
    for (int n = 1; n <= LanguageEntryCount; ++n) EXPECT_EQ(LangText(n), entries.at(n)) << name << " " << n;
  }
  // English restores every built-in text after Russian.
  for (int n = 1; n <= LanguageEntryCount; ++n) {
    if (n >= FirstSpareEntry && n <= LastSpareEntry) continue;
    const std::string_view builtin = BuiltinLanguageText(n);
    EXPECT_EQ(ShippedEntries("English").at(n), builtin) << n;
  }
  const auto list = LanguageList(fs::path(KESTREL_SOURCE_DIR) / "data");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].ownName, "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");  // "Russian" in Windows-1251
}

TEST_F(LanguageTableTest, RussianTextsAreRussian) {
  // Latin letters appear only in notation samples and abbreviations.
  const std::set<int> latinAllowed = {141, 142, 197, 288, 230, 231, 232, 233, 240, 267, 277, 291, 303, 305,
                                    323, 325, 326, 331, 333, 334, 335, 338, 339, 344, 355,  // FTP, Linux, the font's name, Gambler, Hub
                                    LtDeleteGamesTip, LtMoveKeyUpTip, LtMoveKeyDownTip,  // key names
                                    LtImportPdn, LtImportTxt, LtExportGifTitle, LtSaveRtfFile, LtTextFileFilter,  // file kinds
                                    LtDistancesMtw, LtHubCommandTip, LtExternalHub, LtTablesProgress,  // MTW, WDL, Hub, %v
                                    LtLicenceText};  // the program's name
  for (const auto& [n, text] : ShippedEntries("Russian")) {
    if (latinAllowed.count(n)) continue;
    for (unsigned char c : text) EXPECT_FALSE(std::isalpha(c) && c < 128) << n << ": " << text;
    EXPECT_NE(text, ShippedEntries("English").at(n)) << n;
  }
}

// A translation fills in the same values: each placeholder (%1, %v...) as
// often as the English has it.
TEST_F(LanguageTableTest, TranslationsKeepThePlaceholders) {
  const std::regex placeholder(R"(%[0-9a-z])");
  const auto counts = [&](const std::string& text) {
    std::multiset<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), placeholder), end; it != end; ++it) found.insert((*it)[0]);
    return found;
  };
  const auto english = ShippedEntries("English");
  for (const auto& [n, text] : ShippedEntries("Russian")) EXPECT_EQ(counts(text), counts(english.at(n))) << n << ": " << text;
}

// Every entry the code asks for by number exists in both shipped files.
TEST_F(LanguageTableTest, EveryEntryUsedInTheCodeIsInBothFiles) {
  const std::regex uses(R"((?:LangQ|LangText|LangTextOrDesign|BindLang\w*\([^,()]+,)\s*\(?\s*(\d+))");
  const std::regex texts(R"(TLangText\s*\w*\s*\{\s*(\d+))");
  // Tables of entry numbers: `...Entries[] = {6, 7, 8}`.
  const std::regex tables(R"(Entries\w*\[\w*\]\s*=\s*\{([^}]*)\})");
  const std::regex number(R"(\d+)");
  std::set<int> used;
  for (const char* folder : {"app", "cli"}) {
    for (const auto& e : fs::recursive_directory_iterator(fs::path(KESTREL_SOURCE_DIR) / folder)) {
      const auto ext = e.path().extension();
      if ((ext != ".cpp" && ext != ".h") || e.path().string().find("/tests/") != std::string::npos) continue;
      std::ifstream in(e.path());
      const std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      for (const std::regex* r : {&uses, &texts})
        for (std::sregex_iterator it(source.begin(), source.end(), *r), end; it != end; ++it)
          used.insert(std::stoi((*it)[1]));
      for (std::sregex_iterator it(source.begin(), source.end(), tables), end; it != end; ++it) {
        const std::string list = (*it)[1];
        for (std::sregex_iterator n(list.begin(), list.end(), number); n != end; ++n)
          if (const int entry = std::stoi((*n)[0]); entry > 0) used.insert(entry);  // 0: no entry
      }
    }
  }
  EXPECT_GT(used.size(), 110u);  // the windows and messages name this many at least
  const auto english = ShippedEntries("English");
  const auto russian = ShippedEntries("Russian");
  for (int n : used) {
    EXPECT_TRUE(english.count(n)) << n;
    EXPECT_TRUE(russian.count(n)) << n;
  }
}

}  // namespace
}  // namespace kestrel
