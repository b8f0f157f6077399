#include "app/play/endgame_adjudication.h"

#include "app/play/result_detection.h"
#include "engine/endgame/endgame_verdict.h"

namespace kestrel {

uint8_t ResultOfVerdict(int wdl, TDColor mover) {
  if (wdl == 0) return ResultDraw;
  return (wdl > 0) == (mover == TDColor::white) ? ResultWhiteWon : ResultBlackWon;
}

std::optional<uint8_t> EndgameResult(TEndgameCache& cache, const TBoard& board, TDColor mover, int gametype) {
  const auto verdict = EndgameVerdict(cache, board, mover, gametype);
  if (!verdict) return std::nullopt;
  return ResultOfVerdict(*verdict, mover);
}

}  // namespace kestrel
