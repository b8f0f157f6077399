// Two captures from and to the same squares, taking other pieces: every
// printed text must name one of them, and typed text that fits both is no
// choice at all.
#include <gtest/gtest.h>

#include "rules/notation.h"
#include "rules/tests/move_test_support.h"

namespace kestrel {
namespace {

using testing::Board;
using testing::Sq;

struct TCase {
  int type;
  const char* white;
  const char* black;
  const char* plainShared;  // PlainMoveText of a move sharing its squares
  const char* plainAlone;   // PlainMoveText of a move that does not
};

// A white man on c3 takes forward around a diamond to c7, by e5 or by a5
// (men that capture backwards would go round the diamond instead).
constexpr TCase Cases[] = {
    {gtEnglish, "c3,h2", "d4,b4,d6,b6", "{c3}x{e5}x{c7}", "{c3}x{c7}"},
    {gtItalian, "c3,h2", "d4,b4,d6,b6", "{c3}x{e5}x{c7}", "{c3}x{c7}"},
    {gtCzech, "c3,h2", "d4,b4,d6,b6", "c3xe5xc7", "c3xc7"},
};

std::string Numbered(std::string text, int type) {
  for (size_t open; (open = text.find('{')) != std::string::npos;) {
    const size_t close = text.find('}', open);
    text.replace(open, close - open + 1, SquareText(Sq(text.substr(open + 1, close - open - 1), type), type, 1));
  }
  return text;
}

TEST(UnambiguousText, SharedSquaresShowThePath) {
  for (const TCase& c : Cases) {
    SCOPED_TRACE(GameTypeNames[c.type]);
    const TBoard board = Board(c.type, c.white, c.black);
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(board, TDColor::white, list, c.type, count);
    ASSERT_EQ(count, 2);
    std::set<std::string> texts;
    for (int i = 0; i < count; ++i) {
      const std::string plain = PlainMoveText(list[i], list, count, c.type);
      texts.insert(plain);
      bool ambiguous = true;
      EXPECT_EQ(FindUniqueMoveByText(plain, count, list, c.type, ambiguous), i + 1) << plain;
      EXPECT_FALSE(ambiguous);
      for (int mode : {0, 1, 2}) {
        const std::string shown = UnambiguousMoveText(list[i], list, count, c.type, mode, ":");
        EXPECT_EQ(FindMoveByText(shown, count, list, c.type), i + 1) << shown;
      }
      // Against a list without the twin the short form stays.
      EXPECT_EQ(PlainMoveText(list[i], list, 1, c.type) == Numbered(c.plainAlone, c.type), i == 0);
    }
    EXPECT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts.count(Numbered(c.plainShared, c.type))) << *texts.begin();
    bool ambiguous = false;
    EXPECT_EQ(FindUniqueMoveByText(Numbered(c.plainAlone, c.type), count, list, c.type, ambiguous), 0);
    EXPECT_TRUE(ambiguous);
  }
}

}  // namespace
}  // namespace kestrel
