// The move list as a whole: notation flags, playing moves on both board
// forms, duplicate removal, and the bounds of the list and of a capture.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "rules/game_types.h"
#include "rules/notation.h"
#include "rules/tests/move_test_support.h"

namespace kestrel {
namespace {

using testing::Board;
using testing::Moves;
using testing::Path;
using testing::Sq;

constexpr TDColor W = TDColor::white;
constexpr TDColor B = TDColor::black;

const TMove* Find(const std::vector<TMove>& moves, const std::string& path, int type) {
  for (const TMove& m : moves)
    if (Path(m, type) == path) return &m;
  return nullptr;
}

TEST(MoveListFlags, OnlyMoveOfPieceAndUniqueTarget) {
  // c3 has two moves; e3 has d4 and f4; d4 is reached from both.
  const auto moves = Moves(Board(gtRussian, "c3,e3,h2", "h8"), W, gtRussian);
  ASSERT_EQ(moves.size(), 5u);
  const TMove* c3b4 = Find(moves, "c3-b4", gtRussian);
  const TMove* c3d4 = Find(moves, "c3-d4", gtRussian);
  const TMove* h2g3 = Find(moves, "h2-g3", gtRussian);
  ASSERT_TRUE(c3b4 && c3d4 && h2g3);
  EXPECT_EQ(c3b4->flags, mfUniqueTarget);
  EXPECT_EQ(c3d4->flags, 0);
  EXPECT_EQ(h2g3->flags, mfOnlyMoveOfPiece | mfUniqueTarget);
}

TEST(MoveListFlags, AmbiguousFileOnAlgebraicTypesOnly) {
  // Kings c1 and c3 both reach b2 and d2: same file, same target.
  const TBoard board = Board(gtRussian, "Kc1,Kc3", "h8");
  for (int type : {gtRussian, gtBrazilian, gtCzech}) {
    const auto moves = Moves(board, W, type);
    const TMove* fromC1 = Find(moves, "c1-b2", type);
    const TMove* fromC3 = Find(moves, "c3-b2", type);
    ASSERT_TRUE(fromC1 && fromC3);
    EXPECT_TRUE(fromC1->flags & mfAmbiguousFile);
    EXPECT_TRUE(fromC3->flags & mfAmbiguousFile);
    EXPECT_FALSE(Find(moves, "c3-b4", type)->flags & mfAmbiguousFile);
  }
  for (int type : {gtEnglish, gtSpanish, gtItalian})
    for (const TMove& m : Moves(board, W, type)) EXPECT_FALSE(m.flags & mfAmbiguousFile);
  // Pool names squares by letter only with the chess notation.
  const bool saved = PoolChessNotation;
  PoolChessNotation = false;
  EXPECT_FALSE(Find(Moves(board, W, gtPool), "c1-b2", gtPool)->flags & mfAmbiguousFile);
  PoolChessNotation = true;
  EXPECT_TRUE(Find(Moves(board, W, gtPool), "c1-b2", gtPool)->flags & mfAmbiguousFile);
  PoolChessNotation = saved;
  // Different files reaching the same square are not ambiguous.
  const auto moves = Moves(Board(gtRussian, "c3,e3", "h8"), W, gtRussian);
  for (const TMove& m : moves) EXPECT_FALSE(m.flags & mfAmbiguousFile);
}

TEST(MoveListFlags, SingleMoveOfBlackIsHiddenInExtraShortNotation) {
  const TBoard board = Board(gtRussian, "a1", "h8");
  const auto black = Moves(board, B, gtRussian);
  ASSERT_EQ(black.size(), 1u);
  EXPECT_TRUE(black[0].flags & mfHideExtraShort);
  const auto white = Moves(board, W, gtRussian);
  ASSERT_EQ(white.size(), 1u);
  EXPECT_FALSE(white[0].flags & mfHideExtraShort);
  EXPECT_EQ(white[0].flags, mfOnlyMoveOfPiece | mfUniqueTarget);
  for (const TMove& m : Moves(InitialPosition(gtRussian), B, gtRussian)) EXPECT_FALSE(m.flags & mfHideExtraShort);
}

TEST(MoveListFlags, NoMovesNoList) {
  EXPECT_TRUE(Moves(Board(gtRussian, "", "h8"), W, gtRussian).empty());
  // Blocked men.
  EXPECT_TRUE(Moves(Board(gtEnglish, "a1,b2", "a3,c3,d4"), W, gtEnglish).empty());
  TMoveList list;
  uint8_t count = 99;
  GenerateMoveList(InitialPosition(gtRussian), W, list, 0, count);
  EXPECT_EQ(count, 0);
  GenerateMoveList(InitialPosition(gtRussian), W, list, 13, count);
  EXPECT_EQ(count, 0);
}

TEST(ApplyMove, IgnoresMovesOutOfRange) {
  const TBoard start = InitialPosition(gtRussian);
  TMove move;
  move.mv[0] = 9;
  move.mv[1] = 33;  // beyond the board
  TBoard board = start;
  ApplyMove(move, board, gtRussian);
  EXPECT_TRUE(SameBoard(board.b, start.b));
  EXPECT_FALSE(IsMoveInRange(move, gtRussian));
  move.mv[1] = 13;
  EXPECT_TRUE(IsMoveInRange(move, gtRussian));
  move.mv[0] = 0;
  EXPECT_FALSE(IsMoveInRange(move, gtRussian));
  TMove capture;
  capture.lt = MaxCaptured + 1;
  capture.mv.fill(5);
  EXPECT_FALSE(IsMoveInRange(capture, gtRussian));
  board = start;
  ApplyMove(capture, board, gtRussian);
  EXPECT_TRUE(SameBoard(board.b, start.b));
  capture.lt = 2;
  capture.mv[3] = 40;
  EXPECT_FALSE(IsMoveInRange(capture, gtRussian));
  EXPECT_TRUE(IsMoveInRange(capture, gtSpantsiretti));
}

TEST(ApplyMove, MailboxFormIgnoresCellsOffTheBoard) {
  TNewBoard start;
  BoardToNewBoard(InitialPosition(gtRussian), start, gtRussian);
  TMove move;
  move.mv[0] = static_cast<uint8_t>(SquareToCell(9, gtRussian));
  for (int cell : {9, 200, 92}) {
    move.mv[1] = static_cast<uint8_t>(cell);
    TNewBoard board = start;
    ApplyNewBoardMove(move, board, gtRussian);
    EXPECT_EQ(board, start) << cell;
  }
  move.mv[1] = static_cast<uint8_t>(SquareToCell(13, gtRussian));
  TNewBoard board = start;
  ApplyNewBoardMove(move, board, gtRussian);
  EXPECT_NE(board, start);
}

TMove ToCells(TMove m, int type) {
  for (int k = 0; k < m.UsedBytes(); ++k) m.mv[k] = static_cast<uint8_t>(SquareToCell(m.mv[k], type));
  return m;
}

// Random games on every board: the two forms of ApplyMove and of duplicate
// removal must agree move for move, and every move must be in range.
TEST(ApplyMove, BothBoardFormsAgreeInRandomGames) {
  std::mt19937 rng(20240617);
  for (int type = 1; type <= GameTypeCount; ++type) {
    SCOPED_TRACE(GameTypeNames[type]);
    int captures = 0, crownings = 0;
    for (int game = 0; game < 6; ++game) {
      TBoard board = InitialPosition(type);
      TDColor side = W;
      for (int ply = 0; ply < 250; ++ply) {
        TMoveList list;
        uint8_t count = 0;
        GenerateMoveList(board, side, list, type, count);
        if (count == 0) break;
        TNewBoard cells;
        BoardToNewBoard(board, cells, type);
        TMoveList cellList;
        for (int i = 0; i < count; ++i) {
          ASSERT_TRUE(IsMoveInRange(list[i], type));
          cellList[i] = ToCells(list[i], type);
          TBoard after = board;
          ApplyMove(list[i], after, type);
          TNewBoard afterCells = cells;
          ApplyNewBoardMove(cellList[i], afterCells, type);
          TNewBoard expected;
          BoardToNewBoard(after, expected, type);
          ASSERT_EQ(afterCells, expected) << "move " << Path(list[i], type);
        }
        uint8_t n1 = count, n2 = count;
        removedoublemoves(n1, list, board, type);
        removedoublemovesnew(n2, cellList, cells, type);
        ASSERT_EQ(n1, n2);
        for (int i = 0; i < n1; ++i) ASSERT_EQ(ToCells(list[i], type).mv, cellList[i].mv);
        const TMove& m = list[rng() % n1];
        if (m.lt > 0) ++captures;
        const int8_t before = board.b[m.From()];
        ApplyMove(m, board, type);
        if (std::abs(board.b[m.To()]) == 2 && std::abs(before) == 1) ++crownings;
        side = Opponent(side);
      }
    }
    EXPECT_GT(captures, 10);
    EXPECT_GT(crownings, 0);
  }
}

// Random positions of any density, kings and counters included: every move
// fits its record and the board, takes opposing pieces once each, and the
// two board forms agree.
TEST(ApplyMove, RandomPositionsGiveWellFormedMoves) {
  std::mt19937 rng(7);
  for (int type = 1; type <= GameTypeCount; ++type) {
    SCOPED_TRACE(GameTypeNames[type]);
    const int squares = GameTypes[type].SquareCount;
    for (int n = 0; n < 300; ++n) {
      TBoard board;
      const int density = 10 + static_cast<int>(rng() % 80);
      for (int s = 1; s <= squares; ++s) {
        if (static_cast<int>(rng() % 100) >= density) continue;
        static constexpr int8_t codes[] = {WhiteMan, WhiteKing, BlackMan, BlackKing};
        board.b[s] = codes[rng() % 4];
      }
      board.nmpiece = {static_cast<uint8_t>(rng() % (squares + 1)), static_cast<uint8_t>(rng() % (squares + 1))};
      board.nmcount = {static_cast<uint8_t>(rng() % 5), static_cast<uint8_t>(rng() % 5)};
      for (TDColor side : {W, B}) {
        TMoveList list;
        uint8_t count = 0;
        GenerateMoveList(board, side, list, type, count);
        ASSERT_LE(count, MaxMoves);
        const int8_t sign = side == W ? 1 : -1;
        for (int i = 0; i < count; ++i) {
          const TMove& m = list[i];
          ASSERT_TRUE(IsMoveInRange(m, type));
          EXPECT_GT(board.b[m.From()] * sign, 0);
          EXPECT_EQ(m.lt > 0, list[0].lt > 0) << "captures are compulsory";
          if (GameTypes[type].MajorityCapture) {
            EXPECT_EQ(m.lt, list[0].lt);
          }
          std::set<int> taken;
          for (int k = 1; k <= m.lt; ++k) {
            EXPECT_LT(board.b[m.mv[2 * k - 1]] * sign, 0);
            EXPECT_TRUE(taken.insert(m.mv[2 * k - 1]).second);
          }
          TBoard after = board;
          ApplyMove(m, after, type);
          TNewBoard cells, expected;
          BoardToNewBoard(board, cells, type);
          ApplyNewBoardMove(ToCells(m, type), cells, type);
          BoardToNewBoard(after, expected, type);
          ASSERT_EQ(cells, expected);
        }
      }
    }
  }
}

TEST(DuplicateMoves, RoutesOverTheSamePiecesToTheSameSquareAreOneMove) {
  // Pool king c3 round the ring d4, f4, f2, d2 either way back to c3.
  const TBoard board = Board(gtPool, "Kc3", "d4,f4,f2,d2");
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, W, list, gtPool, count);
  ASSERT_EQ(count, 6);
  const TMove first = list[0];
  removedoublemoves(count, list, board, gtPool);
  ASSERT_EQ(count, 5);
  EXPECT_EQ(list[0].mv, first.mv);
  // Different destinations or different pieces stay apart.
  const TBoard two = Board(gtPool, "Kc3", "d4,b4");
  count = 0;
  GenerateMoveList(two, W, list, gtPool, count);
  const uint8_t before = count;
  removedoublemoves(count, list, two, gtPool);
  EXPECT_EQ(count, before);
  // A count beyond the list is clamped, not read past.
  count = 255;
  removedoublemoves(count, list, two, gtPool);
  EXPECT_LE(count, MaxMoves);
}

// Kings spread over the largest board: far more plain moves than the list
// holds. Each king's moves are counted on its own (the other kings turned
// into men, which block alike), so the full list must be their first 128.
TEST(MoveListBounds, PlainMovesStopAtTheListSize) {
  const int type = gtCanadian;
  std::vector<int> kings;
  for (int s = 1; s <= 72; s += 4) kings.push_back(s);
  std::vector<TMove> expected;
  for (int king : kings) {
    TBoard board;
    for (int s : kings) board.b[s] = s == king ? WhiteKing : WhiteMan;
    for (const TMove& m : Moves(board, W, type))
      if (m.From() == king) expected.push_back(m);
  }
  ASSERT_GT(expected.size(), static_cast<size_t>(MaxMoves));

  TBoard board;
  for (int s : kings) board.b[s] = WhiteKing;
  const auto moves = Moves(board, W, type);
  ASSERT_EQ(moves.size(), static_cast<size_t>(MaxMoves));
  for (size_t i = 0; i < moves.size(); ++i) {
    EXPECT_EQ(moves[i].From(), expected[i].From()) << i;
    EXPECT_EQ(moves[i].To(), expected[i].To()) << i;
  }
}

// Three kings in a lattice of men on the 10 x 8 board, where every complete
// capture is legal: together they have more routes than the list holds, and
// many routes reach the same position. The routes of each king are counted
// on its own (the other kings turned into men, which block alike). Repeated
// routes give way to new positions, so the list must hold the first route to
// each of the first positions found, as many as fit.
TEST(MoveListBounds, CaptureRoutesStopAtTheListSize) {
  const int type = gtSpantsiretti;
  const std::vector<std::string> kings{"a1", "i1", "a7"};
  const std::string men = "b2,b4,b6,d2,d4,d6,f2,f4,f6,h2,h4,h6";
  std::string white;
  for (const auto& king : kings) white += "K" + king + ",";
  const TBoard board = Board(type, white, men);
  auto firstOfEachPosition = [&](const std::vector<TMove>& routes) {
    std::vector<TMove> kept;
    std::vector<TBrd> reached;
    for (const TMove& m : routes) {
      TBoard after = board;
      ApplyMove(m, after, type);
      if (std::find(reached.begin(), reached.end(), after.b) != reached.end()) continue;
      reached.push_back(after.b);
      kept.push_back(m);
    }
    return kept;
  };

  std::vector<TMove> routes;
  for (const auto& king : kings) {
    std::string alone = "K" + king;
    for (const auto& other : kings)
      if (other != king) alone += "," + other;
    for (const TMove& m : Moves(Board(type, alone, men), W, type))
      if (m.From() == Sq(king, type)) routes.push_back(m);
  }
  ASSERT_GT(routes.size(), static_cast<size_t>(MaxMoves));
  std::vector<TMove> expected = firstOfEachPosition(routes);
  if (expected.size() > static_cast<size_t>(MaxMoves)) expected.resize(MaxMoves);

  const auto moves = firstOfEachPosition(Moves(board, W, type));
  ASSERT_EQ(moves.size(), expected.size());
  for (size_t i = 0; i < moves.size(); ++i) {
    EXPECT_EQ(moves[i].lt, expected[i].lt) << i;
    EXPECT_TRUE(std::equal(moves[i].mv.begin(), moves[i].mv.begin() + moves[i].UsedBytes(), expected[i].mv.begin()))
        << i;
  }
}

// Walks a king's capture path, given as the pieces taken in order, landing
// right behind each one; checks each step is a legal flying-king capture
// with the pieces taken so far still on the board.
bool IsCapturePath(const TBoard& board, const std::string& from, const std::vector<std::string>& victims, int type) {
  const TBoardShape shape = BoardShape(type);
  auto xy = [&](const std::string& name) { return std::pair{name[0] - 'a', std::stoi(name.substr(1)) - 1}; };
  auto at = [&](int x, int y) -> int8_t {
    if (x < 0 || y < 0 || x >= shape.files || y >= shape.ranks) return OffBoard;
    return board.b[Sq(std::string(1, static_cast<char>('a' + x)) + std::to_string(y + 1), type)];
  };
  const auto start = xy(from);
  // The king has left its start square.
  auto empty = [&](int x, int y) { return at(x, y) == Empty || std::pair{x, y} == start; };
  auto [kx, ky] = start;
  for (const auto& v : victims) {
    auto [vx, vy] = xy(v);
    const int dx = vx > kx ? 1 : -1, dy = vy > ky ? 1 : -1;
    if (std::abs(vx - kx) != std::abs(vy - ky) || at(vx, vy) >= 0) return false;
    for (int x = kx + dx, y = ky + dy; x != vx; x += dx, y += dy)
      if (!empty(x, y)) return false;
    if (!empty(vx + dx, vy + dy)) return false;
    kx = vx + dx;
    ky = vy + dy;
  }
  return true;
}

// A king with a path of 27 pieces on the 12 x 12 board: every capture is cut
// at 25 pieces, the most a move record holds, and the list stays bounded.
TEST(MoveListBounds, CapturesStopAtTwentyFivePieces) {
  const int type = gtCanadian;
  const std::vector<std::string> path{"b2",  "b4",  "b6", "b8", "b10", "e9", "g7", "i5",  "k5",
                                      "k7",  "i9",  "g9", "d6", "d4",  "f2", "h2", "h4",  "f6",
                                      "d8",  "e11", "g11", "i11", "k11", "k9", "i7", "f4", "d2"};
  std::string black;
  for (const auto& v : path) black += v + ",";
  const TBoard board = Board(type, "Ka1", black);
  ASSERT_TRUE(IsCapturePath(board, "a1", path, type));
  const auto moves = Moves(board, W, type);
  ASSERT_FALSE(moves.empty());
  EXPECT_LE(moves.size(), static_cast<size_t>(MaxMoves));
  for (const TMove& m : moves) {
    // Most pieces rule: a longer capture exists, so every move is cut at 25.
    EXPECT_EQ(m.lt, MaxCaptured);
    EXPECT_TRUE(IsMoveInRange(m, type));
    TBoard after = board;
    ApplyMove(m, after, type);
    EXPECT_EQ(after.b[m.To()], WhiteKing);
  }
}

}  // namespace
}  // namespace kestrel
