#include "engine/default_eval.h"

#include <algorithm>
#include <cmath>

#include "engine/bitboard.h"
#include "engine/eval_geometry.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

using Stages = std::array<int, EvalStages>;

// What sets the variants apart for a first, hand-written evaluation.
struct TProfile {
  int king;           // king value in hundredths of a man
  Stages bounds;      // lowest piece count of each stage
  Stages advance;     // per rank, for a man
  Stages centre;      // per step towards the middle files
  Stages balance;     // flank balance (negative: imbalance is a weakness)
  Stages roads;       // main road, for flying kings; double and triple roads get less
  bool backward;      // men capture backwards too: guards in front matter more
};

// Bits of the board as (file, rank) seen from the side to move.
class Board {
 public:
  explicit Board(int squares)
      : squares_(squares), coords_(BitCoords(squares)), files_(squares == 32 ? 8 : 10),
        ranks_(squares == 40 ? 8 : files_) {
    if (squares_ != 32 && squares_ != 40 && squares_ != 50) squares_ = 0;
  }
  bool Valid() const { return squares_ != 0; }
  int Files() const { return files_; }
  int Ranks() const { return ranks_; }
  int File(int bit) const { return coords_.file[bit]; }
  int Rank(int bit) const { return coords_.rank[bit]; }
  bool IsSquare(int bit) const { return Valid() && coords_.file[bit] >= 0; }
  // The bit of (file, rank), or -1 off the board or on a light square.
  int BitAt(int file, int rank) const {
    if (file < 0 || rank < 0 || file >= files_ || rank >= ranks_ || (file + rank) % 2 != 0) return -1;
    const int perRank = files_ / 2;
    return SquareToBit(rank * perRank + file / 2, squares_);
  }

 private:
  int squares_;
  const TBitCoords& coords_;
  int files_, ranks_;
};

// Builds a function whose patterns come in pairs: every pattern of the side
// to move has a twin for the other side, turned round, with the opposite
// value. A position and the same position with the other side to move then
// evaluate to opposite scores.
class Builder {
 public:
  Builder(TEvalFuncNew& func, int gametype) : func_(func), gametype_(gametype) {}

  void Pair(uint64_t own, uint64_t opp, uint64_t empty, const Stages& v) {
    if (std::all_of(v.begin(), v.end(), [](int x) { return x == 0; }) && PopCount64(own | opp | empty) > 1) return;
    TPattern mine;
    mine.B = {own, opp, empty};
    for (int s = 0; s < EvalStages; ++s) mine.value[s] = v[s];
    TPattern theirs;
    theirs.B = mine.B;
    FlipBitBoard(theirs.B, gametype_);
    for (int s = 0; s < EvalStages; ++s) theirs.value[s] = -v[s];
    own_.push_back(mine);
    their_.push_back(theirs);
  }
  // Single squares first (all men of the side to move, then the other
  // side's), then the larger patterns in pairs.
  void Finish(size_t singles) {
    for (size_t i = 0; i < singles; ++i) func_.Patt.push_back(own_[i]);
    for (size_t i = 0; i < singles; ++i) func_.Patt.push_back(their_[i]);
    for (size_t i = singles; i < own_.size(); ++i) {
      func_.Patt.push_back(own_[i]);
      func_.Patt.push_back(their_[i]);
    }
  }
  size_t Count() const { return own_.size(); }

 private:
  TEvalFuncNew& func_;
  int gametype_;
  std::vector<TPattern> own_, their_;
};

uint64_t BitSet(int bit) { return bit < 0 ? 0 : uint64_t{1} << bit; }

Stages Scale(const Stages& v, double f) {
  Stages out;
  for (int s = 0; s < EvalStages; ++s) out[s] = static_cast<int>(std::lround(v[s] * f));
  return out;
}

// Value of a man of the side to move on `bit`.
Stages ManSquare(const Board& bd, const TProfile& pr, int bit) {
  const int f = bd.File(bit), r = bd.Rank(bit);
  const int files = bd.Files(), ranks = bd.Ranks();
  // Steps from the edge towards the two middle files: 0 on the edge.
  const int centreSteps = (files - 1 - std::abs(2 * f - (files - 1))) / 2;
  const bool middleRanks = r >= 2 && r <= ranks - 3;
  Stages v{};
  for (int s = 0; s < EvalStages; ++s) {
    int x = pr.advance[s] * r;
    x += pr.centre[s] * centreSteps * (middleRanks ? 2 : 1) / 2;
    v[s] = x;
  }
  // The back rank keeps the opponent's men from crowning; its middle
  // squares cover two crowning squares each. The guard is worth most in the
  // middlegame and is given up in the endgame, when men must run.
  if (r == 0) {
    const bool inner = f > 0 && f < files - 2;
    const Stages guard = inner ? Stages{5, 9, 6, -2} : Stages{2, 4, 2, -2};
    for (int s = 0; s < EvalStages; ++s) v[s] += guard[s];
  }
  // An edge man has one forward square and is easily held.
  if (f == 0 || f == files - 1) {
    const Stages edge{-3, -3, -2, 0};
    for (int s = 0; s < EvalStages; ++s) v[s] += edge[s];
  }
  return v;
}

void AddSquares(Builder& out, const Board& bd, const TProfile& pr) {
  for (int bit = 0; bit < 64; ++bit)
    if (bd.IsSquare(bit)) out.Pair(BitSet(bit), 0, 0, ManSquare(bd, pr, bit));
}

// A man one step from the crowning rank with an open crowning square in
// front of it: it crowns next move unless a capture comes first.
void AddRunaways(Builder& out, const Board& bd, const TProfile& pr) {
  const int r = bd.Ranks() - 2;
  const Stages v = Scale({10, 14, 20, 26}, (pr.king - 100) / 100.0);
  for (int f = 0; f < bd.Files(); ++f) {
    const int man = bd.BitAt(f, r);
    if (man < 0) continue;
    for (int df : {-1, 1}) {
      const int crown = bd.BitAt(f + df, r + 1);
      if (crown >= 0) out.Pair(BitSet(man), 0, BitSet(crown), v);
    }
  }
}

// Two or three men on the middle of the back rank together close it better
// than each alone.
void AddBackRankGuard(Builder& out, const Board& bd) {
  if (bd.Files() == 8) {
    out.Pair(BitSet(bd.BitAt(2, 0)) | BitSet(bd.BitAt(4, 0)), 0, 0, {3, 6, 4, 0});
  } else {
    out.Pair(BitSet(bd.BitAt(2, 0)) | BitSet(bd.BitAt(4, 0)) | BitSet(bd.BitAt(6, 0)), 0, 0, {4, 7, 4, 0});
  }
}

// A man in the middle of the board with men of its own side on both squares
// behind it cannot be jumped from the front.
void AddSupportedCentre(Builder& out, const Board& bd) {
  const int files = bd.Files();
  for (int r = 2; r <= bd.Ranks() / 2; ++r) {
    for (int f = files / 2 - 2; f <= files / 2 + 1; ++f) {
      const int man = bd.BitAt(f, r);
      const int left = bd.BitAt(f - 1, r - 1), right = bd.BitAt(f + 1, r - 1);
      if (man < 0 || left < 0 || right < 0) continue;
      out.Pair(BitSet(man) | BitSet(left) | BitSet(right), 0, 0, {3, 3, 1, 0});
    }
  }
}

// An edge man whose only forward square holds an opponent man that is
// itself backed: it can neither move nor capture.
void AddHeldEdgeMen(Builder& out, const Board& bd, const TProfile& pr) {
  const Stages v = pr.backward ? Stages{-4, -5, -6, -4} : Stages{-3, -4, -5, -4};
  for (int f : {0, bd.Files() - 1}) {
    const int in = f == 0 ? 1 : -1;
    for (int r = 1; r <= bd.Ranks() - 3; ++r) {
      const int man = bd.BitAt(f, r);
      const int front = bd.BitAt(f + in, r + 1), back = bd.BitAt(f + 2 * in, r + 2);
      if (man < 0 || front < 0 || back < 0) continue;
      out.Pair(BitSet(man), BitSet(front) | BitSet(back), 0, v);
    }
  }
}

void SetStages(TEvalFuncNew& func, int index, const Stages& v) {
  for (int s = 0; s < EvalStages; ++s) func.P(s, index) = static_cast<int16_t>(v[s]);
}

// Single-move extensions everywhere; reduced searches with a margin of about
// a man while many pieces are on the board and several plies remain, none
// in the endgame, where a shallow search misjudges races and opposition.
void SetSearchParams(TEvalFuncNew& func) {
  SetStages(func, prExtensionSelf, {1, 1, 1, 1});
  SetStages(func, prExtensionOpponent, {1, 1, 1, 1});
  SetStages(func, prReductionAlpha, {18, 18, 19, 0});
  SetStages(func, prReductionBeta, {18, 18, 19, 0});
  SetStages(func, prRangeAlphaSelf, {80, 90, 110, 150});
  SetStages(func, prRangeAlphaOpponent, {80, 90, 110, 150});
  SetStages(func, prRangeBetaSelf, {80, 90, 110, 150});
  SetStages(func, prRangeBetaOpponent, {80, 90, 110, 150});
}

TProfile ProfileOf(int gametype) {
  //            king  bounds             advance        centre        balance          roads       backward
  switch (gametype) {
    case gtEnglish: return {150, {20, 13, 7, 0}, {0, 1, 2, 3}, {3, 2, 1, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, false};
    case gtItalian: return {165, {20, 13, 7, 0}, {0, 1, 2, 3}, {3, 2, 1, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, false};
    case gtRussian: return {300, {20, 13, 7, 0}, {1, 2, 4, 6}, {3, 3, 2, 0}, {-2, -2, -1, 0}, {10, 14, 18, 18}, true};
    case gtBrazilian: return {300, {20, 13, 7, 0}, {1, 2, 4, 6}, {3, 3, 2, 0}, {-2, -2, -1, 0}, {10, 14, 18, 18}, true};
    case gtPool: return {300, {20, 13, 7, 0}, {1, 2, 4, 6}, {3, 3, 2, 0}, {-2, -2, -1, 0}, {10, 14, 18, 18}, true};
    case gtCzech: return {300, {20, 13, 7, 0}, {1, 2, 4, 6}, {3, 3, 2, 0}, {-1, -1, 0, 0}, {10, 14, 18, 18}, false};
    case gtSpanish: return {300, {20, 13, 7, 0}, {1, 2, 4, 6}, {3, 3, 2, 0}, {-1, -1, 0, 0}, {10, 14, 18, 18}, false};
    case gtThai: return {250, {14, 10, 6, 0}, {1, 2, 4, 6}, {3, 3, 2, 0}, {-1, -1, 0, 0}, {8, 12, 15, 15}, false};
    case gtInternational: return {330, {32, 20, 10, 0}, {1, 2, 3, 5}, {2, 2, 1, 0}, {-3, -3, -2, 0}, {6, 10, 14, 14}, true};
    case gtFrisian: return {300, {32, 20, 10, 0}, {1, 2, 3, 5}, {2, 2, 1, 0}, {-2, -2, -1, 0}, {6, 10, 14, 14}, true};
    case gtSpantsiretti: return {320, {24, 16, 8, 0}, {1, 2, 4, 6}, {2, 2, 1, 0}, {-2, -2, -1, 0}, {0, 0, 0, 0}, true};
    case gtCanadian: return {350, {48, 30, 14, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, true};
    default: return {};
  }
}

}  // namespace

TEvalFuncNew DefaultEvalFunc(int gametype) {
  TEvalFuncNew func;
  if (!IsValidGameType(gametype)) return func;
  const TProfile pr = ProfileOf(gametype);
  func.Name = std::string(GameTypeNames[gametype]) + " default";
  func.SetParam(prManValue, 100);
  func.SetParam(prKingValue, static_cast<int16_t>(pr.king));
  SetStages(func, prStageMinCount, pr.bounds);
  SetStages(func, prSideBalance, pr.balance);
  if (gametype == gtInternational) SetStages(func, prSideBalanceWide, Scale(pr.balance, 0.5));
  SetStages(func, prKingMainRoad, pr.roads);
  SetStages(func, prKingDoubleRoad, Scale(pr.roads, 0.5));
  SetStages(func, prKingTripleRoad, Scale(pr.roads, 0.3));
  SetSearchParams(func);

  // The 12 by 12 board has no bitboard form: material and search only.
  const Board bd(GameTypes[gametype].SquareCount);
  if (bd.Valid()) {
    Builder out(func, gametype);
    AddSquares(out, bd, pr);
    const size_t singles = out.Count();
    AddRunaways(out, bd, pr);
    AddBackRankGuard(out, bd);
    AddSupportedCentre(out, bd);
    AddHeldEdgeMen(out, bd, pr);
    out.Finish(singles);
  }
  CompileEvalFunc(func);
  return func;
}

}  // namespace kestrel
