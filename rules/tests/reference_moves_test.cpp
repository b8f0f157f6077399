// Legal-move lists of the rulebook examples collected in the shared
// reference (International: the FFJD tutorial and the FMJD rules; Italian:
// the FID rules), written with each type's published square numbers.
#include <gtest/gtest.h>

#include <cstdio>

#include "rules/tests/move_test_support.h"

namespace kestrel {
namespace {

using testing::FromNumbers;
using testing::InternationalSquare;

int ItalianSquare(int number) { return 33 - number; }

int InternationalNumber(int square) {
  for (int n = 1; n <= 50; ++n)
    if (InternationalSquare(n) == square) return n;
  return 0;
}

struct Example {
  const char* rule;
  const char* position;
  std::vector<std::string> moves;  // "28-22", "46x19": start and destination
};

std::vector<std::string> Expand(const std::string& from, char sep, std::initializer_list<int> targets) {
  std::vector<std::string> moves;
  char text[16];
  for (int t : targets) {
    std::snprintf(text, sizeof text, "%s%c%02d", from.c_str(), sep, t);
    moves.push_back(text);
  }
  return moves;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

void Check(const Example& e, int type, const std::function<int(int)>& squareOf, const std::function<int(int)>& numberOf) {
  SCOPED_TRACE(std::string(e.rule) + " " + e.position);
  const auto pos = FromNumbers(e.position, squareOf);
  std::multiset<std::string> got;
  char text[16];
  for (const TMove& m : testing::Moves(pos.board, pos.side, type, true)) {
    std::snprintf(text, sizeof text, "%02d%c%02d", numberOf(m.From()), m.lt ? 'x' : '-', numberOf(m.To()));
    got.insert(text);
  }
  EXPECT_EQ(got, std::multiset<std::string>(e.moves.begin(), e.moves.end()));
}

TEST(ReferenceMoves, InternationalRulebookExamples) {
  const Example examples[] = {
      {"white man moves", "W:W28", {"28-22", "28-23"}},
      {"black man moves", "B:B13", {"13-18", "13-19"}},
      {"promotion", "W:W8", {"08-02", "08-03"}},
      {"white king range", "W:WK28",
       Concat(Concat(Expand("28", '-', {22, 17, 11, 6}), Expand("28", '-', {23, 19, 14, 10, 5})),
              Concat(Expand("28", '-', {32, 37, 41, 46}), Expand("28", '-', {33, 39, 44, 50})))},
      {"black king range", "B:BK1", Concat({"01-06"}, Expand("01", '-', {7, 12, 18, 23, 29, 34, 40, 45}))},
      {"man capture", "W:W28,32:B23", {"28x19"}},
      {"king lands anywhere behind", "W:WK46:B23", Expand("46", 'x', {19, 14, 10, 5})},
      {"man continues capturing", "W:W15:B8,19,20", {"15x02"}},
      {"king continues capturing", "W:WK47:B9,12,33", Expand("47", 'x', {17, 21, 26})},
      {"taken pieces stay until the end", "W:WK41,49:B9,10,12,19,38", {"41x43"}},
      {"majority capture", "W:W48:B24,K31,34,K42,43", {"48x19"}},
      {"man captures backwards", "W:W35:B30,K40", {"35x24", "35x44"}},
      {"king lands anywhere behind (2)", "W:WK41:B23", Expand("41", 'x', {19, 14, 10, 5})},
      {"man continues capturing (2)", "W:W47:B13,14,22,24,31,34,K41,44", {"47x49"}},
      {"king continues capturing (2)", "W:WK1:B7,9,17,19,20,30,31,33,43,44", {"01x15"}},
      {"taken pieces stay until the end (2)", "B:W27,28,38,39,42:BK25", {"25x33"}},
      {"majority counts pieces only", "W:WK48:B7,8,31,34,K42,44", {"48x50"}},
      {"kings do not outweigh men", "W:W26:B12,K21,31,32", {"26x08", "26x28"}},
      {"no promotion in passing", "W:W15:B9,10", {"15x13"}},
  };
  for (const auto& e : examples) Check(e, gtInternational, InternationalSquare, InternationalNumber);
  // The king on 23 also has 17 moves.
  const auto pos = FromNumbers("W:WK23", InternationalSquare);
  EXPECT_EQ(testing::Moves(pos.board, pos.side, gtInternational).size(), 17u);
}

TEST(ReferenceMoves, ItalianRulebookExamples) {
  const Example examples[] = {
      {"man captures forward only", "W:W30:B27", {"30x23"}},
      {"man continues capturing", "W:W31:B12,20,28", {"31x08"}},
      {"king captures in all directions", "W:WK22:B18,19,27", {"22x13", "22x15", "22x31"}},
      {"king continues capturing", "W:WK27:B5,6,13,15,21,23", {"27x25"}},
      {"quantity first", "W:WK21,31:B10,18,27", {"31x06"}},
      {"king captures when counts are equal", "W:WK23,31:B19,26,27", {"23x21"}},
      {"take more kings", "W:WK23:B19,K28", {"23x32"}},
      {"take a king earlier", "W:WK30:B10,12,18,K20,K26,27", {"30x05"}},
      {"take a king earlier (2)", "W:WK30:B10,K12,K18,20,K26,K27", {"30x05"}},
      {"equivalent captures both legal", "W:WK31:B18,20,K27,K28", {"31x13", "31x15"}},
      {"men capture forward only", "W:W24:B20,28", {"24x15"}},
      {"men cannot capture kings", "W:W30:BK26", {"30-27"}},
      {"men capture men", "W:W30:B27", {"30x23"}},
      {"kings capture both ways", "W:WK24:B20,28", {"24x15", "24x31"}},
      {"kings capture kings", "W:WK30:BK26", {"30x21"}},
      {"kings capture men", "W:WK30:B27", {"30x23"}},
  };
  for (const auto& e : examples) Check(e, gtItalian, ItalianSquare, ItalianSquare);
}

}  // namespace
}  // namespace kestrel
