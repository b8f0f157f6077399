#include "app/match/match_game.h"

#include <algorithm>
#include <chrono>

#include "app/play/result_detection.h"
#include "engine/score_text.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

bool SameMove(const TMove& a, const TMove& b) {
  if (a.lt != b.lt || a.From() != b.From()) return false;
  for (int i = 1; i < a.UsedBytes(); ++i)
    if (a.mv[i] != b.mv[i]) return false;
  return true;
}

// Positions since the last capture or man move, for the repetition rule.
struct THistory {
  std::vector<std::pair<TBrd, TDColor>> positions;
  int quietMoves = 0;

  void Add(const TBoard& before, const TMove& m, const TBoard& after, TDColor sideAfter, int gametype) {
    const int from = m.From();
    const int8_t piece = from >= 1 && from <= GameTypes[gametype].SquareCount ? before.b[from] : Empty;
    const bool progress = m.lt > 0 || piece == WhiteMan || piece == BlackMan;
    if (progress) {
      positions.clear();
      quietMoves = 0;
    } else {
      ++quietMoves;
    }
    positions.emplace_back(after.b, sideAfter);
  }
  int Occurrences() const {
    const auto& last = positions.back();
    return static_cast<int>(std::count(positions.begin(), positions.end(), last));
  }
};

}  // namespace

const char* GameEndText(TGameEnd end) {
  switch (end) {
    case TGameEnd::noMoves: return "no moves";
    case TGameEnd::repetition: return "repetition";
    case TGameEnd::noProgress: return "no progress";
    case TGameEnd::moveLimit: return "move limit";
    case TGameEnd::endgameTable: return "endgame table";
    case TGameEnd::time: return "time";
    case TGameEnd::illegalMove: return "illegal move";
    case TGameEnd::stopped: return "stopped";
    case TGameEnd::startFailed: return "player failed to start";
  }
  return "";
}

TMatchScore ScoreOfResult(uint8_t result, bool forSide0) {
  TMatchScore s;
  switch (result) {
    case ResultWhiteWon:
    case ResultWhiteWonOnTime: (forSide0 ? s.wins : s.losses) = 1; break;
    case ResultBlackWon:
    case ResultBlackWonOnTime: (forSide0 ? s.losses : s.wins) = 1; break;
    case ResultDraw: s.draws = 1; break;
    default: break;
  }
  return s;
}

TPlayedGame PlayMatchGame(TMatchPlayer& side0, TMatchPlayer& side1, const TOpening& opening,
                          const TGameSettings& settings) {
  using Clock = std::chrono::steady_clock;
  const int gametype = settings.gametype;
  const TTimeSettings& tc = settings.time;
  TPlayedGame g;
  g.opening = opening;
  g.names[0] = side0.Name();
  g.names[1] = side1.Name();
  TMatchPlayer* players[2] = {&side0, &side1};

  std::string error;
  for (TMatchPlayer* p : players) {
    if (!p->NewGame(gametype, error)) {
      g.end = TGameEnd::startFailed;
      g.error = p->Name() + ": " + (error.empty() ? "cannot start" : error);
      return g;
    }
  }

  TBoard board = opening.board;
  TDColor side = opening.side;
  THistory history;
  history.positions.emplace_back(board.b, side);
  std::vector<TMove> line;  // from the opening's position, for the players
  for (const TMove& m : opening.moves) {
    const TBoard before = board;
    ApplyMove(m, board, gametype);
    side = Opponent(side);
    history.Add(before, m, board, side, gametype);
    line.push_back(m);
  }

  const bool clocks = tc.timeMs > 0;
  const std::array<int64_t, 2> sideTime{tc.timeMs, tc.timeMs1 > 0 ? tc.timeMs1 : tc.timeMs};
  g.clockMs = sideTime;
  std::array<int, 2> movesMade{0, 0};

  const auto finish = [&](uint8_t result, TGameEnd end) {
    g.result = result;
    g.end = end;
    return g;
  };

  for (int ply = 0;; ++ply) {
    if (settings.stop && settings.stop->load(std::memory_order_relaxed)) return finish(ResultUnknown, TGameEnd::stopped);
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(board, side, list, gametype, count);
    if (count == 0) return finish(LossFor(side), TGameEnd::noMoves);
    if (history.Occurrences() > RepetitionLimit(gametype)) return finish(ResultDraw, TGameEnd::repetition);
    if (history.quietMoves > NoProgressLimit(gametype, board.b)) return finish(ResultDraw, TGameEnd::noProgress);
    if (ply >= settings.maxPlies) return finish(ResultDraw, TGameEnd::moveLimit);
    if (settings.adjudicate) {
      if (const auto verdict = settings.adjudicate(board, side, gametype))
        return finish(*verdict, TGameEnd::endgameTable);
    }

    const int mover = ColorIndex(side);
    TThinkLimits limits;
    limits.maxDepth = tc.maxDepth;
    limits.moveTimeMs = tc.moveTimeMs;
    limits.moveNumber = movesMade[mover] + 1;
    if (clocks) {
      limits.clockMs = g.clockMs[mover];
      limits.incrementMs = tc.incrementMs;
      limits.movesToGo = tc.movesPerControl > 0 ? tc.movesPerControl - movesMade[mover] % tc.movesPerControl : 0;
    }
    const auto started = Clock::now();
    const TThinkReply reply = players[mover]->Think(opening.board, opening.side, line, limits);
    const int64_t spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
    if (settings.stop && settings.stop->load(std::memory_order_relaxed)) return finish(ResultUnknown, TGameEnd::stopped);

    if (clocks) {
      g.clockMs[mover] -= spent;
      if (g.clockMs[mover] < 0)
        return finish(side == TDColor::white ? ResultBlackWonOnTime : ResultWhiteWonOnTime, TGameEnd::time);
      g.clockMs[mover] += tc.incrementMs;
      if (tc.movesPerControl > 0 && (movesMade[mover] + 1) % tc.movesPerControl == 0) g.clockMs[mover] += sideTime[mover];
    }
    const TMove* played = nullptr;
    if (reply.hasMove)
      for (int i = 0; i < count && !played; ++i)
        if (SameMove(list[i], reply.move)) played = &list[i];
    if (!played) return finish(LossFor(side), TGameEnd::illegalMove);

    g.moves.push_back(*played);
    g.scores.push_back(reply.score);
    g.comments.push_back(ScoreText(reply.score) + "/" + std::to_string(reply.depth) + " - " +
                         std::to_string(spent / 1000) + "." + std::to_string(spent / 10 % 100 / 10) +
                         std::to_string(spent / 10 % 10));
    line.push_back(*played);
    ++movesMade[mover];
    const TBoard before = board;
    ApplyMove(*played, board, gametype);
    side = Opponent(side);
    history.Add(before, *played, board, side, gametype);
  }
}

TGame GameOfPlayed(const TPlayedGame& played, int gametype) {
  TGame game;
  const TOpening& o = played.opening;
  SetUpPosition(game, o.board.b, o.side, std::clamp(o.firstMoveNumber, 1, MaxFirstMoveNumber), gametype);
  if (o.board.b == InitialPosition(gametype).b && o.side == TDColor::white && o.firstMoveNumber == 1)
    NewGame(game, gametype);
  EnsureCommentArrays(game);
  int slot = 0;
  const auto add = [&](const TMove& m, const std::string* comment) {
    const TAddResult r = AddMove(game, slot, m);
    if (!r.ok()) return false;
    slot = r.slot;
    EnsureCommentArrays(game);
    if (comment) game.CommentsAft[slot] = *comment;
    return true;
  };
  for (const TMove& m : o.moves)
    if (!add(m, nullptr)) break;
  for (std::size_t i = 0; i < played.moves.size(); ++i)
    if (!add(played.moves[i], i < played.comments.size() ? &played.comments[i] : nullptr)) break;
  game.WhiteName = played.names[0];
  game.BlackName = played.names[1];
  game.Header.Result = played.result;
  GoToLineEnd(game, 0);
  game.Modified = true;
  return game;
}

}  // namespace kestrel
