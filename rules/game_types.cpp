#include "rules/game_types.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace kestrel {
namespace {

struct Geometry {
  uint8_t step1, step2, firstCell, lastCell, blackPromoteBelow, whitePromoteAbove, squareCount;
  uint64_t boardMask;
  uint8_t flipShift;
  TBoardShape shape;
};

// Files, ranks, squares per rank, cells per two ranks, offset of an odd rank.
constexpr Geometry Geo8x8{4, 5, 5, 40, 9, 36, 32, 0x79EF3DE7BCFull, 21, {8, 8, 4, 9, 5}};
constexpr Geometry Geo10x8{5, 6, 6, 49, 11, 44, 40, 0xFBFF7FEFFDFull, 20, {10, 8, 5, 11, 6}};
constexpr Geometry Geo10x10{6, 7, 13, 76, 18, 71, 50, 0x7DFFBFF7FEFFDFull, 9, {10, 10, 5, 13, 7}};
constexpr Geometry Geo12x12{6, 7, 7, 84, 13, 78, 72, 0x79EF3DE7BCFull, 28, {12, 12, 6, 13, 7}};

constexpr int CellOf(const Geometry& g, int square) {
  const int r = (square - 1) / g.shape.squaresPerRank;
  const int c = (square - 1) % g.shape.squaresPerRank;
  return g.firstCell + (r / 2) * g.shape.cellsPerTwoRanks + (r % 2) * g.shape.oddRankOffset + c;
}

constexpr TMailboxCells MakeCells(const Geometry& g) {
  TMailboxCells cells{};
  for (int s = 1; s <= g.squareCount; ++s) cells[CellOf(g, s)] = static_cast<uint8_t>(CellOf(g, s));
  return cells;
}

constexpr TMailboxCells Cells8x8 = MakeCells(Geo8x8);
constexpr TMailboxCells Cells10x8 = MakeCells(Geo10x8);
constexpr TMailboxCells Cells10x10 = MakeCells(Geo10x10);
constexpr TMailboxCells Cells12x12 = MakeCells(Geo12x12);

struct Rules {
  uint8_t manCaptureDirs, kingDirs, shortKings, promoteInCapture, majorityCapture, countKings,
      menTakeKings, kingCapturesFirst, immediateRemoval;
};

constexpr TGameTypeRec Make(const Rules& r, const Geometry& g, const TMailboxCells& cells) {
  return TGameTypeRec{r.manCaptureDirs, r.kingDirs, g.step1, g.step2, g.firstCell, g.lastCell,
                      g.blackPromoteBelow, g.whitePromoteAbove, g.squareCount, r.shortKings,
                      r.promoteInCapture, r.majorityCapture, r.countKings, r.menTakeKings,
                      r.kingCapturesFirst, r.immediateRemoval, &cells, g.boardMask, g.flipShift};
}

const Geometry& GeometryOf(int type) {
  switch (GameTypes[type].SquareCount) {
    case 40: return Geo10x8;
    case 50: return Geo10x10;
    case 72: return Geo12x12;
    default: return Geo8x8;
  }
}

TBoard MakeStart(int whiteMen, int blackFrom, int squares) {
  TBoard board;
  for (int s = 1; s <= whiteMen; ++s) board.b[s] = WhiteMan;
  for (int s = blackFrom; s <= squares; ++s) board.b[s] = BlackMan;
  return board;
}

}  // namespace

//                                  men king short inCap major kings menTK kingF immed
const std::array<TGameTypeRec, GameTypeCount + 1> GameTypes = {
    TGameTypeRec{},
    Make({3, 3, 0, 1, 0, 0, 1, 0, 0}, Geo8x8, Cells8x8),        // Russian
    Make({1, 3, 1, 0, 0, 0, 1, 0, 0}, Geo8x8, Cells8x8),        // English
    Make({3, 3, 0, 0, 1, 0, 1, 0, 0}, Geo8x8, Cells8x8),        // Brazilian
    Make({3, 3, 0, 0, 0, 0, 1, 0, 0}, Geo8x8, Cells8x8),        // Pool
    Make({1, 3, 1, 0, 1, 1, 0, 0, 0}, Geo8x8, Cells8x8),        // Italian
    Make({3, 3, 0, 0, 1, 0, 1, 0, 0}, Geo10x10, Cells10x10),    // International
    Make({1, 3, 0, 0, 0, 0, 1, 1, 0}, Geo8x8, Cells8x8),        // Czech
    Make({1, 3, 0, 0, 1, 1, 1, 0, 0}, Geo8x8, Cells8x8),        // Spanish
    Make({7, 7, 0, 0, 1, 1, 1, 0, 0}, Geo10x10, Cells10x10),    // Frisian
    Make({3, 3, 0, 1, 0, 0, 1, 0, 0}, Geo10x8, Cells10x8),      // Spantsiretti
    Make({3, 3, 0, 0, 1, 0, 1, 0, 0}, Geo12x12, Cells12x12),    // Canadian
    Make({1, 3, 0, 0, 0, 0, 1, 0, 1}, Geo8x8, Cells8x8),        // Thai
};

const std::array<std::string_view, GameTypeCount + 1> GameTypeNames = {
    "",        "Russian", "English", "Brazilian", "Pool",         "Italian",  "International",
    "Czech",   "Spanish", "Frisian", "Spantsiretti", "Canadian", "Thai"};

bool IsValidGameType(int type) { return type >= 1 && type <= GameTypeCount; }

std::optional<int> ParseGameType(std::string_view text) {
  int number = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (ec == std::errc() && end == text.data() + text.size()) {
    if (IsValidGameType(number)) return number;
    return std::nullopt;
  }
  for (int t = 1; t <= GameTypeCount; ++t) {
    const auto name = GameTypeNames[t];
    if (name.size() == text.size() &&
        std::equal(name.begin(), name.end(), text.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
      return t;
  }
  return std::nullopt;
}

TBoardShape BoardShape(int type) { return GeometryOf(type).shape; }

int MenPerSide(int type) {
  if (type == gtThai) return 8;
  switch (GameTypes[type].SquareCount) {
    case 40: return 15;
    case 50: return 20;
    case 72: return 30;
    default: return 12;
  }
}

int SquareToCell(int square, int type) { return CellOf(GeometryOf(type), square); }

int IndexToSquare(int cell, int type) {
  const TMailboxCells& cells = *GameTypes[type].MailboxCells;
  int count = 0;
  for (int i = 0; i <= cell && i < MailboxSize; ++i)
    if (cells[i] != 0) ++count;
  return count;
}

bool IsPromotionSquare(int square, TDColor side, int type) {
  const int perRank = GeometryOf(type).shape.squaresPerRank;
  if (side == TDColor::white) return square > GameTypes[type].SquareCount - perRank;
  return square < perRank + 1;
}

const TBoard& InitialPosition(int type) {
  static const TBoard start32 = MakeStart(12, 21, 32);
  static const TBoard startThai = MakeStart(8, 25, 32);
  static const TBoard start40 = MakeStart(15, 26, 40);
  static const TBoard start50 = MakeStart(20, 31, 50);
  static const TBoard start72 = MakeStart(30, 43, 72);
  if (type == gtThai) return startThai;
  switch (GameTypes[type].SquareCount) {
    case 40: return start40;
    case 50: return start50;
    case 72: return start72;
    default: return start32;
  }
}

void FlipBoard(TBrd& brd, int type) {
  const int n = GameTypes[type].SquareCount;
  for (int i = 1; i <= n / 2; ++i) {
    const int8_t a = brd[i];
    brd[i] = static_cast<int8_t>(-brd[n + 1 - i]);
    brd[n + 1 - i] = static_cast<int8_t>(-a);
  }
}

void BoardToNewBoard(const TBoard& board, TNewBoard& newboard, int type) {
  const TGameTypeRec& gt = GameTypes[type];
  newboard.fill(0);
  std::fill(newboard.begin(), newboard.begin() + MailboxSize, OffBoard);
  for (int s = 1; s <= gt.SquareCount; ++s) newboard[SquareToCell(s, type)] = board.b[s];
  for (int side = 0; side < 2; ++side) {
    const int sq = board.nmpiece[side];
    newboard[NmPieceWhiteCell + side] =
        (sq >= 1 && sq <= gt.SquareCount) ? static_cast<int8_t>(SquareToCell(sq, type)) : 0;
    newboard[NmCountWhiteCell + side] = static_cast<int8_t>(board.nmcount[side]);
  }
}

bool SameBoard(const TBrd& a, const TBrd& b) { return a.cells == b.cells; }

bool SameNewBoard(const TNewBoard& a, const TNewBoard& b) {
  return std::equal(a.begin(), a.begin() + MailboxSize, b.begin());
}

}  // namespace kestrel
