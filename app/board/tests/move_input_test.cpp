#include "app/board/move_input.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "rules/game_types.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

// Square of a name such as "c3": files from White's left, ranks from 1.
int Sq(std::string_view name, int type) {
  const TBoardShape shape = BoardShape(type);
  const int file = name[0] - 'a';
  const int rank = std::stoi(std::string(name.substr(1))) - 1;
  return rank * shape.squaresPerRank + file / 2 + 1;
}

// Square shown with the number `text` on a numeric board.
int Numbered(std::string_view text, int type) {
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
    if (SquareText(s, type, 1) == text) return s;
  ADD_FAILURE() << "no square " << text;
  return 0;
}

TBoard Position(int type, std::initializer_list<const char*> white, std::initializer_list<const char*> black,
                bool kings = false) {
  TBoard board;
  for (const char* s : white) board.b[Sq(s, type)] = kings ? WhiteKing : WhiteMan;
  for (const char* s : black) board.b[Sq(s, type)] = BlackMan;
  return board;
}

// Number (1..count) of the legal move from `from` whose squares are `path`
// (start and landing squares), 0 when there is none.
int Find(const TLegalMoves& moves, std::initializer_list<int> path) {
  for (int i = 0; i < moves.count; ++i) {
    const TMove& m = moves.list[i];
    if (static_cast<int>(path.size()) != (m.lt == 0 ? 2 : m.lt + 1)) continue;
    bool same = true;
    int k = 0;
    for (int s : path) {
      const int at = k == 0 ? 0 : (m.lt == 0 ? 1 : 2 * k);
      same = same && m.mv[at] == s;
      ++k;
    }
    if (same) return i + 1;
  }
  return 0;
}

int Clicks(TClickHistory& history, const TLegalMoves& moves, std::initializer_list<int> squares) {
  int picked = 0;
  for (int s : squares) {
    EXPECT_EQ(picked, 0) << "picked before the last click";
    picked = history.Click(s, moves);
  }
  return picked;
}

TMove Capture(std::initializer_list<int> squares) {
  TMove m;
  int i = 0;
  for (int s : squares) m.mv[i++] = static_cast<uint8_t>(s);
  m.lt = static_cast<uint8_t>((squares.size() - 1) / 2);
  return m;
}

// ---- Plain moves from the Russian start: 9-13, 10-13, 10-14, 11-14, 11-15, 12-15, 12-16.
class RussianStart : public ::testing::Test {
 protected:
  TLegalMoves moves = ListLegalMoves(InitialPosition(gtRussian), TDColor::white, gtRussian);
  TClickHistory history;
};

TEST_F(RussianStart, FromAndToPickAPlainMoveInEitherOrder) {
  ASSERT_EQ(moves.count, 7);
  EXPECT_EQ(Clicks(history, moves, {10, 14}), Find(moves, {10, 14}));
  EXPECT_EQ(Clicks(history, moves, {14, 10}), Find(moves, {10, 14}));
  EXPECT_EQ(Clicks(history, moves, {11, 15}), Find(moves, {11, 15}));
}

TEST_F(RussianStart, ALandingSquareOnlyOneMoveReachesIsEnough) {
  EXPECT_EQ(history.Click(16, moves), Find(moves, {12, 16}));
  // 13 is reached from 9 and from 10: the next click decides.
  EXPECT_EQ(history.Click(13, moves), 0);
  EXPECT_EQ(history.Click(9, moves), Find(moves, {9, 13}));
}

TEST_F(RussianStart, AChangeOfMindStartsAfresh) {
  EXPECT_EQ(history.Click(10, moves), 0);
  EXPECT_EQ(history.Click(11, moves), 0);  // 10 then 11 fit no move
  EXPECT_EQ(history.Click(15, moves), Find(moves, {11, 15}));
}

TEST_F(RussianStart, ClicksThatFitNoMoveAndSquaresOffTheBoardPickNothing) {
  for (int s : {1, 5, 20, 32, 0, -3, 73, 200}) EXPECT_EQ(history.Click(s, moves), 0) << s;
  EXPECT_EQ(history.Click(10, moves), 0);
  EXPECT_EQ(history.Click(10, moves), 0);  // a square counts once per click
}

TEST_F(RussianStart, APickClearsTheHistory) {
  ASSERT_NE(Clicks(history, moves, {10, 14}), 0);
  for (int age = 0; age < TClickHistory::Size; ++age) EXPECT_EQ(history.Recent(age), 0);
  // With the old clicks gone, 13 alone still fits two moves.
  EXPECT_EQ(history.Click(13, moves), 0);
}

TEST(ClickHistory, TheRingKeepsTheLast41Clicks) {
  TLegalMoves none;
  TClickHistory history;
  for (int i = 1; i <= 50; ++i) history.Click(i, none);
  EXPECT_EQ(history.Recent(0), 50);
  EXPECT_EQ(history.Recent(40), 10);
  EXPECT_EQ(history.Recent(41), 0);
}

TEST(ClickHistory, ASingleLegalMoveStillNeedsAClickOnItsSquares) {
  const TBoard board = Position(gtRussian, {"a1"}, {"h8"});
  const TLegalMoves moves = ListLegalMoves(board, TDColor::white, gtRussian);
  ASSERT_EQ(moves.count, 1);
  TClickHistory history;
  EXPECT_EQ(history.Click(Sq("h8", gtRussian), moves), 0);
  EXPECT_EQ(history.Click(Sq("b2", gtRussian), moves), 1);
}

// ---- Captures on a real position: a man on c1 takes b2 and b4 to c5, or
// d2 and f4 to g5.
TEST(ClickHistory, ClicksOnARouteOrATakenPiecePickTheCapture) {
  const int t = gtRussian;
  const TBoard board = Position(t, {"c1"}, {"b2", "d2", "b4", "f4"});
  const TLegalMoves moves = ListLegalMoves(board, TDColor::white, t);
  ASSERT_EQ(moves.count, 2);
  ASSERT_TRUE(moves.captures());
  const int left = Find(moves, {Sq("c1", t), Sq("a3", t), Sq("c5", t)});
  const int right = Find(moves, {Sq("c1", t), Sq("e3", t), Sq("g5", t)});
  ASSERT_NE(right, 0);
  ASSERT_NE(left, 0);

  TClickHistory history;
  EXPECT_EQ(history.Click(Sq("c1", t), moves), 0);  // both start there
  EXPECT_EQ(history.Click(Sq("c5", t), moves), left);
  EXPECT_EQ(Clicks(history, moves, {Sq("c1", t), Sq("e3", t)}), right);
  EXPECT_EQ(history.Click(Sq("b4", t), moves), left);
  EXPECT_EQ(history.Click(Sq("d2", t), moves), right);
  EXPECT_EQ(history.Click(Sq("h8", t), moves), 0);
}

// ---- Captures through the same squares in another order, as the landing
// rule must separate them; the lists are made by hand.
TEST(ClickHistory, LandingSquaresInOrderPickAmongCapturesOfTheSameSquares) {
  TLegalMoves moves;
  moves.list[0] = Capture({1, 6, 10, 15, 19});
  moves.list[1] = Capture({1, 15, 19, 6, 10});
  moves.count = 2;
  TClickHistory history;
  EXPECT_EQ(Clicks(history, moves, {1, 10, 19}), 1);
  EXPECT_EQ(Clicks(history, moves, {1, 19, 10}), 2);
  // Plain moves never take the landing rule.
  TLegalMoves plain;
  plain.list[0].mv = {1, 5};
  plain.list[1].mv = {1, 6};
  plain.count = 2;
  EXPECT_EQ(history.Click(1, plain), 0);
}

TEST(ClickHistory, ASquarePassedTwiceNeedsTwoClicks) {
  TLegalMoves moves;
  moves.list[0] = Capture({1, 6, 14, 18, 23, 27, 32});  // goes on to 32
  moves.list[1] = Capture({1, 6, 14, 18, 23, 19, 14});  // comes back to 14
  moves.count = 2;
  TClickHistory history;
  EXPECT_EQ(Clicks(history, moves, {1, 14, 23}), 0);
  EXPECT_EQ(history.Click(14, moves), 2);
  EXPECT_EQ(Clicks(history, moves, {1, 14, 23, 32}), 1);
}

TEST(ClickHistory, DamagedCaptureCountsStayInsideTheMove) {
  TLegalMoves moves;
  moves.list[0] = Capture({1, 6, 10});
  moves.list[0].lt = 200;
  moves.list[1] = Capture({2, 7, 11});
  moves.count = 2;
  TClickHistory history;
  EXPECT_EQ(history.Click(11, moves), 2);
  moves.count = 255;  // more than a list holds
  EXPECT_EQ(history.Click(7, moves), 2);
}

// ---- "AutoCapture": a single legal move follows by itself only in analysis mode.
TEST(ForcedFollowUp, OnlyASingleMoveWithAutoCaptureInAnalysisMode) {
  const int t = gtRussian;
  const TLegalMoves forced = ListLegalMoves(Position(t, {"c1"}, {"d2"}), TDColor::white, t);
  ASSERT_EQ(forced.count, 1);
  ASSERT_NE(ForcedFollowUp(forced, true, true), nullptr);
  EXPECT_EQ(ForcedFollowUp(forced, true, true)->To(), Sq("e3", t));
  EXPECT_EQ(ForcedFollowUp(forced, true, false), nullptr);
  EXPECT_EQ(ForcedFollowUp(forced, false, true), nullptr);
  const TLegalMoves choice = ListLegalMoves(Position(t, {"c3"}, {"h8"}), TDColor::white, t);
  ASSERT_EQ(choice.count, 2);
  EXPECT_EQ(ForcedFollowUp(choice, true, true), nullptr);
  EXPECT_EQ(ForcedFollowUp(TLegalMoves{}, true, true), nullptr);
}

// ---- Typed moves.
TEST(TypedMove, KeysBuildTheTextAndBackspaceTakesItBack) {
  TTypedMove typed;
  EXPECT_FALSE(typed.Key(TTypedMove::Backspace));  // empty stays empty
  EXPECT_EQ(typed.Text(), "");
  for (char c : std::string("c3-d")) EXPECT_TRUE(typed.Key(c));
  EXPECT_FALSE(typed.Key('\r'));
  EXPECT_FALSE(typed.Key('\t'));
  EXPECT_EQ(typed.Text(), "c3-d");
  EXPECT_TRUE(typed.Key(TTypedMove::Backspace));
  EXPECT_EQ(typed.Text(), "c3-");
  typed.Clear();
  EXPECT_EQ(typed.Text(), "");
}

int TypeAndMatch(std::string_view text, const TLegalMoves& moves, int type) {
  TTypedMove typed;
  int found = 0;
  for (char c : text) {
    typed.Key(c);
    found = typed.Match(moves, type);
    if (found != 0) break;  // entered as soon as it matches
  }
  return found;
}

TEST(TypedMove, AlgebraicMovesInEveryForm) {
  const int t = gtRussian;
  const TLegalMoves start = ListLegalMoves(InitialPosition(t), TDColor::white, t);
  const int c3d4 = Find(start, {Sq("c3", t), Sq("d4", t)});
  for (const char* text : {"c3-d4", "C3-D4", "c3d4", "cd4"}) EXPECT_EQ(TypeAndMatch(text, start, t), c3d4) << text;
  EXPECT_EQ(TypeAndMatch("c3-b4", start, t), Find(start, {Sq("c3", t), Sq("b4", t)}));
  for (const char* text : {"c3-c4", "d4", "zz", ""}) EXPECT_EQ(TypeAndMatch(text, start, t), 0) << text;

  const TLegalMoves takes = ListLegalMoves(Position(t, {"c1"}, {"b2", "d2", "b4", "f4"}), TDColor::white, t);
  const int left = Find(takes, {Sq("c1", t), Sq("a3", t), Sq("c5", t)});
  const int right = Find(takes, {Sq("c1", t), Sq("e3", t), Sq("g5", t)});
  for (const char* text : {"c1:e3:g5", "c1xe3xg5", "C1:G5", "c1:g5", "cg5"})
    EXPECT_EQ(TypeAndMatch(text, takes, t), right) << text;
  for (const char* text : {"c1:a3:c5", "c1xc5", "c1c5"}) EXPECT_EQ(TypeAndMatch(text, takes, t), left) << text;
}

TEST(TypedMove, NumericMovesInEveryForm) {
  const int t = gtInternational;
  const TLegalMoves start = ListLegalMoves(InitialPosition(t), TDColor::white, t);
  const int m = Find(start, {Numbered("32", t), Numbered("28", t)});
  ASSERT_NE(m, 0);
  for (const char* text : {"32-28", "3228"}) EXPECT_EQ(TypeAndMatch(text, start, t), m) << text;
  EXPECT_EQ(TypeAndMatch("32x28", start, t), 0);

  // 26 takes 21 to 17 and 12 to 8.
  TBoard board;
  board.b[Numbered("26", t)] = WhiteMan;
  board.b[Numbered("21", t)] = BlackMan;
  board.b[Numbered("12", t)] = BlackMan;
  const TLegalMoves takes = ListLegalMoves(board, TDColor::white, t);
  ASSERT_EQ(takes.count, 1);
  for (const char* text : {"26x8", "26x08", "26:8", "26x17x8", "26x8x21x12"})
    EXPECT_EQ(TypeAndMatch(text, takes, t), 1) << text;
}

// ---- Set-up clicks.
TEST(SetupClickCode, LeftAndRightCycleThroughTheFivePieceCodes) {
  const int t = gtRussian;
  const int mid = Sq("d4", t);
  int8_t code = Empty;
  const int8_t up[] = {WhiteMan, WhiteKing, BlackKing, BlackMan, Empty};
  for (int8_t want : up) EXPECT_EQ(code = SetupClickCode(code, mid, t, TClickButton::left), want);
  const int8_t down[] = {BlackMan, BlackKing, WhiteKing, WhiteMan, Empty};
  for (int8_t want : down) EXPECT_EQ(code = SetupClickCode(code, mid, t, TClickButton::right), want);
  for (int8_t c : {WhiteMan, WhiteKing, BlackKing, BlackMan})
    EXPECT_EQ(SetupClickCode(c, mid, t, TClickButton::middle), Empty);
}

TEST(SetupClickCode, MenAreNeverPlacedWhereTheyWouldBeCrowned) {
  for (int t : {static_cast<int>(gtRussian), static_cast<int>(gtInternational), static_cast<int>(gtSpantsiretti)}) {
    const int n = GameTypes[t].SquareCount;
    const int perRank = BoardShape(t).squaresPerRank;
    for (int s : {1, perRank}) {  // White's back rank: no black man
      EXPECT_EQ(SetupClickCode(BlackKing, s, t, TClickButton::left), Empty) << t << " " << s;
      EXPECT_EQ(SetupClickCode(Empty, s, t, TClickButton::right), BlackKing) << t << " " << s;
      EXPECT_EQ(SetupClickCode(Empty, s, t, TClickButton::left), WhiteMan);
    }
    for (int s : {n - perRank + 1, n}) {  // Black's back rank: no white man
      EXPECT_EQ(SetupClickCode(Empty, s, t, TClickButton::left), WhiteKing) << t << " " << s;
      EXPECT_EQ(SetupClickCode(WhiteKing, s, t, TClickButton::right), Empty) << t << " " << s;
      EXPECT_EQ(SetupClickCode(BlackKing, s, t, TClickButton::left), BlackMan);
    }
  }
}

TEST(SetupClickCode, SquaresOffTheBoardAndBadCodesAreSafe) {
  EXPECT_EQ(SetupClickCode(WhiteMan, 33, gtRussian, TClickButton::middle), WhiteMan);
  EXPECT_EQ(SetupClickCode(WhiteMan, 0, gtRussian, TClickButton::left), WhiteMan);
  EXPECT_EQ(SetupClickCode(WhiteMan, 5, 0, TClickButton::left), WhiteMan);
  EXPECT_EQ(SetupClickCode(OffBoard, 14, gtRussian, TClickButton::left), BlackKing);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// A man on c3 takes round a diamond to c7, by e5 or by a5: "c3xc7" fits
// both and is given to the user to choose; the path fits one.
TEST(TypedMove, TextThatFitsTwoMovesGivesBoth) {
  const int t = gtCzech;
  const TLegalMoves moves = ListLegalMoves(Position(t, {"c3", "h2"}, {"d4", "b4", "d6", "b6"}), TDColor::white, t);
  ASSERT_EQ(moves.count, 2);
  const int byE5 = Find(moves, {Sq("c3", t), Sq("e5", t), Sq("c7", t)});
  const int byA5 = Find(moves, {Sq("c3", t), Sq("a5", t), Sq("c7", t)});
  struct Case {
    const char* text;
    std::vector<int> found;
  };
  for (const Case& c : {Case{"c3xc7", {1, 2}}, Case{"c3xe5xc7", {byE5}}, Case{"c3:a5:c7", {byA5}}, Case{"c3xe7", {}}}) {
    TTypedMove typed;
    for (char ch : std::string(c.text)) typed.Key(ch);
    EXPECT_EQ(typed.Candidates(moves, t), c.found) << c.text;
  }
}

}  // namespace
}  // namespace kestrel
