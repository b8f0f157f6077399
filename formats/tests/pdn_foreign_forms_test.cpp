// Forms that other programs write into PDN files, one small game each: every
// one must read without a game marked damaged.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "formats/pdn_game_reader.h"
#include "formats/pdn_source.h"
#include "formats/pdn_variant_detect.h"
#include "formats/tests/pdn_test_util.h"

namespace kestrel {
namespace {

struct TForm {
  const char* name;
  const char* text;
  int games;
  int moves;            // moves of the main line of every game
  const char* white = nullptr;  // expected WhiteName of the first game, or nullptr
  const char* black = nullptr;
  uint8_t result = 0;   // expected Result of the first game
  uint16_t whiteRating = 0;
};

constexpr TForm Forms[] = {
    {"blanks inside moves", "[GameType \"21\"]\n1. 11-15 22-18 2. 15x22 25x18 3. 8-11 29-25 4. 4- 8 *\n", 1, 7},
    {"blanks inside a capture", "[GameType \"21\"]\n1. 11-15 22-18 2. 15x 22 25x18 *\n", 1, 4},
    {"FMJD results", "[GameType \"20\"][Result \"2-0\"]\n1. 32-28 19-23 2-0\n", 1, 2, nullptr, nullptr, 1},
    {"FMJD draw", "[GameType \"20\"]\n[Result \"1-1\"]\n1. 32-28 19-23 1-1\n", 1, 2, nullptr, nullptr, 2},
    {"FMJD loss", "[GameType \"20\"]\n[Result \"0-2\"]\n1. 32-28 19-23 0-2\n", 1, 2, nullptr, nullptr, 3},
    {"marks standing alone", "[GameType \"20\"]\n1. 32-28 ! 19-23 ? 2. 28x19 !? 14x23 *\n", 1, 4},
    {"marks in parentheses", "[GameType \"20\"]\n1. 32-28 (!) 19-23 (?) 2. 28x19 (!?) 14x23 (?\?) *\n", 1, 4},
    {"FEN with an empty side", "[GameType \"20\"]\n[FEN \"W:W32:B\"]\n1. 32-28 *\n", 1, 1},
    {"FEN with both sides empty", "[GameType \"20\"]\n[FEN \"B:W:B\"]\n*\n", 1, 0},
    {"ratings", "[GameType \"20\"]\n[White \"A\"]\n[Black \"B\"]\n[WhiteRating \"2350\"]\n[BlackRating \"2200\"]\n*\n", 1,
     0, "A", "B", 0, 2350},
    {"two tags on one line", "[GameType \"20\"] [White \"Sijbrands\"] [Black \"Baliakin\"]\n1. 32-28 *\n", 1, 1,
     "Sijbrands", "Baliakin"},
    {"moves on the tag line", "[GameType \"20\"] 1. 32-28 19-23 *\n", 1, 2},
    {"games without tags", "1. 32-28 19-23 2-0\n1. 33-28 18-23 2. 39-33 0-2 1. 34-29 *\n", 3, -1},
    {"games without tags after a tagged one",
     "[GameType \"20\"]\n1. 32-28 19-23 2-0\n1. 33-28 18-23 0-2\n1. 34-29 16-21 *\n{a closing remark}\n", 3, 2},
    {"numbers glued to moves", "[GameType \"20\"]\n1.32-28 19-23 2.28x19 14x23 *\n", 1, 4},
    {"black move numbers glued", "[GameType \"20\"]\n1.32-28 1...19-23 2.28x19 2...14x23 *\n", 1, 4},
    {"four digits without a separator", "[GameType \"20\"]\n1. 3228 1923 2. 2819 1423 *\n", 1, 4},
    {"names by tag name", "[GameType \"20\"]\n[Black \"Second\"]\n[White \"First\"]\n*\n", 1, 0, "First", "Second"},
    // English files name the program's first mover "Black".
    {"English colours", "[Black \"Wyllie\"]\n[White \"Martins\"]\n[GameType \"21\"]\n*\n", 1, 0, "Wyllie", "Martins"},
    {"English colours, white first", "[GameType \"21\"]\n[White \"Martins\"]\n[Black \"Wyllie\"]\n*\n", 1, 0,
     "Wyllie", "Martins"},
};

TEST(PdnForeignForms, EveryFormReadsWithoutDamage) {
  testing::SettingsScope scope;
  for (const TForm& form : Forms) {
    SCOPED_TRACE(form.name);
    std::istringstream in(form.text);
    TPdnSource source(in);
    TPdnRawGame raw;
    std::vector<TGame> games;
    while (source.Next(raw)) {
      games.emplace_back();
      const TPdnGameReport report = ReadPdnGame(raw, gtInternational, games.back());
      EXPECT_TRUE(report.complete) << report.reason;
    }
    ASSERT_EQ(static_cast<int>(games.size()), form.games);
    if (form.moves >= 0) {
      for (const TGame& game : games) EXPECT_EQ(MainLineLength(game), form.moves);
    }
    const TGame& first = games.front();
    if (form.white) {
      EXPECT_EQ(first.WhiteName, form.white);
    }
    if (form.black) {
      EXPECT_EQ(first.BlackName, form.black);
    }
    if (form.result) {
      EXPECT_EQ(first.Header.Result, form.result);
    }
    if (form.whiteRating) {
      EXPECT_EQ(first.Header.White.Rating, form.whiteRating);
    }
  }
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// Games without a GameType tag are read as the type they are legal under;
// where several fit, the current type wins.
TEST(PdnVariantChoice, TheTypeUnderWhichTheGamesAreLegal) {
  struct Case {
    const char* moves;
    int current;
    int expected;
  };
  const Case cases[] = {
      {"1. 32-28 19-23 2. 28x19 14x23 *", gtRussian, gtInternational},
      {"1. 3228 1923 2. 2819 1423 *", gtEnglish, gtInternational},
      {"1. 11-15 22-18 2. 15x22 25x18 *", gtInternational, gtEnglish},
      {"1. c3-d4 f6-g5 2. d4-c5 b6xd4 *", gtCzech, gtCzech},
      {"1. c3-d4 f6-g5 2. d4-c5 b6xd4 *", gtInternational, gtRussian},
      {"1. c3-d4 f6-g5 2. d4-c5 b6xd4 *", gtBrazilian, gtBrazilian},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.moves);
    TPdnRawGame raw;
    raw.moveText = c.moves;
    const TVariantChoice choice = ChooseVariant({raw, raw}, c.current, true);
    ASSERT_TRUE(choice.detected);
    EXPECT_EQ(choice.type, c.expected);
    EXPECT_EQ(choice.Explanation(), "no GameType tag: read as " + std::string(GameTypeNames[c.expected]) +
                                        ", all 2 games legal");
  }
}

}  // namespace
}  // namespace kestrel
