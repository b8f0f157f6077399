#include "engine/root_moves.h"

#include "engine/bitboard.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {

bool ListRootMoves(const TBoard& board, TDColor side, int gametype, TSearchListener& out, TRootList& root,
                   TSearchResult& result) {
  root.count = 0;
  GenerateMoveList(board, side, root.list, gametype, root.count);
  removedoublemoves(root.count, root.list, board, gametype);
  root.moves.assign(root.count, TRootMove{});
  if (root.count == 0) return false;
  for (int i = 0; i < root.count; ++i) {
    root.moves[i].move = root.list[i];
    root.moves[i].text = PlainMoveText(root.list[i], root.list, root.count, gametype);
  }
  out.RootMoves(root.moves);
  result.hasMove = true;
  result.bestMove = root.moves[0].move;
  result.pv.Length = 1;
  result.pv.Mvs[0] = root.moves[0].move;
  return true;
}

TExcludedTables RootTables(TEndgameProber& prober, const TBoard& board, int gametype) {
  TExcludedTables excluded{};
  TBitBoard64 bb;
  BoardToBit64(board, bb, gametype);
  excluded[0] = prober.TableNumber(bb, gametype);
  FlipBitBoard(bb, gametype);
  excluded[1] = prober.TableNumber(bb, gametype);
  return excluded;
}

}  // namespace kestrel
