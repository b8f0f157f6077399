#include "database/search/position_matcher.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "engine/bitboard.h"
#include "rules/game_types.h"
#include "rules/move.h"

namespace kestrel {
namespace {

// The 12 by 12 board has no engine bitboard; its 72 squares take bits 0..71
// of a wider word. The other boards replay on the engine's own layout.
using TWide = unsigned __int128;
struct TWideBoard {
  TWide w, b, k;
};

int Count(uint64_t x) { return std::popcount(x); }
int Count(TWide x) { return std::popcount(static_cast<uint64_t>(x)) + std::popcount(static_cast<uint64_t>(x >> 64)); }

// Square masks and promotion rows of a board size.
template <class Word>
struct TGeometry {
  int squares = 0;
  std::array<Word, MaxSquares + 1> mask{};  // by square number; entry 0 unused
  Word whitePromo = 0, blackPromo = 0;
};

int TypeWithSquares(int squares) {
  for (int t = 1; t <= GameTypeCount; ++t)
    if (GameTypes[t].SquareCount == squares) return t;
  return 0;
}

template <class Word>
TGeometry<Word> MakeGeometry(int squares) {
  TGeometry<Word> g;
  g.squares = squares;
  const int type = TypeWithSquares(squares);
  for (int s = 1; s <= squares; ++s) {
    const int bit = squares == 72 ? s - 1 : SquareToBit(s - 1, squares);
    g.mask[s] = Word{1} << bit;
    if (IsPromotionSquare(s, TDColor::white, type)) g.whitePromo |= g.mask[s];
    if (IsPromotionSquare(s, TDColor::black, type)) g.blackPromo |= g.mask[s];
  }
  return g;
}

const TGeometry<uint64_t>& Geometry64(int squares) {
  static const std::array<TGeometry<uint64_t>, 3> g{MakeGeometry<uint64_t>(32), MakeGeometry<uint64_t>(40),
                                                     MakeGeometry<uint64_t>(50)};
  return squares == 32 ? g[0] : squares == 40 ? g[1] : g[2];
}

const TGeometry<TWide>& Geometry72() {
  static const TGeometry<TWide> g = MakeGeometry<TWide>(72);
  return g;
}

// A compiled pattern: on the `care` squares, the white, black and king bits
// must equal `w`, `b` and `k`.
template <class Word>
struct TPatternBits {
  Word care = 0, w = 0, b = 0, k = 0;
};

template <class Word>
TPatternBits<Word> CompilePattern(const TBrd& pattern, const TGeometry<Word>& g) {
  TPatternBits<Word> p;
  for (int s = 1; s <= g.squares; ++s) {
    const int8_t v = pattern[s];
    if (v == AnySquare) continue;
    p.care |= g.mask[s];
    if (v > 0) p.w |= g.mask[s];
    if (v < 0) p.b |= g.mask[s];
    if (v == WhiteKing || v == BlackKing) p.k |= g.mask[s];
  }
  return p;
}

struct TCounts {
  int wm, wk, bm, bk;
  int total() const { return wm + wk + bm + bk; }
};

template <class Board>
TCounts CountPieces(const Board& p) {
  return {Count(p.w & ~p.k), Count(p.w & p.k), Count(p.b & ~p.k), Count(p.b & p.k)};
}

// One of the two tests: made directly, or on the colour-reversed position
// (the material ranges with the colours swapped and the mirrored pattern).
struct TOrientation {
  bool enabled = false;
  bool reversed = false;
  bool possible = true;  // false for a pattern holding a cell no position has
  std::array<bool, 5> on{};  // total, white men, black men, white kings, black kings
  bool anyRange = false;
  std::array<int, 5> min{}, max{};
  TPieceNeeds needs;

  bool InRanges(const TCounts& c) const {
    const std::array<int, 5> v{c.total(), c.wm, c.bm, c.wk, c.bk};
    for (int i = 0; i < 5; ++i)
      if (on[i] && (v[i] < min[i] || v[i] > max[i])) return false;
    return true;
  }
  bool MayPassLater(const TCounts& c) const {
    return enabled && possible && c.wm >= needs.whiteMen && c.wm + c.wk >= needs.whitePieces &&
           c.bm >= needs.blackMen && c.bm + c.bk >= needs.blackPieces && c.total() >= needs.total;
  }
};

template <class Board>
struct TStackEntry {
  Board pos;
  int32_t slot;
  TDColor side;
};

}  // namespace

struct TPositionMatcher::TImpl {
  int patternSquares = 0;
  bool patternCompared = false;  // the pattern holds a square that is not "any"
  bool onlyInitial = false;
  bool whiteToMove = false, blackToMove = false;
  bool comb = false;
  int combFr = -1, combTo = -1, combCnt = 1;
  std::array<TOrientation, 2> orient;
  std::array<TPatternBits<uint64_t>, 2> pattern64{};
  std::array<TPatternBits<TWide>, 2> pattern72{};
  std::vector<TStackEntry<TBitBoard64>> stack64;
  std::vector<TStackEntry<TWideBoard>> stack72;

  template <class Board, class Word>
  int32_t Run(const TBlobTree& tree, const TGeometry<Word>& g, const std::array<TPatternBits<Word>, 2>& patterns,
              bool promoteInCapture, TDColor firstMover, std::vector<TStackEntry<Board>>& stack) const;
};

namespace {

void SetOrientation(TOrientation& o, const TSearchInfo& info, const TBrd& pattern, int squares, bool compared,
                    bool reversed, bool enabled) {
  o.enabled = enabled;
  o.reversed = reversed;
  // Reversed, the white ranges apply to black and the black ones to white.
  const bool wmOn = reversed ? info.bm : info.wm, bmOn = reversed ? info.wm : info.bm;
  const bool wkOn = reversed ? info.bk : info.wk, bkOn = reversed ? info.wk : info.bk;
  const int wmMin = reversed ? info.bmmin : info.wmmin, bmMin = reversed ? info.wmmin : info.bmmin;
  const int wkMin = reversed ? info.bkmin : info.wkmin, bkMin = reversed ? info.wkmin : info.bkmin;
  const int wmMax = reversed ? info.bmmax : info.wmmax, bmMax = reversed ? info.wmmax : info.bmmax;
  const int wkMax = reversed ? info.bkmax : info.wkmax, bkMax = reversed ? info.wkmax : info.bkmax;
  o.on = {info.tot, wmOn, bmOn, wkOn, bkOn};
  o.anyRange = info.tot || wmOn || bmOn || wkOn || bkOn;
  o.min = {info.totmin, wmMin, bmMin, wkMin, bkMin};
  o.max = {info.totmax, wmMax, bmMax, wkMax, bkMax};

  int patWM = 0, patWK = 0, patBM = 0, patBK = 0;
  if (compared)
    for (int s = 1; s <= squares; ++s) switch (pattern[s]) {
        case WhiteMan: ++patWM; break;
        case WhiteKing: ++patWK; break;
        case BlackMan: ++patBM; break;
        case BlackKing: ++patBK; break;
        case Empty: case AnySquare: break;
        default: o.possible = false;
      }
  const int wm = std::max(patWM, wmOn ? wmMin : 0), wk = std::max(patWK, wkOn ? wkMin : 0);
  const int bm = std::max(patBM, bmOn ? bmMin : 0), bk = std::max(patBK, bkOn ? bkMin : 0);
  o.needs = {wm, wm + wk, bm, bm + bk, std::max(info.tot ? int{info.totmin} : 0, wm + wk + bm + bk)};
}

// Plays a stored move the way the rules core does: each step lifts the piece,
// empties the start, the taken square and the landing square, and puts the
// piece on the landing square; men are crowned on their promotion row. A
// move with a square off the board changes nothing.
template <class Board, class Word>
void PlayStored(Board& p, const TBlobNode& m, const TGeometry<Word>& g, bool promoteInCapture) {
  const int used = m.lt == 0 ? 2 : 2 * m.lt + 1;
  for (int i = 0; i < used; ++i)
    if (m.mv[i] < 1 || m.mv[i] > g.squares) return;
  auto step = [&](Word from, Word taken, Word to, bool crown) {
    const Word w = (p.w & from) ? to : Word{0};
    const Word b = (p.b & from) ? to : Word{0};
    const Word k = (p.k & from) ? to : Word{0};
    const Word clear = ~(from | taken | to);
    p.w = (p.w & clear) | w;
    p.b = (p.b & clear) | b;
    p.k = (p.k & clear) | k;
    if (crown) p.k |= (w & g.whitePromo) | (b & g.blackPromo);
  };
  if (m.lt == 0) {
    step(g.mask[m.mv[0]], Word{0}, g.mask[m.mv[1]], true);
    return;
  }
  int at = m.mv[0];
  for (int k = 1; k <= m.lt; ++k) {
    const int landing = m.mv[2 * k];
    step(g.mask[at], g.mask[m.mv[2 * k - 1]], g.mask[landing], k == m.lt || promoteInCapture);
    at = landing;
  }
}

}  // namespace

template <class Board, class Word>
int32_t TPositionMatcher::TImpl::Run(const TBlobTree& tree, const TGeometry<Word>& g,
                                     const std::array<TPatternBits<Word>, 2>& patterns, bool promoteInCapture,
                                     TDColor firstMover, std::vector<TStackEntry<Board>>& stack) const {
  const int n = g.squares;
  // The combination squares of the reversed test, mirrored on this board; a
  // square off the board stays one that no move has.
  auto mirror = [n](int square) { return square == -1 ? -1 : square >= 1 && square <= n ? n + 1 - square : 1000; };
  const std::array<int, 2> fr{combFr, mirror(combFr)}, to{combTo, mirror(combTo)};

  auto mayPass = [&](const Board& p) {
    const TCounts c = CountPieces(p);
    return orient[0].MayPassLater(c) || orient[1].MayPassLater(c);
  };
  // The cheap comparison first; the counts only when a range is on.
  auto passes = [&](int o, const Board& p, int32_t slot) {
    if (comb) {
      const TBlobNode& m = tree.Node(tree.Node(slot).parent);
      if (m.lt < combCnt || (fr[o] != -1 && m.mv[0] != fr[o]) || (to[o] != -1 && m.mv[2 * m.lt] != to[o]))
        return false;
    } else {
      const TPatternBits<Word>& pat = patterns[o];
      if ((((p.w ^ pat.w) | (p.b ^ pat.b) | (p.k ^ pat.k)) & pat.care) != 0) return false;
    }
    return !orient[o].anyRange || orient[o].InRanges(CountPieces(p));
  };

  Board start{};
  const TBrd& brd = tree.Start();
  for (int s = 1; s <= n; ++s) {
    if (brd[s] > 0) start.w |= g.mask[s];
    if (brd[s] < 0) start.b |= g.mask[s];
    if (brd[s] == WhiteKing || brd[s] == BlackKing) start.k |= g.mask[s];
  }
  if (!mayPass(start)) return -1;

  int32_t found = -1;
  stack.clear();
  stack.push_back({start, 0, firstMover});
  while (!stack.empty()) {
    const TStackEntry<Board> e = stack.back();
    stack.pop_back();
    const bool white = e.side == TDColor::white;
    const bool direct = white ? whiteToMove : blackToMove;
    const bool reversed = white ? blackToMove : whiteToMove;
    if ((direct && orient[0].enabled && passes(0, e.pos, e.slot)) ||
        (reversed && orient[1].enabled && passes(1, e.pos, e.slot))) {
      found = comb ? tree.Node(tree.Node(e.slot).parent).parent : e.slot;
      continue;
    }
    if (onlyInitial) break;
    const auto children = tree.Children(e.slot);
    for (auto c = children.rbegin(); c != children.rend(); ++c) {
      Board next = e.pos;
      PlayStored(next, tree.Node(*c), g, promoteInCapture);
      if (mayPass(next)) stack.push_back({next, *c, Opponent(e.side)});
    }
  }
  return found;
}

TPositionMatcher::TPositionMatcher(const TSearchInfo& info, int squareCount) : impl_(std::make_unique<TImpl>()) {
  TImpl& m = *impl_;
  m.patternSquares = squareCount;
  m.onlyInitial = info.onlyinitial;
  m.whiteToMove = info.whitemovechecked;
  m.blackToMove = info.blackmovechecked;
  m.comb = info.Comb;
  m.combFr = info.CombFr;
  m.combTo = info.CombTo;
  m.combCnt = info.CombCnt;
  const bool validSize = squareCount == 32 || squareCount == 40 || squareCount == 50 || squareCount == 72;
  if (!m.comb && validSize)
    for (int s = 1; s <= squareCount; ++s) m.patternCompared = m.patternCompared || info.brdsearch[s] != AnySquare;
  const bool anySide = info.whitemovechecked || info.blackmovechecked;
  SetOrientation(m.orient[0], info, info.brdsearch, squareCount, m.patternCompared, false, anySide);
  SetOrientation(m.orient[1], info, info.brdsearchrev, squareCount, m.patternCompared, true,
                 anySide && info.ignorecolboard);
  if (!m.patternCompared) return;
  for (int o = 0; o < 2; ++o) {
    const TBrd& pattern = o == 0 ? info.brdsearch : info.brdsearchrev;
    if (squareCount == 72)
      m.pattern72[o] = CompilePattern(pattern, Geometry72());
    else
      m.pattern64[o] = CompilePattern(pattern, Geometry64(squareCount));
  }
}

TPositionMatcher::~TPositionMatcher() = default;

bool TPositionMatcher::CanMatchType(int type) const {
  if (!IsValidGameType(type)) return false;
  if (!impl_->orient[0].enabled) return false;
  return !impl_->patternCompared || GameTypes[type].SquareCount == impl_->patternSquares;
}

int32_t TPositionMatcher::Match(const TBlobTree& tree, int type, TDColor firstMover) {
  if (!CanMatchType(type)) return -1;
  TImpl& m = *impl_;
  const bool promoteInCapture = GameTypes[type].PromoteInCapture != 0;
  const int squares = GameTypes[type].SquareCount;
  if (squares == 72) return m.Run(tree, Geometry72(), m.pattern72, promoteInCapture, firstMover, m.stack72);
  return m.Run(tree, Geometry64(squares), m.pattern64, promoteInCapture, firstMover, m.stack64);
}

}  // namespace kestrel
