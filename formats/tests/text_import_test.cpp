// Free text into PDN: header lines and move lines, names, events, results,
// opening marks, Cyrillic in Windows-1251; and move text read into a game.
#include <gtest/gtest.h>

#include <sstream>

#include "database/code_page.h"
#include "formats/import_from_text.h"
#include "formats/pdn_game_reader.h"
#include "formats/pdn_import.h"
#include "formats/pdn_source.h"
#include "formats/tests/pdn_test_util.h"
#include "formats/text_import.h"

namespace kestrel {
namespace {

// Windows-1251 text of a UTF-8 literal, converted by the system's iconv.
std::string Cp(const std::string& utf8) { return Utf8ToAnsi(utf8); }

struct TConverted {
  std::string white, black, event, result;
  std::vector<std::string> moves;
};

// The state after the lines, before the game is written.
TConverted Convert(std::initializer_list<std::string> lines) {
  std::ostringstream out;
  TTextConverter converter(out);
  for (const std::string& line : lines) converter.ProcessLine(line);
  return {converter.WhiteName(), converter.BlackName(), converter.Event(), converter.Result(), converter.MoveLines()};
}

TEST(TextImport, AlphabetsAreTheLatinAndCyrillicLetters) {
  EXPECT_EQ(LowerAlphabet, Cp("abcdefghijklmnopqrstuvwxyz\u0430\u0431\u0432\u0433\u0434\u0435\u0451\u0436\u0437\u0438"
                              "\u0439\u043a\u043b\u043c\u043d\u043e\u043f\u0440\u0441\u0442\u0443\u0444\u0445\u0446"
                              "\u0447\u0448\u0449\u044a\u044b\u044c\u044d\u044e\u044f"));
  EXPECT_EQ(UpperAlphabet, Cp("ABCDEFGHIJKLMNOPQRSTUVWXYZ\u0410\u0411\u0412\u0413\u0414\u0415\u0401\u0416\u0417\u0418"
                              "\u0419\u041a\u041b\u041c\u041d\u041e\u041f\u0420\u0421\u0422\u0423\u0424\u0425\u0426"
                              "\u0427\u0428\u0429\u042a\u042b\u042c\u042d\u042e\u042f"));
  EXPECT_EQ(AlphabetLowerCase(Cp("\u0418\u0412\u0410\u041d\u041e\u0412 \u0401 XY 1")),
            Cp("\u0438\u0432\u0430\u043d\u043e\u0432 \u0451 xy 1"));
}

TEST(TextImport, CollapseSpaces) {
  std::string text = "   a   b  c ";
  CollapseSpaces(text);
  EXPECT_EQ(text, "a b c");
  text = "    ";
  CollapseSpaces(text);
  EXPECT_EQ(text, "");
}

TEST(TextImport, NamesResultAndTheMoveLine) {
  const TConverted c = Convert({"Ivanov - Petrov 1:0", "1. c3-d4 f6-g5 2. d4-c5 b6:d4"});
  EXPECT_EQ(c.white, "Ivanov");
  EXPECT_EQ(c.black, "Petrov");
  EXPECT_EQ(c.result, "1-0");
  EXPECT_EQ(c.moves, std::vector<std::string>{"1. c3-d4 f6-g5 2. d4-c5 b6:d4"});
}

TEST(TextImport, NamesFromWordsWithTheEventLast) {
  TConverted c = Convert({"Ivanov Petrov Moscow"});
  EXPECT_EQ(c.white, "Ivanov");
  EXPECT_EQ(c.black, "Petrov");
  EXPECT_EQ(c.event, "Moscow");
  c = Convert({"Ivan Ivanov Petr Petrov"});
  EXPECT_EQ(c.white, "Ivan Ivanov");
  EXPECT_EQ(c.black, "Petr Petrov");
  EXPECT_EQ(c.event, "");
}

TEST(TextImport, OpeningMarksAtTheEndOfTheHeader) {
  TConverted c = Convert({"Ivanov Petrov c3d4 f6g5"});
  EXPECT_EQ(c.moves, std::vector<std::string>{"c3>d4 f6>g5 "});
  EXPECT_EQ(c.white, "Ivanov");
  EXPECT_EQ(c.black, "Petrov");
  c = Convert({"Ivanov Petrov Moscow - f6g5"});
  EXPECT_EQ(c.moves, std::vector<std::string>{"- f6>g5 "});
  EXPECT_EQ(c.event, "Moscow");
  // One mark is not enough.
  c = Convert({"Ivanov Petrov Moscow f6g5"});
  EXPECT_TRUE(c.moves.empty());
}

TEST(TextImport, ResultSpellings) {
  EXPECT_EQ(Convert({Cp("Ivanov - Petrov \u043d\u0438\u0447\u044c\u044f")}).result, "1/2-1/2");
  const TConverted t = Convert({"Ivanov - Petrov -.+"});
  EXPECT_EQ(t.result, "0-1t");
  EXPECT_EQ(t.black, "Petrov");
  EXPECT_EQ(Convert({"Ivanov Petrov +.-"}).result, "1-0t");
  EXPECT_EQ(Convert({"Ivanov Petrov 2 : O"}).result, "1-0");
  std::string line = "a 1-1 b 1-0";
  // The first spelling of the list wins, wherever it stands.
  EXPECT_EQ(FindResult(line, true), "1-0");
  EXPECT_EQ(line, "a 1-1 b  ");
  line = "no result";
  EXPECT_FALSE(FindResult(line, true));
  EXPECT_EQ(line, "no result");
}

TEST(TextImport, ResultsInMoveLinesStandAloneAndAreCut) {
  std::string line = "1. 12-08 22-18";
  EXPECT_FALSE(FindResultInMoves(line));  // "2-0" inside a move
  EXPECT_EQ(line, "1. 12-08 22-18");
  line = "31. h4:f6 1-0";
  EXPECT_EQ(FindResultInMoves(line), "1-0");
  EXPECT_EQ(line, "31. h4:f6  ");
  const TConverted c = Convert({"Ivanov - Petrov", "1. c3-d4 f6-g5 2. d4-c5 b6:d4 ="});
  EXPECT_EQ(c.result, "1/2-1/2");
  EXPECT_EQ(c.moves, std::vector<std::string>{"1. c3-d4 f6-g5 2. d4-c5 b6:d4"});
}

TEST(TextImport, CyrillicLettersThatLookLatin) {
  // One Cyrillic "с" in a long line: still moves, written with a Latin c.
  const TConverted c = Convert({Cp("1. \u04413-d4 f6-g5 2. g3-h4 h6-g5")});
  EXPECT_EQ(c.moves, std::vector<std::string>{"1. c3-d4 f6-g5 2. g3-h4 h6-g5"});
  // Two in a short line are more than a fifth: a header.
  EXPECT_TRUE(IsHeaderLine(Cp("1. \u04413-\u04305")));
  EXPECT_FALSE(IsHeaderLine("1. c3-d4 f6-g5"));
  EXPECT_TRUE(IsHeaderLine("Ivanov - Petrov"));
  // The capture sign typed as a Cyrillic "х".
  EXPECT_EQ(Convert({Cp("1. c3-d4 f6-g5 2. d4\u0445f6")}).moves, std::vector<std::string>{"1. c3-d4 f6-g5 2. d4xf6"});
}

TEST(TextImport, TheWholeConversion) {
  int games = 0;
  const std::string pdn = ConvertText("1. c3-d4 f6-g5\nIvanov - Petrov 1:0\n\n1. c3-d4 f6-g5 2. d4-c5 b6:d4\n"
                                      "Sidorov Kozlov Kiev\n1. e3-f4 d6-c5 2. f4-g5 h6:f4 [a]\n",
                                      &games);
  EXPECT_EQ(games, 3);
  EXPECT_EQ(pdn,
            "[Event \"\"]\r\n[White \"\"]\r\n[Black \"\"]\r\n[Result \"\"]\r\n\r\n1. c3-d4 f6-g5\r\n"
            "\r\n"
            "[Event \"\"]\r\n[White \"Ivanov\"]\r\n[Black \"Petrov\"]\r\n[Result \"1-0\"]\r\n\r\n"
            "1. c3-d4 f6-g5 2. d4-c5 b6:d4\r\n"
            "\r\n"
            "[Event \"Kiev\"]\r\n[White \"Sidorov\"]\r\n[Black \"Kozlov\"]\r\n[Result \"\"]\r\n\r\n"
            "{ 1. e3-f4 d6-c5 2. f4-g5 h6:f4 [a] }\r\n");
}

TEST(TextImport, FilesInWindows1251AndUtf8ImportAsPdn) {
  testing::TempDir dir;
  const std::string header = "\u0418\u0432\u0430\u043d\u043e\u0432 - \u041f\u0435\u0442\u0440\u043e\u0432 1:0\r\n";
  const std::string moves = "1. \u04413-d4 f6-g5 2. d4-c5 b6:d4 3. e3:c5 d6:b4 4. a3:c5\r\n";
  for (const std::string& encoded : {Cp(header + moves), header + moves}) {
    const std::string path = dir.File("games.txt");
    testing::WriteFile(path, encoded);
    testing::WriteFile(path + ".pdn", "old contents");
    EXPECT_EQ(ConvertTextFile(path), 1);
    TPdnImportOptions options;
    options.defaultType = gtRussian;
    TPdnImportSummary summary;
    ImportPDNIntoNewDatabase(path + ".pdn", dir.File("games.abd"), summary, options);
    EXPECT_EQ(summary.games, 1);
    EXPECT_EQ(summary.damaged, 0);
    std::istringstream in(testing::ReadFile(path + ".pdn"));
    TPdnSource source(in);
    TPdnRawGame raw;
    ASSERT_TRUE(source.Next(raw));
    TGame game;
    EXPECT_TRUE(ReadPdnGame(raw, gtRussian, game).complete);
    EXPECT_EQ(game.WhiteName, Cp("\u0418\u0432\u0430\u043d\u043e\u0432"));
    EXPECT_EQ(game.Header.Result, 1);
    EXPECT_EQ(MainLineLength(game), 7);
  }
  EXPECT_THROW(ConvertTextFile(dir.File("missing.txt")), TPdnFileError);
}

TEST(ImportFromText, MovesJoinTheCurrentGame) {
  TGame game;
  NewGame(game, gtRussian);
  TMoveTextResult r = ImportMovesFromText(game, "1. c3-d4\tf6-g5\r\n2. d4-c5");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(MainLineLength(game), 3);
  EXPECT_TRUE(game.Modified);
  // The same moves again, then a new one: only that one is added.
  const int slots = game.SlotCount();
  r = ImportMovesFromText(game, "1. c3-d4 f6-g5 2. g3-h4");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(game.SlotCount(), slots + 1);
  EXPECT_EQ(MainLineLength(game), 3);
  // A ballot is read only into a game without moves, and then the shown
  // position is the new start.
  TGame fresh;
  NewGame(fresh, gtRussian);
  r = ImportMovesFromText(fresh, "c3>d4 f6>g5");
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(fresh.CurBoard.b[14], WhiteMan);
  r = ImportMovesFromText(game, "c3>d4 f6>g5");
  EXPECT_FALSE(r.complete);
  // Nothing readable: the rest is a comment and nothing else changes.
  TGame other;
  NewGame(other, gtRussian);
  r = ImportMovesFromText(other, "hello");
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(other.CommentsAft[0], "* hello");
  EXPECT_EQ(other.Header.Flags, 0);
}

}  // namespace
}  // namespace kestrel
