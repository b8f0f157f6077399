#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "formats/fen.h"
#include "test_support/random_position.h"
#include "rules/game_types.h"
#include "rules/notation.h"
#include "test_support/pool_chess_scope.h"

namespace kestrel {
namespace {

using testing::PoolChessScope;

std::optional<TFenPosition> Read(std::string_view text, int type) {
  std::string error;
  auto position = ReadFEN(text, type, &error);
  EXPECT_EQ(position.has_value(), error.empty()) << text << " -> " << error;
  return position;
}

// Square shown as `name` (any numbering) in the type's current notation.
int Square(std::string_view name, int type) {
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
    if (SquareText(s, type, 1) == name) return s;
  ADD_FAILURE() << "no square " << name;
  return 1;
}

TEST(Fen, RoundTripOfRandomPositionsOnEveryBoard) {
  std::mt19937 rng(20240611);
  for (bool poolChess : {false, true}) {
    PoolChessScope scope(poolChess);
    for (int t = 1; t <= GameTypeCount; ++t) {
      SCOPED_TRACE(::testing::Message() << GameTypeNames[t] << " chess=" << poolChess);
      for (int i = 0; i < 200; ++i) {
        const TBoard board = testing::RandomPosition(rng, t, 75);
        const TDColor mover = i % 2 == 0 ? TDColor::white : TDColor::black;
        const std::string text = WriteFEN(board, mover, t);
        const auto back = Read(text, t);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_TRUE(SameBoard(back->board.b, board.b)) << text;
        EXPECT_EQ(back->firstMover, mover) << text;
        EXPECT_EQ(text.back(), '.');
      }
      // The empty board writes bare letters and reads back empty.
      const std::string empty = WriteFEN(TBoard{}, TDColor::white, t);
      const auto back = Read(empty, t);
      ASSERT_TRUE(back.has_value()) << empty;
      EXPECT_TRUE(SameBoard(back->board.b, TBoard{}.b));
    }
  }
}

TEST(Fen, WriterTextsOfStartPositions) {
  EXPECT_EQ(WriteFEN(InitialPosition(gtRussian), TDColor::white, gtRussian),
            "W:Wa1,c1,e1,g1,b2,d2,f2,h2,a3,c3,e3,g3:Bb6,d6,f6,h6,a7,c7,e7,g7,b8,d8,f8,h8.");
  EXPECT_EQ(WriteFEN(InitialPosition(gtInternational), TDColor::white, gtInternational),
            "W:W46,47,48,49,50,41,42,43,44,45,36,37,38,39,40,31,32,33,34,35"
            ":B16,17,18,19,20,11,12,13,14,15,6,7,8,9,10,1,2,3,4,5.");
  EXPECT_EQ(WriteFEN(InitialPosition(gtThai), TDColor::black, gtThai),
            "B:W29,30,31,32,25,26,27,28:B5,6,7,8,1,2,3,4.");
  // The program's white moves first and is the file's black.
  EXPECT_EQ(WriteFEN(InitialPosition(gtEnglish), TDColor::white, gtEnglish),
            "B:B4,3,2,1,8,7,6,5,12,11,10,9:W24,23,22,21,28,27,26,25,32,31,30,29.");
  TBoard kings;
  kings.b[1] = WhiteKing;
  kings.b[40] = BlackKing;
  EXPECT_EQ(WriteFEN(kings, TDColor::black, gtSpantsiretti), "B:WKa1:BKk8.");
  EXPECT_EQ(WriteFEN(kings, TDColor::white, 0), "");
}

TEST(Fen, EnglishAndPoolExchangeTheColourNames) {
  for (int t : {gtEnglish, gtPool}) {
    PoolChessScope scope(false);
    SCOPED_TRACE(GameTypeNames[t]);
    // File white (program black) to move: man on 18, king on 19; file black
    // (program white) men on 1 and 2.
    const auto p = Read("W:W18,K19:B1,2", t);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->firstMover, TDColor::black);
    EXPECT_EQ(p->board.b[Square("18", t)], BlackMan);
    EXPECT_EQ(p->board.b[Square("19", t)], BlackKing);
    EXPECT_EQ(p->board.b[Square("1", t)], WhiteMan);
    EXPECT_EQ(p->board.b[Square("2", t)], WhiteMan);
    EXPECT_EQ(std::count(p->board.b.cells.begin(), p->board.b.cells.end(), Empty), MaxSquares - 4);
    EXPECT_EQ(WriteFEN(p->board, p->firstMover, t), "W:B2,1:WK19,18.");

    // The standard start, file black to move.
    const auto start = Read("B:W21-32:B1-12", t);
    ASSERT_TRUE(start.has_value());
    EXPECT_TRUE(SameBoard(start->board.b, InitialPosition(t).b));
    EXPECT_EQ(start->firstMover, TDColor::white);
  }
  // Every other type keeps the names.
  const auto r = Read("W:W18,K19:B1,2", gtSpanish);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->firstMover, TDColor::white);
  EXPECT_EQ(r->board.b[18], WhiteMan);
  EXPECT_EQ(r->board.b[19], WhiteKing);
  EXPECT_EQ(r->board.b[1], BlackMan);
  EXPECT_EQ(Read("B:W18:B1", gtSpanish)->firstMover, TDColor::black);
}

TEST(Fen, PoolWithChessNamesStillExchangesTheColours) {
  PoolChessScope scope(true);
  TBoard board;
  board.b[10] = WhiteMan;
  board.b[23] = BlackKing;
  for (TDColor mover : {TDColor::white, TDColor::black}) {
    const std::string text = WriteFEN(board, mover, gtPool);
    EXPECT_EQ(text, std::string(mover == TDColor::white ? "B:" : "W:") + "Bc3:WKf6.");
    const auto back = Read(text, gtPool);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->firstMover, mover);
    EXPECT_TRUE(SameBoard(back->board.b, board.b));
  }
  // Pool files number squares as English files do.
  const auto numbered = Read("B:B11:WK22", gtPool);
  ASSERT_TRUE(numbered.has_value());
  EXPECT_TRUE(SameBoard(numbered->board.b, board.b));
}

TEST(Fen, ReadsWhatRealFilesHold) {
  struct Case {
    std::string text;
    int type;
  };
  const Case starts[] = {
      {"W:W1-12:B21-32", gtSpanish},
      {"W:W1-12:B21-32.", gtSpanish},
      {"  W : W 1-4 , 5-12 : B21 - 32 .  ", gtSpanish},
      {"W:W1,2,3,4,5,6,7,8,9,10,11,12:B21,22,23,24,25,26,27,28,29,30,31,32:H0:F1", gtSpanish},
      {"w:w01,02,03,04,05,06,07,08,09,10,11,12:b21-32", gtSpanish},
      {"?:W1-12:B21-32", gtSpanish},
      {"W:Wa1,c1,e1,g1,b2,d2,f2,h2,a3,c3,e3,g3:Bb6,d6,f6,h6,a7,c7,e7,g7,b8,d8,f8,h8", gtRussian},
      {"W:WA1,C1,E1,G1,B2,D2,F2,H2,A3,C3,E3,G3:BB6,D6,F6,H6,A7,C7,E7,G7,B8,D8,F8,H8.", gtBrazilian},
      // Russian files with numbered squares count from Black's side.
      {"W:W29,30,31,32,25,26,27,28,21,22,23,24:B9,10,11,12,5,6,7,8,1,2,3,4.", gtRussian},
      {"W:W21-32:B1-12", gtCzech},
      {"W:W46-50,31-45:B1-20", gtInternational},
      {"W:W29-32,25-28:B1-8", gtThai},
  };
  for (const Case& c : starts) {
    const auto p = Read(c.text, c.type);
    ASSERT_TRUE(p.has_value()) << c.text;
    EXPECT_TRUE(SameBoard(p->board.b, InitialPosition(c.type).b)) << c.text;
    EXPECT_EQ(p->firstMover, TDColor::white) << c.text;
  }

  // Kings in either case, as single squares and in ranges.
  const auto kings = Read("B:WK1,k2,K 3:BK5-7,k8.", gtSpanish);
  ASSERT_TRUE(kings.has_value());
  EXPECT_EQ(kings->firstMover, TDColor::black);
  for (int s : {1, 2, 3}) EXPECT_EQ(kings->board.b[s], WhiteKing);
  for (int s : {5, 6, 7, 8}) EXPECT_EQ(kings->board.b[s], BlackKing);

  // On 10x8 "k2" is a square; a king there is "Kk2".
  const auto spants = Read("W:Wk2,Kk4:Bb8", gtSpantsiretti);
  ASSERT_TRUE(spants.has_value());
  EXPECT_EQ(spants->board.b[10], WhiteMan);
  EXPECT_EQ(spants->board.b[20], WhiteKing);
  EXPECT_EQ(spants->board.b[36], BlackMan);

  // Chess names are also read on numbered 32-square boards.
  const auto italian = Read("W:Wa1:Bh8", gtItalian);
  ASSERT_TRUE(italian.has_value());
  EXPECT_EQ(italian->board.b[1], WhiteMan);
  EXPECT_EQ(italian->board.b[32], BlackMan);
}

TEST(Fen, BadTextIsRefusedWithAReason) {
  struct Case {
    std::string text;
    int type;
    std::string reason;  // a word the message must hold
  };
  const Case cases[] = {
      {"", gtRussian, "empty"},
      {"   ", gtRussian, "empty"},
      {"W", gtSpanish, "missing"},
      {"W:W1,2", gtSpanish, "missing"},
      {"W:B1,2", gtSpanish, "missing"},
      {"X:W1:B2", gtSpanish, "side to move"},
      {"WB:W1:B2", gtSpanish, "side to move"},
      {"hello world", gtSpanish, "side to move"},
      {"W:W1,1:B2", gtSpanish, "twice"},
      {"W:W1:B1", gtSpanish, "twice"},
      {"W:W1-5:B5", gtSpanish, "twice"},
      {"W:W1:B2:W3", gtSpanish, "twice"},
      {"W:W33:B1", gtSpanish, "not on the board"},
      {"W:W0:B1", gtSpanish, "not on the board"},
      {"W:W51:B1", gtInternational, "not on the board"},
      {"W:W99999999999999999999:B1", gtSpanish, "not on the board"},
      {"W:W1-40:B", gtSpanish, "beyond"},
      {"W:W5-3:B1", gtSpanish, "range"},
      {"W:W1-:B2", gtSpanish, "range"},
      {"W:W-1:B2", gtSpanish, "range"},
      {"W:Wa1-c1:B2", gtSpanish, "range"},
      {"W:Wz9:B1", gtSpanish, "unknown square"},
      {"W:Wi1:B1", gtRussian, "unknown square"},
      {"W:W1x:B2", gtSpanish, "unknown square"},
      {"W:Wa1:B5", gtSpantsiretti, "unknown square"},
      {"W:WKz:B1", gtSpanish, "unknown square"},
      {"W:WK:B1", gtSpanish, "king"},
      {"W:W1,,2:B3", gtSpanish, "empty entry"},
      {"W:W1,2,:B3", gtSpanish, "empty entry"},
      {"W:W1:B2:garbage", gtSpanish, "unknown part"},
      {"W:W1:B2:Hx", gtSpanish, "unknown part"},
      {"W:W1:B2", 0, "game type"},
      {"W:W1:B2", 13, "game type"},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto p = ReadFEN(c.text, c.type, &error);
    EXPECT_FALSE(p.has_value()) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << " -> " << error;
    EXPECT_FALSE(ReadFEN(c.text, c.type).has_value()) << "without an error string: " << c.text;
  }
  // A good read after a bad one clears the message.
  std::string error = "stale";
  EXPECT_TRUE(ReadFEN("W:W1:B2", gtSpanish, &error).has_value());
  EXPECT_TRUE(error.empty());
}

TEST(Fen, RandomTextEitherFailsOrReadsToAStablePosition) {
  // Whatever the text, the reader answers; what it accepts writes back to
  // text that reads to the same position.
  std::mt19937 rng(7);
  const std::string alphabet = "WBKk:,.-? 0123456789abcdefghiW:B:";
  std::uniform_int_distribution<int> length(0, 40), letter(0, static_cast<int>(alphabet.size()) - 1);
  int accepted = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text = i % 2 == 0 ? "W:W" : "";
    for (int k = length(rng); k > 0; --k) text += alphabet[letter(rng)];
    const int type = 1 + i % GameTypeCount;
    std::string error;
    const auto p = ReadFEN(text, type, &error);
    if (!p) {
      EXPECT_FALSE(error.empty()) << text;
      continue;
    }
    ++accepted;
    const auto q = ReadFEN(WriteFEN(p->board, p->firstMover, type), type);
    ASSERT_TRUE(q.has_value()) << text;
    EXPECT_TRUE(SameBoard(q->board.b, p->board.b)) << text;
    EXPECT_EQ(q->firstMover, p->firstMover) << text;
  }
  EXPECT_GT(accepted, 0);
}

std::vector<std::string> FenTags(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> tags;
  std::string line;
  const std::string head = "[FEN \"";
  while (std::getline(in, line)) {
    const size_t at = line.find(head);
    if (at == std::string::npos) continue;
    const size_t from = at + head.size();
    const size_t to = line.find('"', from);
    if (to != std::string::npos) tags.push_back(line.substr(from, to - from));
  }
  return tags;
}

TEST(Fen, EveryTagOfARealEnglishFileReadsAndRoundTrips) {
  const std::filesystem::path file =
      std::filesystem::path(KESTREL_SHARED_DIR) / "reference/pdn/english_tricks_traps_shots_fen.pdn";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "reference PDN file not found: " << file;
  const std::vector<std::string> tags = FenTags(file);
  ASSERT_EQ(tags.size(), 18u);
  for (const std::string& tag : tags) {
    SCOPED_TRACE(tag);
    const auto p = Read(tag, gtEnglish);
    ASSERT_TRUE(p.has_value());
    // One piece per listed square (the file has no ranges).
    const long listed = std::count(tag.begin(), tag.end(), ',') + 2;
    const long placed = MaxSquares - std::count(p->board.b.cells.begin(), p->board.b.cells.end(), Empty);
    EXPECT_EQ(placed, listed);
    // "W:" means the file's white, the program's black, is to move.
    EXPECT_EQ(p->firstMover, tag[0] == 'W' ? TDColor::black : TDColor::white);
    const std::string again = WriteFEN(p->board, p->firstMover, gtEnglish);
    const auto q = Read(again, gtEnglish);
    ASSERT_TRUE(q.has_value()) << again;
    EXPECT_TRUE(SameBoard(q->board.b, p->board.b)) << again;
    EXPECT_EQ(q->firstMover, p->firstMover);
  }
  // "W:WK32,14:BK25,6.": the file's white king on 32 is a program black king.
  const auto p = Read("W:WK32,14:BK25,6.", gtEnglish);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->board.b[29], BlackKing);
  EXPECT_EQ(p->board.b[15], BlackMan);
  EXPECT_EQ(p->board.b[28], WhiteKing);
  EXPECT_EQ(p->board.b[7], WhiteMan);
}

TEST(Fen, EveryTagOfARealRussianFileIsTheStartPosition) {
  const std::filesystem::path file = std::filesystem::path(KESTREL_SHARED_DIR) / "reference/pdn/russian_ussr_ch_1950.pdn";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "reference PDN file not found: " << file;
  const std::vector<std::string> tags = FenTags(file);
  ASSERT_FALSE(tags.empty());
  for (const std::string& tag : tags) {
    const auto p = Read(tag, gtRussian);
    ASSERT_TRUE(p.has_value()) << tag;
    EXPECT_TRUE(SameBoard(p->board.b, InitialPosition(gtRussian).b)) << tag;
    EXPECT_EQ(p->firstMover, TDColor::white);
  }
}

}  // namespace
}  // namespace kestrel
