#include <gtest/gtest.h>

#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "rules/move.h"

namespace kestrel {
namespace {

// Square -> (file, rank) through the mailbox cell, as an independent check of
// the numbering: file = 2*column + rank parity.
std::pair<int, int> FileRank(int square, int type) {
  const TBoardShape shape = BoardShape(type);
  const int r = (square - 1) / shape.squaresPerRank;
  const int c = (square - 1) % shape.squaresPerRank;
  return {2 * c + (r % 2), r};
}

TEST(GameTypes, TableValuesPerType) {
  EXPECT_EQ(GameTypeNames[gtSpantsiretti], "Spantsiretti");
  EXPECT_EQ(GameTypes[gtFrisian].ManCaptureDirs, 7);
  EXPECT_EQ(GameTypes[gtFrisian].KingDirs, 7);
  EXPECT_EQ(GameTypes[gtItalian].MenTakeKings, 0);
  EXPECT_EQ(GameTypes[gtItalian].ShortKings, 1);
  EXPECT_EQ(GameTypes[gtEnglish].ShortKings, 1);
  EXPECT_EQ(GameTypes[gtCzech].KingCapturesFirst, 1);
  EXPECT_EQ(GameTypes[gtThai].ImmediateRemoval, 1);
  EXPECT_EQ(GameTypes[gtRussian].PromoteInCapture, 1);
  EXPECT_EQ(GameTypes[gtSpantsiretti].PromoteInCapture, 1);
  EXPECT_EQ(GameTypes[gtInternational].PromoteInCapture, 0);
  EXPECT_EQ(GameTypes[gtCanadian].BoardMask, 0x79EF3DE7BCFull);
  EXPECT_EQ(GameTypes[gtCanadian].FlipShift, 28);
  EXPECT_EQ(GameTypes[gtSpantsiretti].FirstCell, 6);
  EXPECT_EQ(GameTypes[gtSpantsiretti].LastCell, 49);
  EXPECT_EQ(GameTypes[gtInternational].LastCell, 76);
  for (int t = 1; t <= GameTypeCount; ++t) {
    SCOPED_TRACE(t);
    const auto& g = GameTypes[t];
    // First and last cell really are the cells of the first and last square.
    EXPECT_EQ(SquareToCell(1, t), g.FirstCell);
    EXPECT_EQ(SquareToCell(g.SquareCount, t), g.LastCell);
    // Each square owns exactly one cell and the map reports it.
    int squares = 0;
    for (int cell = 0; cell < MailboxSize; ++cell)
      if ((*g.MailboxCells)[cell]) {
        ++squares;
        EXPECT_EQ((*g.MailboxCells)[cell], cell);
        EXPECT_EQ(SquareToCell(IndexToSquare(cell, t), t), cell);
      }
    EXPECT_EQ(squares, g.SquareCount);
  }
}

TEST(GameTypes, ParseNamesAndNumbers) {
  EXPECT_EQ(ParseGameType("international"), gtInternational);
  EXPECT_EQ(ParseGameType("THAI"), gtThai);
  EXPECT_EQ(ParseGameType("10"), gtSpantsiretti);
  EXPECT_FALSE(ParseGameType("0"));
  EXPECT_FALSE(ParseGameType("13"));
  EXPECT_FALSE(ParseGameType("Checkers"));
  EXPECT_FALSE(ParseGameType(""));
}

TEST(Geometry, SquareNamesThroughCells) {
  // 8x8: square 1 a1, 4 g1, 5 b2.
  EXPECT_EQ(FileRank(1, gtRussian), std::make_pair(0, 0));
  EXPECT_EQ(FileRank(4, gtRussian), std::make_pair(6, 0));
  EXPECT_EQ(FileRank(5, gtRussian), std::make_pair(1, 1));
  // 10x8 (files a..i,k): square 5 i1, 6 b2, 40 k8.
  EXPECT_EQ(FileRank(5, gtSpantsiretti), std::make_pair(8, 0));
  EXPECT_EQ(FileRank(6, gtSpantsiretti), std::make_pair(1, 1));
  EXPECT_EQ(FileRank(40, gtSpantsiretti), std::make_pair(9, 7));
}

TEST(Geometry, DiagonalStepsAreConstantAndLeaveTheBoardOntoOffBoard) {
  for (int t : {gtRussian, gtSpantsiretti, gtInternational, gtCanadian}) {
    SCOPED_TRACE(t);
    TNewBoard nb;
    BoardToNewBoard(TBoard{}, nb, t);
    const auto& g = GameTypes[t];
    const TBoardShape shape = BoardShape(t);
    for (int s = 1; s <= g.SquareCount; ++s) {
      auto [file, rank] = FileRank(s, t);
      const int cell = SquareToCell(s, t);
      // Step1 goes up towards the a-file, Step2 up away from it.
      const struct { int step, df, dr; } steps[] = {
          {g.Step1, -1, 1}, {g.Step2, 1, 1}, {-g.Step1, 1, -1}, {-g.Step2, -1, -1}};
      for (auto st : steps) {
        const int nf = file + st.df, nr = rank + st.dr;
        const bool inside = nf >= 0 && nf < shape.files && nr >= 0 && nr < shape.ranks;
        const int target = cell + st.step;
        ASSERT_GE(target, 0);
        ASSERT_LT(target, MailboxSize);
        if (inside) {
          EXPECT_NE(nb[target], OffBoard);
          EXPECT_EQ(FileRank(IndexToSquare(target, t), t), std::make_pair(nf, nr));
        } else {
          EXPECT_EQ(nb[target], OffBoard) << "square " << s << " step " << st.step;
        }
      }
    }
  }
  // a1 on 8x8 is cell 5; its up-left neighbour cell 9 is off the board.
  TNewBoard nb;
  BoardToNewBoard(TBoard{}, nb, gtRussian);
  EXPECT_EQ(SquareToCell(1, gtRussian), 5);
  EXPECT_EQ(nb[9], OffBoard);
}

TEST(Geometry, OrthogonalStepsOnTenByTen) {
  TNewBoard nb;
  BoardToNewBoard(TBoard{}, nb, gtFrisian);
  EXPECT_EQ(SquareToCell(1, gtFrisian), 13);                    // a1
  EXPECT_EQ(FileRank(IndexToSquare(13 + 13, gtFrisian), gtFrisian), std::make_pair(0, 2));  // a3
  EXPECT_EQ(FileRank(IndexToSquare(13 + 1, gtFrisian), gtFrisian), std::make_pair(2, 0));   // c1
  EXPECT_EQ(SquareToCell(5, gtFrisian), 17);                    // i1
  EXPECT_EQ(nb[18], OffBoard);
  // Every square: +-13 and +-1 land on the square two ranks / two files over, or off the board.
  for (int s = 1; s <= 50; ++s) {
    auto [file, rank] = FileRank(s, gtFrisian);
    const int cell = SquareToCell(s, gtFrisian);
    const struct { int step, df, dr; } steps[] = {{13, 0, 2}, {-13, 0, -2}, {1, 2, 0}, {-1, -2, 0}};
    for (auto st : steps) {
      const int nf = file + st.df, nr = rank + st.dr;
      const bool inside = nf >= 0 && nf < 10 && nr >= 0 && nr < 10;
      const int target = cell + st.step;
      ASSERT_TRUE(target >= 0 && target < MailboxSize);
      if (inside)
        EXPECT_EQ(FileRank(IndexToSquare(target, gtFrisian), gtFrisian), std::make_pair(nf, nr));
      else
        EXPECT_EQ(nb[target], OffBoard);
    }
  }
}

TEST(Geometry, CrowningRanksAreTheOpponentsBackRank) {
  for (int t = 1; t <= GameTypeCount; ++t) {
    const int ranks = BoardShape(t).ranks;
    for (int s = 1; s <= GameTypes[t].SquareCount; ++s) {
      const int rank = FileRank(s, t).second;
      EXPECT_EQ(IsPromotionSquare(s, TDColor::white, t), rank == ranks - 1) << t << ' ' << s;
      EXPECT_EQ(IsPromotionSquare(s, TDColor::black, t), rank == 0) << t << ' ' << s;
      // The cell test agrees with the square test.
      const int cell = SquareToCell(s, t);
      EXPECT_EQ(cell > GameTypes[t].WhitePromoteAbove, rank == ranks - 1);
      EXPECT_EQ(cell < GameTypes[t].BlackPromoteBelow, rank == 0);
    }
  }
}

TEST(StartPositions, MenPerSideAndPlacement) {
  for (int t = 1; t <= GameTypeCount; ++t) {
    SCOPED_TRACE(t);
    const TBoard& start = InitialPosition(t);
    int white = 0, black = 0;
    for (int s = 1; s <= MaxSquares; ++s) {
      if (start.b[s] == WhiteMan) ++white;
      if (start.b[s] == BlackMan) ++black;
      EXPECT_TRUE(start.b[s] == WhiteMan || start.b[s] == BlackMan || start.b[s] == Empty);
      if (s > GameTypes[t].SquareCount) {
        EXPECT_EQ(start.b[s], Empty);
      }
    }
    EXPECT_EQ(white, MenPerSide(t));
    EXPECT_EQ(black, MenPerSide(t));
    EXPECT_EQ(start.nmpiece[0], 0);
    // Colour symmetry: turned over, the start position is itself.
    TBrd flipped = start.b;
    FlipBoard(flipped, t);
    EXPECT_TRUE(SameBoard(flipped, start.b));
  }
  const TBoard& thai = InitialPosition(gtThai);
  EXPECT_EQ(thai.b[8], WhiteMan);
  EXPECT_EQ(thai.b[9], Empty);
  EXPECT_EQ(thai.b[24], Empty);
  EXPECT_EQ(thai.b[25], BlackMan);
  EXPECT_EQ(MenPerSide(gtRussian), 12);
}

TEST(Flips, BoardTwiceIsIdentityAndColoursExchange) {
  TBrd b{};
  b[1] = WhiteMan;
  b[7] = BlackKing;
  b[20] = WhiteKing;
  TBrd f = b;
  FlipBoard(f, gtRussian);
  EXPECT_EQ(f[32], BlackMan);
  EXPECT_EQ(f[26], WhiteKing);
  EXPECT_EQ(f[13], BlackKing);
  EXPECT_EQ(f[1], Empty);
  FlipBoard(f, gtRussian);
  EXPECT_TRUE(SameBoard(f, b));
}

TEST(Flips, MoveChangesOnlyItsUsedBytes) {
  TMove m;
  m.lt = 3;
  const uint8_t squares[] = {1, 6, 10, 15, 19, 24, 28};
  for (int i = 0; i < 51; ++i) m.mv[i] = 99;
  for (int i = 0; i < 7; ++i) m.mv[i] = squares[i];
  FlipMove(m, gtRussian);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(m.mv[i], 33 - squares[i]);
  for (int i = 7; i < 51; ++i) EXPECT_EQ(m.mv[i], 99);
  TMove plain;
  plain.mv[0] = 11;
  plain.mv[1] = 16;
  plain.mv[2] = 77;
  FlipMove(plain, gtInternational);
  EXPECT_EQ(plain.mv[0], 40);
  EXPECT_EQ(plain.mv[1], 35);
  EXPECT_EQ(plain.mv[2], 77);
}

TEST(Boards, SameBoardIgnoresCountersAndNewBoardCarriesThem) {
  TBoard a = InitialPosition(gtFrisian), b = a;
  b.nmcount = {3, 1};
  EXPECT_TRUE(SameBoard(a.b, b.b));
  b.b[25] = WhiteKing;
  b.nmpiece = {25, 0};
  TNewBoard na, nb;
  BoardToNewBoard(a, na, gtFrisian);
  BoardToNewBoard(b, nb, gtFrisian);
  EXPECT_FALSE(SameNewBoard(na, nb));
  EXPECT_EQ(nb[NmPieceWhiteCell], SquareToCell(25, gtFrisian));
  EXPECT_EQ(nb[NmPieceBlackCell], 0);
  EXPECT_EQ(nb[NmCountWhiteCell], 3);
  EXPECT_EQ(nb[SquareToCell(25, gtFrisian)], WhiteKing);
  // Counters alone do not make two mailbox positions differ.
  TNewBoard nc = na;
  nc[NmCountWhiteCell] = 9;
  EXPECT_TRUE(SameNewBoard(na, nc));
}

TEST(CurrentType, SetGameTypeNotifiesAndUpdatesSquareCount) {
  SetGameType(gtRussian);
  std::vector<std::pair<int, int>> before, after;
  const int id = AddGameTypeListener([&](int o, int n) { before.push_back({o, n}); },
                                     [&](int o, int n) { after.push_back({o, n}); });
  SetGameType(gtInternational);
  EXPECT_EQ(CurrentGameType, gtInternational);
  EXPECT_EQ(CurrentSquareCount, 50);
  SetGameType(gtInternational);  // same type: board tables stay, the rest reloads
  SetGameType(42);               // refused
  EXPECT_EQ(CurrentGameType, gtInternational);
  RemoveGameTypeListener(id);
  SetGameType(gtRussian);
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0], std::make_pair(int(gtRussian), int(gtInternational)));
  EXPECT_EQ(after.size(), 2u);
  EXPECT_EQ(CurrentSquareCount, 32);
}

}  // namespace
}  // namespace kestrel
