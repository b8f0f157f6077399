#include "engine/endgame/endgame_verdict.h"

#include <bit>

#include "engine/bitboard_movegen.h"

namespace kestrel {

std::optional<int> EndgameVerdict(TEndgameCache& cache, const TBoard& board, TDColor side, int gametype) {
  if (!HasBitBoardGenerator(gametype)) return std::nullopt;
  TBitBoard64 pos;
  BoardToBit64(board, pos, gametype);
  if (side == TDColor::black) FlipBitBoard(pos, gametype);
  if (pos.w == 0 || pos.b == 0 || std::popcount(pos.w | pos.b) > 10) return std::nullopt;
  if (CaptureMask(pos, gametype) != 0) return std::nullopt;
  const TEdbAnswer a = cache.Lookup(pos, gametype);
  if (!a.found) return std::nullopt;
  return a.wdl;
}

std::string EndgameText(const TEdbCacheStats& s) {
  if (s.answers == 0) return "EDB n/a";
  return "EDB" + std::to_string(s.largestPieces) + "=" + std::to_string(s.answers) + " (" +
         std::to_string(s.blocksLoaded) + ", " + std::to_string(s.bytesLoaded / 1048576) + "MB)";
}

}  // namespace kestrel
