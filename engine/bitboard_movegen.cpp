#include "engine/bitboard_movegen.h"

#include "engine/bitboard_captures.h"
#include "engine/bitboard_variants.h"

namespace kestrel {
namespace bitgen {
namespace {

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

}  // namespace
}  // namespace bitgen

using bitgen::TBitVariant;
using bitgen::WithVariant;

bool HasBitBoardGenerator(int gametype) {
  return WithVariant(gametype, false, []<TBitVariant V>() { return true; });
}

void GenerateMoves(const TBitBoard64& pos, TBitMoveList& list, uint8_t& count, int gametype) {
  count = 0;
  WithVariant(gametype, 0, [&]<TBitVariant V>() {
    bitgen::Generate<V>(pos, list, count);
    return 0;
  });
}

uint64_t MenCaptureMask(const TBitBoard64& pos, int gametype) {
  return WithVariant(gametype, uint64_t{0}, [&]<TBitVariant V>() { return bitgen::MenCaptures<V>(pos); });
}

uint64_t KingCaptureMask(const TBitBoard64& pos, int gametype) {
  return WithVariant(gametype, uint64_t{0}, [&]<TBitVariant V>() { return bitgen::KingCaptures<V>(pos); });
}

uint64_t CaptureMask(const TBitBoard64& pos, int gametype) {
  return WithVariant(gametype, uint64_t{0}, [&]<TBitVariant V>() {
    const uint64_t men = bitgen::MenCaptures<V>(pos);
    return men ? men : bitgen::KingCaptures<V>(pos);
  });
}

uint64_t OpponentCaptureMask(const TBitBoard64& pos, int gametype) {
  if (!HasBitBoardGenerator(gametype)) return 0;
  // Seen from the other side, then the squares turned back.
  TBitBoard64 turned = pos;
  FlipBitBoard(turned, gametype);
  TBitBoard64 back{CaptureMask(turned, gametype), 0, 0};
  FlipBitBoard(back, gametype);
  return back.b;
}

}  // namespace kestrel
