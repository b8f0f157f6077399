// The capture rules of each game type in the form the bitboard generator
// uses them, and the shifts that move a set of squares one step along a
// direction. Internal to the generator.
#pragma once

#include <array>
#include <cstdint>

#include "engine/bitboard.h"
#include "rules/game_types.h"

namespace kestrel::bitgen {

// Diagonal steps: +5 and +6 forward (towards the far side), -5 and -6 back.
constexpr uint64_t Shift(uint64_t x, int d) { return d > 0 ? x << d : x >> -d; }

struct TBitVariant {
  uint64_t mask;                 // the board's squares
  uint64_t quietCrownFrom;       // a quiet man move from above this bit crowns
  uint64_t lastRowFrom;          // a square above this bit is on the last row
  int manDirCount;               // 2: forward only, 4: all diagonals
  std::array<int, 4> manOrder;   // directions tried by a capturing man
  bool menTakeKings;
  bool shortKings;               // one step at a time; otherwise flying
  bool majority;                 // only the sequences taking the most pieces
  bool countKings;               // then the most kings
  bool italian;                  // king before man, then kings taken earliest
  bool promoteInCapture;         // crowned mid-capture, continues as a king
  bool immediateRemoval;         // taken pieces leave at once; kings land right behind
  bool kingCapturesFirst;        // any king capture excludes man captures
};

constexpr uint64_t Bit(int n) { return uint64_t{1} << n; }

constexpr uint64_t Mask8x8 = 0x79EF3DE7BCFull;
constexpr uint64_t Mask10x8 = 0xFBFF7FEFFDFull;
constexpr uint64_t Mask10x10 = 0x7DFFBFF7FEFFDFull;

constexpr std::array<int, 4> OrderRussian{-5, 5, -6, 6};
constexpr std::array<int, 4> OrderInternational{-6, 6, -5, 5};
constexpr std::array<int, 4> OrderForward{5, 6, 0, 0};

//                                mask       quiet    last      dirs order               menTK  short  major  kings  ital   inCap  immed  kingF
constexpr TBitVariant VRussian{Mask8x8, Bit(32), Bit(38), 4, OrderRussian, true, false, false, false, false, true, false, false};
constexpr TBitVariant VEnglish{Mask8x8, Bit(32), Bit(38), 2, OrderForward, true, true, false, false, false, false, false, false};
constexpr TBitVariant VBrazilian{Mask8x8, Bit(32), Bit(38), 4, OrderRussian, true, false, true, false, false, false, false, false};
constexpr TBitVariant VPool{Mask8x8, Bit(32), Bit(38), 4, OrderRussian, true, false, false, false, false, false, false, false};
constexpr TBitVariant VItalian{Mask8x8, Bit(32), Bit(38), 2, OrderForward, false, true, true, true, true, false, false, false};
constexpr TBitVariant VInternational{Mask10x10, Bit(43), Bit(49), 4, OrderInternational, true, false, true, false, false, false, false, false};
constexpr TBitVariant VCzech{Mask8x8, Bit(32), Bit(38), 2, OrderForward, true, false, false, false, false, false, false, true};
constexpr TBitVariant VSpanish{Mask8x8, Bit(32), Bit(38), 2, OrderForward, true, false, true, true, false, false, false, false};
constexpr TBitVariant VSpantsiretti{Mask10x8, Bit(32), Bit(38), 4, OrderInternational, true, false, false, false, false, true, false, false};
constexpr TBitVariant VThai{Mask8x8, Bit(32), Bit(38), 2, OrderForward, true, false, false, false, false, false, true, false};

// Calls f.template operator()<V>() with the rules of `gametype`; returns
// `otherwise` for a type the generator does not cover.
template <class R, class F>
R WithVariant(int gametype, R otherwise, F&& f) {
  switch (gametype) {
    case gtRussian: return f.template operator()<VRussian>();
    case gtEnglish: return f.template operator()<VEnglish>();
    case gtBrazilian: return f.template operator()<VBrazilian>();
    case gtPool: return f.template operator()<VPool>();
    case gtItalian: return f.template operator()<VItalian>();
    case gtInternational: return f.template operator()<VInternational>();
    case gtCzech: return f.template operator()<VCzech>();
    case gtSpanish: return f.template operator()<VSpanish>();
    case gtSpantsiretti: return f.template operator()<VSpantsiretti>();
    case gtThai: return f.template operator()<VThai>();
    default: return otherwise;
  }
}

// Men of `w` that can capture: an opponent piece they may take on a
// neighbour in a capturing direction and an empty square beyond.
template <TBitVariant V>
[[gnu::always_inline]] inline uint64_t MenCaptures(const TBitBoard64& pos) {
  const uint64_t men = pos.w & ~pos.k;
  if (men == 0) return 0;
  const uint64_t empty = V.mask & ~(pos.w | pos.b);
  const uint64_t prey = V.menTakeKings ? pos.b : pos.b & ~pos.k;
  uint64_t can = men & (prey >> 5) & (empty >> 10);
  can |= men & (prey >> 6) & (empty >> 12);
  if (V.manDirCount == 4) {
    can |= men & (prey << 5) & (empty << 10);
    can |= men & (prey << 6) & (empty << 12);
  }
  return can;
}

// Squares from which a king can capture along d: sliding over empty squares
// it meets an opponent piece with an empty square right behind.
template <TBitVariant V>
uint64_t KingCapturesAlong(uint64_t kings, uint64_t empty, uint64_t opp, int d) {
  // Squares right in front of a piece that can be taken along d.
  uint64_t from = Shift(opp & Shift(empty, -d), -d);
  if (!V.shortKings) {
    // Extend backwards over empty squares: a king there slides up to it.
    uint64_t reach = from;
    for (uint64_t grow = from & empty; grow != 0;) {
      const uint64_t next = Shift(grow, -d) & ~reach;
      reach |= next;
      grow = next & empty;
    }
    from = reach;
  }
  return kings & from;
}

template <TBitVariant V>
uint64_t KingCaptures(const TBitBoard64& pos) {
  const uint64_t kings = pos.w & pos.k;
  if (kings == 0) return 0;
  const uint64_t empty = V.mask & ~(pos.w | pos.b);
  return KingCapturesAlong<V>(kings, empty, pos.b, 5) | KingCapturesAlong<V>(kings, empty, pos.b, 6) |
         KingCapturesAlong<V>(kings, empty, pos.b, -5) | KingCapturesAlong<V>(kings, empty, pos.b, -6);
}

// Pieces of `w` that must capture: the men that can, else the kings that can.
template <TBitVariant V>
[[gnu::always_inline]] inline uint64_t Captures(const TBitBoard64& pos) {
  const uint64_t men = MenCaptures<V>(pos);
  return men ? men : KingCaptures<V>(pos);
}

}  // namespace kestrel::bitgen
