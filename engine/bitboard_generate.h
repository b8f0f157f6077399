// The whole generator for one set of rules. Internal to the generator;
// instantiated once per game type (and by tests with other rule sets).
#pragma once

#include "engine/bitboard_captures.h"
#include "engine/bitboard_variants.h"

namespace kestrel::bitgen {

inline uint64_t LowestBit(uint64_t x) { return x & (~x + 1); }

template <TBitVariant V>
void Generate(const TBitBoard64& pos, TBitMoveList& list, uint8_t& count) {
  TResultList out{list, count};
  const uint64_t kings = pos.w & pos.k;
  const uint64_t men = pos.w & ~pos.k;

  if (kings) {
    TCaptureSearch<V> search(pos, out);
    for (uint64_t movers = KingCaptures<V>(pos); movers; movers &= movers - 1) search.FromKing(LowestBit(movers));
    if (V.kingCapturesFirst && count) return;
  }
  out.menPhase = true;
  out.kingBest = out.bestLen;
  if (const uint64_t capturing = MenCaptures<V>(pos)) {
    TCaptureSearch<V> search(pos, out);
    for (uint64_t movers = capturing; movers; movers &= movers - 1) search.FromMan(LowestBit(movers));
  }
  if (count) return;

  const uint64_t empty = V.mask & ~(pos.w | pos.b);
  auto add = [&](uint64_t from, uint64_t to, bool king) {
    if (count == list.size()) return;
    TBitBoard64& r = list[count++];
    r.w = pos.w ^ from ^ to;
    r.b = pos.b;
    r.k = king ? (pos.k & ~from) | to : pos.k;
  };
  for (int d : {6, 5})
    for (uint64_t movers = men & Shift(empty, -d); movers; movers &= movers - 1) {
      const uint64_t from = LowestBit(movers);
      add(from, Shift(from, d), from > V.quietCrownFrom);
    }

  if (!kings) return;
  if constexpr (V.shortKings) {
    for (int d : {5, 6, -5, -6})
      for (uint64_t movers = kings & Shift(empty, -d); movers; movers &= movers - 1) {
        const uint64_t from = LowestBit(movers);
        add(from, Shift(from, d), true);
      }
  } else {
    for (uint64_t movers = kings; movers; movers &= movers - 1) {
      const uint64_t from = LowestBit(movers);
      for (int d : {6, -6, 5, -5})
        for (uint64_t to = Shift(from, d) & empty; to; to = Shift(to, d) & empty) add(from, to, true);
    }
  }
}

}  // namespace kestrel::bitgen
