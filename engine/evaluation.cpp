#include "engine/evaluation.h"

#include <algorithm>
#include <bit>

#include "engine/eval_geometry.h"

namespace kestrel {
namespace {

// Material of a side's kings with the bonus for the roads they hold.
int64_t KingTerm(uint64_t kings, const TEvalGeometry& g, int64_t man, int64_t king, int64_t mainRoad,
                 int64_t doubleRoad, int64_t tripleRoad) {
  if (kings == 0) return 0;
  // The king value is in hundredths of a man: multiply before dividing so
  // that a value like 150 is not cut down to one man.
  int64_t d = std::popcount(kings) * king * man / 100;
  if (g.roads) {
    if (kings & g.mainRoad) d += mainRoad;
    for (uint64_t road : g.doubleRoads)
      if (kings & road) d += doubleRoad;
    for (uint64_t road : g.tripleRoads)
      if (kings & road) d += tripleRoad;
  }
  return d;
}

}  // namespace

int16_t Evaluate(const TBitBoard64& pos, int ply, int stage, const TEvalFuncNew& func, int gametype) {
  if (pos.w == 0) return static_cast<int16_t>(ply + NoPiecesScore);
  const int s = std::clamp(stage, 0, EvalStages - 1);
  const TEvalGeometry& g = EvalGeometry(gametype);
  const uint64_t mw = pos.w & ~pos.k, mb = pos.b & ~pos.k;
  const uint64_t kw = pos.w & pos.k, kb = pos.b & pos.k;
  const uint64_t empty = g.mask & ~(pos.w | pos.b);
  const auto P = [&](int i) -> int64_t { return func.P(s, i); };

  const int64_t dw = KingTerm(kw, g, P(prManValue), P(prKingValue), P(prKingMainRoad), P(prKingDoubleRoad),
                              P(prKingTripleRoad));
  const int64_t db = KingTerm(kb, g, P(prManValue), P(prKingValue), P(prKingMainRoad), P(prKingDoubleRoad),
                              P(prKingTripleRoad));
  int64_t hw = ByteTableSum(func.w[s], mw);
  int64_t hb = ByteTableSum(func.b[s], mb);
  const int64_t c = ByteTableSum(func.c[s], empty);

  // The other side sees the board turned round: its left flank is our right.
  // Its balance is a value for it, so it counts against the side to move.
  if (P(prSideBalance) != 0) {
    hw += FlankBalance(pos.w, g.left, g.right) * P(prSideBalance);
    hb -= FlankBalance(pos.b, g.right, g.left) * P(prSideBalance);
  }
  if (g.wideBalance && P(prSideBalanceWide) != 0) {
    hw += FlankBalance(pos.w, g.wideLeft, g.wideRight) * P(prSideBalanceWide);
    hb -= FlankBalance(pos.b, g.wideRight, g.wideLeft) * P(prSideBalanceWide);
  }

  int64_t t = 0;
  for (const TPattern& pat : func.RealPatt) {
    const int32_t v = pat.value[s];
    if (v == 0) continue;
    if (pat.Applies(mw, mb, empty)) t += v;
  }

  int64_t f = t + hb + hw + dw + c - db;
  if (P(prSqueeze) != 0) {
    const int64_t n = std::popcount(pos.w | pos.b);
    const int64_t avg = (std::popcount(mw) * P(prManValue) + std::popcount(mb) * P(prManValue) + dw + db) / n;
    f = avg != 0 ? f * P(prManValue) / avg : 0;
  }
  if (P(prCompress) != 0) f -= f % P(prCompress);
  return static_cast<int16_t>(std::clamp<int64_t>(f, -EvalMaxScore, EvalMaxScore));
}

}  // namespace kestrel
