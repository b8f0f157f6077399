#include "engine/principal_variation.h"

#include "engine/bitboard.h"
#include "engine/bitboard_movegen.h"
#include "engine/engine.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {

TBitBoard64 EnginePosition(const TBoard& board, TDColor toMove, int gametype) {
  TBitBoard64 bb;
  BoardToBit64(board, bb, gametype);
  if (toMove == TDColor::black) FlipBitBoard(bb, gametype);
  return bb;
}

TPV FollowLine(const TBoard& root, TDColor side, const TMove& first, int gametype, const TNextPosition& next) {
  TPV pv;
  pv.HasRoot = true;
  pv.Root = root;
  TBoard board = root;
  TMove move = first;
  // seen[k]: the position k plies into the line (0: before the first move).
  std::array<TBitBoard64, TPV::MaxLength + 1> seen;
  seen[0] = EnginePosition(board, side, gametype);
  for (int k = 1; k <= TPV::MaxLength; ++k) {
    pv.Mvs[pv.Length++] = move;
    ApplyMove(move, board, gametype);
    side = Opponent(side);
    const TBitBoard64 pos = EnginePosition(board, side, gametype);
    seen[k] = pos;
    for (int j = k - 2; j >= 0; j -= 2) {
      if (seen[j] == pos) {
        pv.Repeated = true;
        return pv;
      }
    }
    if (k == TPV::MaxLength) break;
    const std::optional<TBitBoard64> target = next(pos, k);
    if (!target) break;
    TMoveList moves;
    uint8_t count = 0;
    GenerateMoveList(board, side, moves, gametype, count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
      TBoard after = board;
      ApplyMove(moves[i], after, gametype);
      if (EnginePosition(after, Opponent(side), gametype) == *target) {
        move = moves[i];
        found = true;
      }
    }
    if (!found) break;
  }
  return pv;
}

TPV TEngine::ReadPV(const TBoard& root, TDColor side, const TMove& first, int gametype) const {
  if (!HasBitBoardGenerator(gametype)) {
    TPV pv;
    pv.HasRoot = true;
    pv.Root = root;
    pv.Mvs[pv.Length++] = first;
    return pv;
  }
  return FollowLine(root, side, first, gametype, [&](const TBitBoard64& pos, int) -> std::optional<TBitBoard64> {
    const THashRec64 entry = table_.Read(table_.Index(pos));
    if (!(entry.pos == pos) || entry.bestmove == 0) return std::nullopt;
    TBitMoveList bitMoves;
    uint8_t bitCount = 0;
    GenerateMoves(pos, bitMoves, bitCount, gametype);
    if (entry.bestmove > bitCount) return std::nullopt;
    // The move list keeps the mover in `w`; the line's positions have the
    // side to move there.
    TBitBoard64 target = bitMoves[entry.bestmove - 1];
    FlipBitBoard(target, gametype);
    return target;
  });
}

std::string PVText(const TPV& pv, int gametype, TDColor firstMover, int firstMoveNumber, bool numbered, int mode,
                   std::string_view sep) {
  std::string text;
  TDColor side = firstMover;
  int number = firstMoveNumber;
  TBoard board = pv.Root;
  TMoveList list;
  for (int i = 0; i < pv.Length; ++i) {
    if (!text.empty()) text += ' ';
    if (numbered && side == TDColor::white) text += std::to_string(number) + ". ";
    else if (numbered && i == 0) text += std::to_string(number) + "... ";
    uint8_t count = 0;
    if (pv.HasRoot) GenerateMoveList(board, side, list, gametype, count);
    if (mode == PlainNotation)
      text += PlainMoveText(pv.Mvs[i], list, count, gametype);
    else
      text += UnambiguousMoveText(pv.Mvs[i], list, count, gametype, mode, sep);
    if (pv.HasRoot) ApplyMove(pv.Mvs[i], board, gametype);
    if (side == TDColor::black) ++number;
    side = Opponent(side);
  }
  if (pv.Repeated) text += text.empty() ? "=" : " =";
  return text;
}

}  // namespace kestrel
