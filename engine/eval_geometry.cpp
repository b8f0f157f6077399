#include "engine/eval_geometry.h"

#include "engine/bitboard.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

constexpr TBitCoords MakeCoords(int squares) {
  TBitCoords c{};
  for (int b = 0; b < 64; ++b) c.file[b] = c.rank[b] = -1;
  const int perRank = squares == 32 ? 4 : 5;
  for (int i = 0; i < squares; ++i) {
    const int rank = i / perRank;
    const int bit = SquareToBit(i, squares);
    c.rank[bit] = static_cast<int8_t>(rank);
    c.file[bit] = static_cast<int8_t>(2 * (i % perRank) + rank % 2);
  }
  return c;
}

constexpr TBitCoords Coords32 = MakeCoords(32);
constexpr TBitCoords Coords40 = MakeCoords(40);
constexpr TBitCoords Coords50 = MakeCoords(50);

template <class Pred>
constexpr uint64_t Squares(const TBitCoords& c, Pred pred) {
  uint64_t set = 0;
  for (int b = 0; b < 64; ++b)
    if (c.file[b] >= 0 && pred(c.file[b], c.rank[b])) set |= uint64_t{1} << b;
  return set;
}

constexpr TEvalGeometry Make(int squares, bool flyingKings, bool wide) {
  const TBitCoords& c = squares == 32 ? Coords32 : squares == 40 ? Coords40 : Coords50;
  const int files = squares == 32 ? 8 : 10;
  const int ranks = squares == 40 ? 8 : files;
  TEvalGeometry g;
  g.mask = Squares(c, [](int, int) { return true; });
  g.left = Squares(c, [files](int f, int) { return f < files / 2; });
  g.right = g.mask & ~g.left;
  g.wideBalance = wide;
  if (wide) {
    g.wideLeft = Squares(c, [](int f, int) { return f <= 5; });
    g.wideRight = Squares(c, [](int f, int) { return f >= 4; });
  }
  // Roads exist only on square boards; their last diagonal index is n - 2.
  g.roads = flyingKings && files == ranks;
  if (g.roads) {
    const int n = files;
    g.mainRoad = Squares(c, [](int f, int r) { return f == r; });
    g.doubleRoads = {Squares(c, [n](int f, int r) { return f + r == n - 2; }),
                     Squares(c, [n](int f, int r) { return f + r == n; })};
    g.tripleRoads = {Squares(c, [](int f, int r) { return r - f == 2; }),
                     Squares(c, [](int f, int r) { return f - r == 2; })};
  }
  return g;
}

constexpr TEvalGeometry None{};

}  // namespace

const TBitCoords& BitCoords(int squareCount) {
  return squareCount == 40 ? Coords40 : squareCount == 50 ? Coords50 : Coords32;
}

const TEvalGeometry& EvalGeometry(int gametype) {
  static const auto table = [] {
    std::array<TEvalGeometry, GameTypeCount + 1> t{};
    for (int type = 1; type <= GameTypeCount; ++type) {
      if (!HasBitBoardForm(type)) continue;
      t[type] = Make(GameTypes[type].SquareCount, GameTypes[type].ShortKings == 0, type == gtInternational);
    }
    return t;
  }();
  return IsValidGameType(gametype) ? table[gametype] : None;
}

}  // namespace kestrel
