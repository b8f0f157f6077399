#include "engine/bitboard_movegen.h"

#include "engine/bitboard_generate.h"

namespace kestrel {

using bitgen::TBitVariant;
using bitgen::WithVariant;

bool HasBitBoardGenerator(int gametype) {
  return WithVariant(gametype, false, []<TBitVariant V>() { return true; });
}

bool ShortKings(int gametype) {
  return WithVariant(gametype, false, []<TBitVariant V>() { return V.shortKings; });
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
  return WithVariant(gametype, uint64_t{0}, [&]<TBitVariant V>() { return bitgen::Captures<V>(pos); });
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
