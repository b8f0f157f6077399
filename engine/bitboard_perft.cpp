#include "engine/bitboard_perft.h"

#include "engine/bitboard_movegen.h"
#include "rules/move_generator.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

// Distinct results of a position: only captures can reach one position twice.
int DistinctMoves(const TBitBoard64& pos, int gametype, TBitMoveList& list) {
  uint8_t count = 0;
  GenerateMoves(pos, list, count, gametype);
  if (count > 1 && list[0].b != pos.b) return RemoveRepeatedPositions(list.data(), count);
  return count;
}

uint64_t Count(const TBitBoard64& pos, int gametype, int flipShift, int depth) {
  if (depth == 0) return 1;
  TBitMoveList list;
  const int count = DistinctMoves(pos, gametype, list);
  if (depth == 1) return static_cast<uint64_t>(count);
  uint64_t nodes = 0;
  for (int i = 0; i < count; ++i) {
    TBitBoard64 next = list[i];
    FlipBitBoardBy(next, flipShift);
    nodes += Count(next, gametype, flipShift, depth - 1);
  }
  return nodes;
}

}  // namespace

int RemoveRepeatedPositions(TBitBoard64* list, int count) {
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    bool seen = false;
    for (int j = 0; j < kept && !seen; ++j) seen = list[j] == list[i];
    if (!seen) list[kept++] = list[i];
  }
  return kept;
}

uint64_t BitBoardPerft(const TBitBoard64& pos, int gametype, int depth) {
  if (depth <= 0) return 1;
  if (!HasBitBoardGenerator(gametype)) return 0;
  return Count(pos, gametype, GameTypes[gametype].FlipShift, depth);
}

uint64_t BitBoardPerft(const TBoard& board, TDColor side, int gametype, int depth) {
  TBitBoard64 pos;
  BoardToBit64(board, pos, gametype);
  if (side == TDColor::black) FlipBitBoard(pos, gametype);
  return BitBoardPerft(pos, gametype, depth);
}

std::vector<std::pair<TBitBoard64, uint64_t>> BitBoardPerftDivide(const TBitBoard64& pos, int gametype, int depth) {
  std::vector<std::pair<TBitBoard64, uint64_t>> lines;
  if (depth <= 0 || !HasBitBoardGenerator(gametype)) return lines;
  TBitMoveList list;
  const int count = DistinctMoves(pos, gametype, list);
  for (int i = 0; i < count; ++i) {
    TBitBoard64 next = list[i];
    FlipBitBoard(next, gametype);
    lines.emplace_back(list[i], Count(next, gametype, GameTypes[gametype].FlipShift, depth - 1));
  }
  return lines;
}

std::vector<TPerftDivideLine> BitBoardPerftDivide(const TBoard& board, TDColor side, int gametype, int depth) {
  std::vector<TPerftDivideLine> lines;
  if (depth <= 0 || !HasBitBoardGenerator(gametype)) return lines;
  TBitBoard64 pos;
  BoardToBit64(board, pos, gametype);
  if (side == TDColor::black) FlipBitBoard(pos, gametype);
  auto counts = BitBoardPerftDivide(pos, gametype, depth);
  std::vector<bool> matched(counts.size(), false);

  TMoveList moves;
  uint8_t n = 0;
  GenerateMoveList(board, side, moves, gametype, n);
  removedoublemoves(n, moves, board, gametype);
  for (int i = 0; i < n; ++i) {
    TBoard after = board;
    ApplyMove(moves[i], after, gametype);
    TBitBoard64 reached;
    BoardToBit64(after, reached, gametype);
    if (side == TDColor::black) FlipBitBoard(reached, gametype);
    TPerftDivideLine line{moves[i], 0};
    for (size_t j = 0; j < counts.size(); ++j)
      if (!matched[j] && counts[j].first == reached) {
        line.count = counts[j].second;
        matched[j] = true;
        break;
      }
    lines.push_back(line);
  }
  for (size_t j = 0; j < counts.size(); ++j)
    if (!matched[j]) lines.push_back({TMove{}, counts[j].second});
  return lines;
}

}  // namespace kestrel
