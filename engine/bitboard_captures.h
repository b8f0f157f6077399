// Capture sequences of the bitboard generator: a depth-first search per
// capturing piece, and the list that keeps the sequences the rules allow.
// Internal to the generator.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "engine/bitboard_movegen.h"
#include "engine/bitboard_variants.h"

namespace kestrel::bitgen {

// The results of one GenerateMoves call, with the best sequence kept so far:
// every capturing piece of the call, kings and men alike, competes with it.
struct TResultList {
  TBitMoveList& list;
  uint8_t& count;
  int bestLen = 0;
  int bestKings = 0;
  uint32_t bestValue = 0;
  int kingBest = 0;       // bestLen when the kings were done
  bool menPhase = false;

  void Append(const TBitBoard64& result) {
    if (count == list.size()) RemoveRepeats();
    if (count < list.size()) list[count++] = result;
  }

  // Only needed when the list is full: two routes to the same position
  // are one move.
  void RemoveRepeats() {
    int kept = 0;
    for (int i = 0; i < count; ++i)
      if (std::find(list.begin(), list.begin() + kept, list[i]) == list.begin() + kept) list[kept++] = list[i];
    count = static_cast<uint8_t>(kept);
  }

  // A finished sequence of `len` pieces, `kings` of them kings; `value` is
  // higher when kings were taken earlier.
  template <TBitVariant V>
  void Offer(const TBitBoard64& result, int len, int kings, uint32_t value) {
    if constexpr (V.majority) {
      if (len < bestLen) return;
      if (len > bestLen) {
        count = 0;
      } else {
        // With as many pieces, a king's capture takes precedence over a man's.
        if (V.italian && menPhase && kingBest == len) return;
        if (V.countKings) {
          if (kings < bestKings) return;
          if (kings > bestKings) {
            count = 0;
          } else if (V.italian) {
            if (value < bestValue) return;
            if (value > bestValue) count = 0;
          }
        }
      }
      bestLen = len;
      bestKings = kings;
      bestValue = value;
    }
    Append(result);
  }
};

// The capture sequences of one piece. The search carries the set of empty
// squares and the set of opponent pieces still to be taken; a taken piece
// leaves the second set but stays out of the first until the move is over
// (it can be neither taken again nor crossed), except with immediate removal.
template <TBitVariant V>
class TCaptureSearch {
 public:
  TCaptureSearch(const TBitBoard64& pos, TResultList& out) : pos_(pos), oppKings_(pos.b & pos.k), out_(out) {}

  void FromKing(uint64_t square) {
    start_ = square;
    King(square, V.mask & ~(pos_.w | pos_.b), pos_.b, 0, 0, 0, 0);
  }

  void FromMan(uint64_t square) {
    start_ = square;
    Man(square, V.mask & ~(pos_.w | pos_.b), pos_.b, 0, 0, 0, 0);
  }

 private:
  static constexpr std::array<int, 4> KingOrder =
      V.shortKings ? std::array<int, 4>{-5, 5, -6, 6} : std::array<int, 4>{-6, -5, 5, 6};

  template <int D>
  [[gnu::always_inline]] static constexpr uint64_t Step(uint64_t x) {
    return D > 0 ? x << D : x >> -D;
  }

  // Calls f.template operator()<d>() for every direction of `Order`, in order
  // (with constant directions the shifts compile to immediates).
  template <const auto& Order, int Count, class F>
  [[gnu::always_inline]] static void EachDirection(F&& f) {
    [&]<std::size_t... I>(std::index_sequence<I...>) [[gnu::always_inline]] { (f.template operator()<Order[I]>(), ...); }(
        std::make_index_sequence<Count>{});
  }
  template <const auto& Order, int Count, class F>
  [[gnu::always_inline]] static bool AnyDirection(F&& f) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) [[gnu::always_inline]] {
      return (f.template operator()<Order[I]>() || ...);
    }(std::make_index_sequence<Count>{});
  }
  static constexpr std::array<int, 4> ManOrder = V.manOrder;

  uint64_t ManPrey(uint64_t opp) const { return V.menTakeKings ? opp : opp & ~oppKings_; }

  bool ManCanCapture(uint64_t sq, uint64_t empty, uint64_t opp) const {
    const uint64_t prey = ManPrey(opp);
    return AnyDirection<ManOrder, V.manDirCount>(
        [&]<int D>() [[gnu::always_inline]] { return (Step<D>(sq) & prey) && (Step<2 * D>(sq) & empty); });
  }

  // The first square along D from sq that is not empty (a king's slide).
  template <int D>
  static uint64_t FirstStop(uint64_t sq, uint64_t empty) {
    uint64_t t = Step<D>(sq);
    if constexpr (!V.shortKings)
      while (t & empty) t = Step<D>(t);
    return t;
  }

  static bool KingCanCapture(uint64_t sq, uint64_t empty, uint64_t opp) {
    return AnyDirection<KingOrder, 4>([&]<int D>() [[gnu::always_inline]] {
      const uint64_t t = FirstStop<D>(sq, empty);
      return (t & opp) && (Step<D>(t) & empty);
    });
  }

  void Record(uint64_t land, uint64_t taken, int len, int kings, uint32_t value, bool king) {
    TBitBoard64 r;
    r.w = (pos_.w & ~start_) | land;
    r.b = pos_.b & ~taken;
    r.k = pos_.k & ~taken & ~start_;
    if (king) r.k |= land;
    out_.template Offer<V>(r, len, kings, value);
  }

  void Man(uint64_t sq, uint64_t empty, uint64_t opp, uint64_t taken, int len, int kings, uint32_t value) {
    const uint64_t prey = ManPrey(opp);
    EachDirection<ManOrder, V.manDirCount>([&]<int D>() [[gnu::always_inline]] {
      const uint64_t victim = Step<D>(sq) & prey;
      if (!victim) return;
      const uint64_t land = Step<2 * D>(sq) & empty;
      if (!land) return;
      const bool tookKing = (victim & oppKings_) != 0;
      const int kings2 = kings + tookKing;
      const uint32_t value2 = 2 * value + (tookKing ? 2 : 1);
      const uint64_t opp2 = opp & ~victim;
      uint64_t empty2 = (empty | sq) & ~land;
      if (V.immediateRemoval) empty2 |= victim;
      const uint64_t taken2 = taken | victim;
      const bool lastRow = land > V.lastRowFrom;
      if (V.promoteInCapture && lastRow) {
        if (KingCanCapture(land, empty2, opp2))
          King(land, empty2, opp2, taken2, len + 1, kings2, value2);
        else
          Record(land, taken2, len + 1, kings2, value2, true);
      } else if (ManCanCapture(land, empty2, opp2)) {
        Man(land, empty2, opp2, taken2, len + 1, kings2, value2);
      } else {
        Record(land, taken2, len + 1, kings2, value2, lastRow);
      }
    });
  }

  void King(uint64_t sq, uint64_t empty, uint64_t opp, uint64_t taken, int len, int kings, uint32_t value) {
    EachDirection<KingOrder, 4>([&]<int D>() [[gnu::always_inline]] {
      const uint64_t victim = FirstStop<D>(sq, empty) & opp;
      if (!victim) return;
      uint64_t land = Step<D>(victim) & empty;
      if (!land) return;
      const bool tookKing = (victim & oppKings_) != 0;
      const int kings2 = kings + tookKing;
      const uint32_t value2 = 2 * value + (tookKing ? 2 : 1);
      const uint64_t opp2 = opp & ~victim;
      uint64_t empty2 = empty | sq;
      if (V.immediateRemoval) empty2 |= victim;
      const uint64_t taken2 = taken | victim;

      if constexpr (V.shortKings || V.immediateRemoval) {
        // Only the square right behind the piece.
        if (KingCanCapture(land, empty2 & ~land, opp2))
          King(land, empty2 & ~land, opp2, taken2, len + 1, kings2, value2);
        else
          Record(land, taken2, len + 1, kings2, value2, true);
      } else {
        // Every empty square behind the piece, nearest first; if the capture
        // goes on from any of them, only those squares may be chosen.
        uint64_t lands[10];
        bool goesOn[10];
        int n = 0;
        bool anyGoesOn = false;
        for (; land & empty; land = Step<D>(land)) {
          lands[n] = land;
          goesOn[n] = KingCanCapture(land, empty2 & ~land, opp2);
          anyGoesOn |= goesOn[n];
          ++n;
        }
        for (int i = 0; i < n; ++i) {
          if (anyGoesOn) {
            if (goesOn[i]) King(lands[i], empty2 & ~lands[i], opp2, taken2, len + 1, kings2, value2);
          } else {
            Record(lands[i], taken2, len + 1, kings2, value2, true);
          }
        }
      }
    });
  }

  const TBitBoard64 pos_;
  const uint64_t oppKings_;
  TResultList& out_;
  uint64_t start_ = 0;
};

}  // namespace kestrel::bitgen
