#include "database/game_replay_check.h"

#include <vector>

#include "database/game_io.h"
#include "engine/packed_board.h"
#include "game/move_tree.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

constexpr uint8_t StruckThroughFlag = 0x80;

TReplayCheck Fault(std::string reason, int slot = 0) { return {false, std::move(reason), slot}; }

// Whether some legal move leads where `move` does: a stored route that differs
// from the generator's but takes the same pieces is the same move.
bool IsLegal(const TMove& move, const TBoard& board, TDColor side, int type) {
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  TBoard wanted = board;
  ApplyMove(move, wanted, type);
  for (int i = 0; i < count; ++i) {
    if (list[i].From() != move.From() || list[i].lt != move.lt) continue;
    TBoard after = board;
    ApplyMove(list[i], after, type);
    if (SameBoard(after.b, wanted.b)) return true;
  }
  return false;
}

}  // namespace

TReplayCheck CheckGameReplay(const TGame& game) {
  const int type = game.Header.TypeOfGame;
  if (!IsValidGameType(type)) return Fault("unknown game type " + std::to_string(type));
  TBoard start;
  if (!UnpackBoard(game.StartBoard, start.b)) return Fault("the start position is damaged");

  struct TStep {
    int node;
    TBoard board;
    TDColor side;
    int ply;
  };
  std::vector<TStep> pending{{0, start, game.Header.FirstMove, 1}};
  while (!pending.empty()) {
    const TStep step = std::move(pending.back());
    pending.pop_back();
    if (!game.IsNode(step.node)) continue;
    for (const int32_t child : Children(game, step.node)) {
      const TMove& move = game.Moves[child];
      const std::string where = "ply " + std::to_string(step.ply) + ": ";
      if (!IsMoveInRange(move, type)) return Fault(where + "a move off the board", child);
      if (!IsLegal(move, step.board, step.side, type))
        return Fault(where + MoveToText(move, type, 0, "x") + " is no legal move", child);
      TStep next{child, step.board, Opponent(step.side), step.ply + 1};
      ApplyMove(move, next.board, type);
      pending.push_back(next);
    }
  }
  // A game the PDN import could not read to the end is struck through and
  // keeps the unread rest, after "* ", as the comment of the last move read.
  if ((game.Header.Flags & StruckThroughFlag) != 0)
    for (int slot = 0; slot < static_cast<int>(game.CommentsAft.size()); ++slot)
      if (game.IsNode(slot) && game.CommentsAft[slot].rfind("* ", 0) == 0) {
        const std::string& rest = game.CommentsAft[slot];
        return Fault("the move text was not read past \"" + rest.substr(2, rest.find(' ', 2) - 2) + "\"", slot);
      }
  return {};
}

TReplayCheck CheckDBGameReplay(TKestrelDB& db, int32_t n) {
  TGame game;
  std::string message;
  if (!ReadDBGame(db, n, false, game, &message)) return Fault(message.empty() ? "the game cannot be read" : message);
  if (message == UnsupportedGameTypeText) return Fault("unsupported game type");
  return CheckGameReplay(game);
}

}  // namespace kestrel
