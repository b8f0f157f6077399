// Visiting the positions of a table in index order, each built from the one
// before rather than decoded from its index: the men sets change once per
// block of king placements, and the kings step through their placements in
// rank order.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "engine/endgame/edb_tables.h"

namespace kestrel {

// The next larger set with as many members (ranks of k-sets follow this order).
inline uint64_t NextSameCount(uint64_t c) {
  const uint64_t t = c | (c - 1);
  return (t + 1) | (((~t & (t + 1)) - 1) >> (std::countr_zero(c) + 1));
}

// Walks the indices [first, last) of table `m` in order: `visit(index, pos)`
// gets every position, `none(index, count)` every run of numbers no position
// has (men sets that overlap). The range may start and end inside a men pair,
// so that the threads can share a table of kings alone (a single men pair).
template <class Visit, class None>
void WalkIndices(const TEdbBoard& board, const TEdbMaterial& m, uint64_t first, uint64_t last, Visit visit,
                 None none) {
  const int free = board.Squares() - m.wm - m.bm;
  const uint64_t perBlack = EdbBinomial(free - m.wk, m.bk);
  const uint64_t perPair = EdbBinomial(free, m.wk) * perBlack;
  const uint64_t countB = board.MenCount(m.bm, m.rsb);
  const auto& whiteSets = board.MenSets(m.wm, m.rsw);
  const auto& blackSets = board.MenSets(m.bm, m.rsb);
  const uint64_t all = (uint64_t{1} << board.Squares()) - 1;
  std::array<uint64_t, 64> slotBits{}, restBits{};
  if (perPair == 0 || first >= last) return;
  for (uint64_t pair = first / perPair; pair * perPair < last; ++pair) {
    const uint64_t index0 = pair * perPair;
    const uint64_t lo = std::max(first, index0), hi = std::min(last, index0 + perPair);
    const uint64_t wmen = whiteSets[pair / countB];
    const uint64_t bmen = board.TurnIndexSet(blackSets[pair % countB]);
    if ((wmen & bmen) != 0) {
      none(lo, hi - lo);
      continue;
    }
    int n = 0;
    for (uint64_t s = all & ~(wmen | bmen); s != 0; s &= s - 1)
      slotBits[n++] = board.IndexSetToBits(s & -s);
    TBitBoard64 pos;
    const uint64_t wmenBits = board.IndexSetToBits(wmen), bmenBits = board.IndexSetToBits(bmen);
    uint64_t index = index0;
    const uint64_t endW = m.wk == 0 ? 2 : uint64_t{1} << free;
    for (uint64_t cw = (uint64_t{1} << m.wk) - 1; cw < endW && index < hi;
         cw = m.wk == 0 ? endW : NextSameCount(cw)) {
      // Placements of the white kings whose block lies before the range.
      if (index + perBlack <= lo) {
        index += perBlack;
        continue;
      }
      uint64_t wk = 0;
      for (uint64_t s = cw; s != 0; s &= s - 1) wk |= slotBits[std::countr_zero(s)];
      int r = 0;
      if (m.bk != 0)
        for (int j = 0; j < free; ++j)
          if (!(cw >> j & 1)) restBits[r++] = slotBits[j];
      const uint64_t endB = m.bk == 0 ? 2 : uint64_t{1} << r;
      for (uint64_t cb = (uint64_t{1} << m.bk) - 1; cb < endB && index < hi;
           cb = m.bk == 0 ? endB : NextSameCount(cb), ++index) {
        if (index < lo) continue;
        uint64_t bk = 0;
        for (uint64_t s = cb; s != 0; s &= s - 1) bk |= restBits[std::countr_zero(s)];
        pos.w = wmenBits | wk;
        pos.b = bmenBits | bk;
        pos.k = wk | bk;
        visit(index, pos);
      }
    }
  }
}

// Walks the men pairs [firstPair, lastPair) of table `m`; a men pair is the
// block of MenPairPositions(m) consecutive indices sharing both men sets.
template <class Visit, class None>
void WalkTable(const TEdbBoard& board, const TEdbMaterial& m, uint64_t firstPair, uint64_t lastPair, Visit visit,
               None none) {
  const int free = board.Squares() - m.wm - m.bm;
  const uint64_t perPair = EdbBinomial(free, m.wk) * EdbBinomial(free - m.wk, m.bk);
  WalkIndices(board, m, firstPair * perPair, lastPair * perPair, visit, none);
}

// Positions in one men pair of table `m`.
inline uint64_t MenPairPositions(const TEdbBoard& board, const TEdbMaterial& m) {
  const int free = board.Squares() - m.wm - m.bm;
  return EdbBinomial(free, m.wk) * EdbBinomial(free - m.wk, m.bk);
}

}  // namespace kestrel
