#include <gtest/gtest.h>

#include <random>

#include "protocols/hub_line.h"
#include "protocols/hub_notation.h"
#include "protocols/standard_squares.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

TEST(StandardSquares, InternationalCornersAndStartPosition) {
  // The first mover's left back corner is 46, the far right corner 5.
  EXPECT_EQ(ProtocolSquare(1, gtInternational), 46);
  EXPECT_EQ(ProtocolSquare(50, gtInternational), 5);
  EXPECT_EQ(ProtocolSquare(6, gtInternational), 41);
  EXPECT_EQ(HubPositionText(InitialPosition(gtInternational), TDColor::white, gtInternational),
            "W" + std::string(20, 'b') + std::string(10, 'e') + std::string(20, 'w'));
  for (int type = 1; type <= GameTypeCount; ++type)
    for (int s = 1; s <= GameTypes[type].SquareCount; ++s) ASSERT_EQ(ProgramSquare(ProtocolSquare(s, type), type), s);
}

TEST(HubPosition, RejectsBadText) {
  const std::string start = HubPositionText(InitialPosition(gtInternational), TDColor::white, gtInternational);
  struct Case {
    std::string text;
    bool ok;
  } cases[] = {
      {start, true},
      {"B" + start.substr(1), true},
      {start.substr(0, 50), false},
      {start + "e", false},
      {"X" + start.substr(1), false},
      {start.substr(0, 10) + "q" + start.substr(11), false},
      {"Ww" + start.substr(2), false},                       // white man on square 1
      {"W" + std::string(45, 'e') + "bwwww", false},          // black man on 46
      {"W" + std::string(49, 'e') + "w", false},              // black has nothing
      {"W" + std::string(49, 'e') + "B", true},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto p = ParseHubPosition(c.text, gtInternational, error);
    EXPECT_EQ(p.has_value(), c.ok) << c.text << " " << error;
    if (p) {
      EXPECT_EQ(HubPositionText(p->board, p->side, gtInternational), c.text);
    }
  }
}

// Every legal move of random games reads back from its own text, in every
// variant: the text names exactly one move.
TEST(HubMove, EveryLegalMoveRoundTrips) {
  std::mt19937 random(7);
  for (int type = 1; type <= GameTypeCount; ++type) {
    for (int game = 0; game < 10; ++game) {
      TBoard board = InitialPosition(type);
      TDColor side = TDColor::white;
      for (int ply = 0; ply < 120; ++ply) {
        TMoveList list;
        uint8_t count = 0;
        GenerateMoveList(board, side, list, type, count);
        removedoublemoves(count, list, board, type);
        if (count == 0) break;
        for (int i = 0; i < count; ++i) {
          const std::string text = HubMoveText(list[i], type);
          const auto found = FindHubMove(text, board, side, type);
          ASSERT_TRUE(found) << GameTypeNames[type] << " " << text;
          TBoard a = board, b = board;
          ApplyMove(list[i], a, type);
          ApplyMove(*found, b, type);
          ASSERT_EQ(a.b, b.b) << GameTypeNames[type] << " " << text;
        }
        ApplyMove(list[random() % count], board, type);
        side = Opponent(side);
      }
    }
  }
}

TEST(HubMove, TextsOfTheStartPosition) {
  const TBoard& start = InitialPosition(gtInternational);
  EXPECT_TRUE(FindHubMove("32-28", start, TDColor::white, gtInternational));
  EXPECT_TRUE(FindHubMove("31-26", start, TDColor::white, gtInternational));
  for (const char* bad : {"", "32", "32-", "32-26", "18-23", "32x28", "32-28-23", "a-b", "99-28", "32 28"})
    EXPECT_FALSE(FindHubMove(bad, start, TDColor::white, gtInternational)) << bad;
  // 28x17x22 after 32-28 ... (black on 22 with white to move).
  std::string error;
  std::string text(51, 'e');
  text[0] = 'W';
  text[28] = 'w';
  text[22] = 'b';
  text[1] = 'b';
  const auto p = ParseHubPosition(text, gtInternational, error);
  ASSERT_TRUE(p) << error;
  const auto m = FindHubMove("28x17x22", p->board, p->side, gtInternational);
  ASSERT_TRUE(m);
  EXPECT_EQ(HubMoveText(*m, gtInternational), "28x17x22");
  EXPECT_TRUE(FindHubMove("28x17", p->board, p->side, gtInternational));
  EXPECT_FALSE(FindHubMove("28x17x23", p->board, p->side, gtInternational));
  EXPECT_FALSE(FindHubMove("28-17", p->board, p->side, gtInternational));
}

TEST(HubLine, ParsesAndWritesArguments) {
  struct Case {
    const char* text;
    const char* command;
    std::vector<std::pair<std::string, std::string>> args;
  } cases[] = {
      {"init", "init", {}},
      {"  go   think ", "go", {{"think", ""}}},
      {"pos pos=Wbbe moves=\"32-28 18-23\"", "pos", {{"pos", "Wbbe"}, {"moves", "32-28 18-23"}}},
      {"set-param name=book value=\"\"", "set-param", {{"name", "book"}, {"value", ""}}},
      {"id name=\"a=b\"\tx=1", "id", {{"name", "a=b"}, {"x", "1"}}},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto line = ParseHubLine(c.text, error);
    ASSERT_TRUE(line) << c.text << ": " << error;
    EXPECT_EQ(line->command, c.command);
    ASSERT_EQ(line->args.size(), c.args.size()) << c.text;
    for (size_t i = 0; i < c.args.size(); ++i) {
      EXPECT_EQ(line->args[i].name, c.args[i].first);
      EXPECT_EQ(line->args[i].value, c.args[i].second);
    }
    // Writing the line and reading it again gives the same arguments.
    const auto again = ParseHubLine(line->Text(), error);
    ASSERT_TRUE(again) << line->Text();
    ASSERT_EQ(again->args.size(), line->args.size());
    for (size_t i = 0; i < c.args.size(); ++i) {
      EXPECT_EQ(again->args[i].value, line->args[i].value);
      EXPECT_EQ(again->args[i].flag, line->args[i].flag);
    }
  }
  for (const char* bad : {"", "   ", "=x", "\"go\"", "pos pos=\"Wbb", "level depth=", "a =1"}) {
    std::string error;
    EXPECT_FALSE(ParseHubLine(bad, error)) << bad;
  }
}

}  // namespace
}  // namespace kestrel
