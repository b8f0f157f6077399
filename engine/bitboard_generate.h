// The whole generator for one set of rules. Internal to the generator;
// instantiated once per game type (and by tests with other rule sets).
#pragma once

#include "engine/bitboard_captures.h"
#include "engine/bitboard_variants.h"

namespace kestrel::bitgen {

inline uint64_t LowestBit(uint64_t x) { return x & (~x + 1); }

// Quiet moves along the constant direction D of every piece in `movers`
// whose neighbour along D is empty; pieces in `crowning` get the k bit.
template <int D>
[[gnu::always_inline]] inline int QuietSteps(uint64_t movers, uint64_t crowning, uint64_t w, uint64_t b,
                                             uint64_t k, TBitBoard64* out, int n) {
  for (; movers; movers &= movers - 1) {
    const uint64_t from = LowestBit(movers);
    const uint64_t to = D > 0 ? from << D : from >> -D;
    out[n++] = TBitBoard64{w ^ from ^ to, b, (from & crowning) ? (k & ~from) | to : k};
  }
  return n;
}

template <TBitVariant V>
void Generate(const TBitBoard64& pos, TBitMoveList& list, uint8_t& count) {
  // Local copies (the list is written while these are read), cut down to a
  // well-formed position: pieces on squares of the board, sides disjoint.
  // Then every bound below holds, whatever the input.
  const uint64_t w = pos.w & V.mask, b = pos.b & V.mask & ~w, k = pos.k & (w | b);
  const TBitBoard64 clean{w, b, k};
  const uint64_t kings = w & k;
  const uint64_t men = w & ~k;

  const uint64_t capturingMen = MenCaptures<V>(clean);
  if (kings || capturingMen) {
    TResultList out{list, count};
    if (kings) {
      TCaptureSearch<V> search(clean, out);
      for (uint64_t movers = KingCaptures<V>(clean); movers; movers &= movers - 1)
        search.FromKing(LowestBit(movers));
      if (V.kingCapturesFirst && count) return;
    }
    out.menPhase = true;
    out.kingBest = out.bestLen;
    if (capturingMen) {
      TCaptureSearch<V> search(clean, out);
      for (uint64_t movers = capturingMen; movers; movers &= movers - 1) search.FromMan(LowestBit(movers));
    }
    if (count) return;
  }

  // Two moves at most for each man, four for each short king: on 50 or 32
  // squares they always fit in the list. Flying kings are bounded below.
  const uint64_t empty = V.mask & ~(w | b);
  const uint64_t crowning = ~(2 * V.quietCrownFrom - 1);  // the bits above the threshold
  TBitBoard64* out = list.data();
  int n = QuietSteps<6>(men & (empty >> 6), crowning, w, b, k, out, 0);
  n = QuietSteps<5>(men & (empty >> 5), crowning, w, b, k, out, n);

  if (kings) {
    if constexpr (V.shortKings) {
      n = QuietSteps<5>(kings & (empty >> 5), ~uint64_t{0}, w, b, k, out, n);
      n = QuietSteps<6>(kings & (empty >> 6), ~uint64_t{0}, w, b, k, out, n);
      n = QuietSteps<-5>(kings & (empty << 5), ~uint64_t{0}, w, b, k, out, n);
      n = QuietSteps<-6>(kings & (empty << 6), ~uint64_t{0}, w, b, k, out, n);
    } else {
      for (uint64_t movers = kings; movers; movers &= movers - 1) {
        const uint64_t from = LowestBit(movers);
        for (int d : {6, -6, 5, -5})
          for (uint64_t to = Shift(from, d) & empty; to && n < MaxMoves; to = Shift(to, d) & empty)
            out[n++] = TBitBoard64{w ^ from ^ to, b, k ^ from ^ to};
      }
    }
  }
  count = static_cast<uint8_t>(n);
}

}  // namespace kestrel::bitgen
