#include "protocols/dxp_player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <vector>

#include "protocols/hub_notation.h"
#include "protocols/standard_squares.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {

namespace {

constexpr int DxpGameType = gtInternational;
// Draw rules the side to move claims: a third repetition, 25 moves of each
// side with kings only and no capture, or a game far past any real length.
constexpr int RepetitionsForDraw = 3;
constexpr int QuietKingPliesForDraw = 50;
constexpr int LongestGamePlies = 400;
constexpr int AnswerWaitMs = 10000;

const char* ColorName(TDColor c) { return c == TDColor::white ? "white" : "black"; }
char DxpColor(TDColor c) { return c == TDColor::white ? 'W' : 'Z'; }

uint8_t WinFor(TDColor c) { return c == TDColor::white ? 1 : 3; }

TDxpMove ToDxp(const TMove& move, int seconds) {
  TDxpMove m;
  m.seconds = seconds;
  m.from = ProtocolSquare(move.From(), DxpGameType);
  m.to = ProtocolSquare(move.To(), DxpGameType);
  m.captured = CapturedProtocolSquares(move, DxpGameType);
  return m;
}

// The legal move with exactly this start, end and captured set.
std::optional<TMove> FromDxp(const TDxpMove& m, const TBoard& board, TDColor side) {
  std::string text = std::to_string(m.from) + (m.captured.empty() ? "-" : "x") + std::to_string(m.to);
  for (int square : m.captured) text += "x" + std::to_string(square);
  auto move = FindHubMove(text, board, side, DxpGameType);
  if (move && move->lt != static_cast<int>(m.captured.size())) return std::nullopt;
  return move;
}

std::optional<THubPosition> SetupPosition(const TDxpGameRequest& r) {
  if (!r.setup) return THubPosition{InitialPosition(DxpGameType), TDColor::white};
  std::string text(1, r.toMove == 'W' ? 'W' : 'B');
  for (char c : r.squares) {
    switch (c) {
      case 'e': text += 'e'; break;
      case 'w': text += 'w'; break;
      case 'W': text += 'W'; break;
      case 'z': text += 'b'; break;
      case 'Z': text += 'B'; break;
      default: return std::nullopt;
    }
  }
  std::string error;
  return ParseHubPosition(text, DxpGameType, error);
}

bool QuietKingMove(const TMove& move, const TBoard& before) {
  const int8_t piece = before.b[move.From()];
  return move.lt == 0 && (piece == WhiteKing || piece == BlackKing);
}

}  // namespace

TDxpPlayer::TDxpPlayer(TDxpConnection& connection, TDxpPlayerSetup setup)
    : connection_(connection), setup_(std::move(setup)) {}

void TDxpPlayer::Log(const std::string& line) {
  if (setup_.log) setup_.log(line);
}

TDxpPlayer::TOutcome TDxpPlayer::Fault(const std::string& why, bool sendEnd) {
  Log("error: " + why);
  // After a fault the two sides no longer agree on the game: no more games.
  if (sendEnd) connection_.Send(EncodeDxp(TDxpGameEnd{0, 1}));
  return TOutcome{0, false, true};
}

// Ends the game by our GAMEEND and waits a while for the peer's answer.
TDxpPlayer::TOutcome TDxpPlayer::EndByUs(int reason, uint8_t result) {
  connection_.Send(EncodeDxp(TDxpGameEnd{reason, 0}));
  TOutcome outcome{result, true, false};
  for (;;) {
    std::string text, error;
    const auto read = connection_.Receive(text, AnswerWaitMs, error);
    if (read != TDxpConnection::TRead::message) {
      // The game is over whether or not the peer confirms.
      if (read != TDxpConnection::TRead::timeout) outcome.sessionOver = true;
      return outcome;
    }
    const auto message = ParseDxp(text, error);
    if (!message) continue;
    if (const auto* end = std::get_if<TDxpGameEnd>(&*message)) {
      outcome.sessionOver = end->stop == 1;
      return outcome;
    }
  }
}

TDxpPlayer::TOutcome TDxpPlayer::PlayGame(const TBoard& start, TDColor toMove, TDColor ours, int minutes,
                                          int moveLimit) {
  // Kestrel 4 readies its table and weights now, off the game's clock.
  setup_.engine->PrepareGeneration(DxpGameType, *setup_.params);
  std::vector<TPly> plies{{start, toMove, 0}};
  std::map<std::pair<std::array<int8_t, MaxSquares>, TDColor>, int> seen;
  const auto positionKey = [](const TPly& p) { return std::make_pair(p.board.b.cells, p.side); };
  seen[positionKey(plies.back())] = 1;
  double clock = minutes * 60.0;
  const int peerWaitMs = (minutes > 0 ? minutes * 60 : 0) * 1000 + setup_.patience * 1000;

  const auto play = [&](const TMove& move) {
    TPly next = plies.back();
    next.quietKingPlies = QuietKingMove(move, next.board) ? next.quietKingPlies + 1 : 0;
    Log(std::string(ColorName(next.side)) + " " + HubMoveText(move, DxpGameType));
    ApplyMove(move, next.board, DxpGameType);
    next.side = Opponent(next.side);
    plies.push_back(next);
    ++seen[positionKey(next)];
  };
  // Messages allowed at any time; false for anything that is not one.
  std::optional<TOutcome> ended;
  const auto handleAnyTime = [&](const TDxpMessage& message) {
    if (const auto* chat = std::get_if<TDxpChat>(&message)) {
      Log("chat: " + chat->text);
      return true;
    }
    if (const auto* end = std::get_if<TDxpGameEnd>(&message)) {
      // The peer speaks for itself: it loses, draws or wins.
      const TDColor peer = Opponent(ours);
      const uint8_t results[4] = {0, WinFor(ours), 2, WinFor(peer)};
      Log("the peer ends the game" + std::string(end->reason == 0 ? "" : end->reason == 1 ? ": it gives up"
                                                                   : end->reason == 2 ? ": draw" : ": it claims the win"));
      connection_.Send(EncodeDxp(TDxpGameEnd{0, end->stop}));
      ended = TOutcome{results[end->reason], true, end->stop == 1};
      return true;
    }
    if (const auto* back = std::get_if<TDxpBackRequest>(&message)) {
      const int target = 2 * (back->moveNumber - 1) + (back->color == 'Z' ? 1 : 0) - (toMove == TDColor::black ? 1 : 0);
      const bool ok = target >= 0 && target < static_cast<int>(plies.size()) && DxpColor(plies[target].side) == back->color;
      if (ok) {
        while (static_cast<int>(plies.size()) > target + 1) {
          --seen[positionKey(plies.back())];
          plies.pop_back();
        }
        Log("take back to move " + std::to_string(back->moveNumber) + " " + ColorName(plies.back().side));
      } else {
        Log("take back to move " + std::to_string(back->moveNumber) + " refused");
      }
      connection_.Send(EncodeDxp(TDxpBackAccept{ok ? 0 : 1}));
      return true;
    }
    if (std::holds_alternative<TDxpGameRequest>(message)) {
      // One game at a time.
      connection_.Send(EncodeDxp(TDxpGameAccept{setup_.name, 2}));
      Log("a game request during the game is refused");
      return true;
    }
    return false;
  };
  const auto readFault = [&](TDxpConnection::TRead read, const std::string& error) {
    if (read == TDxpConnection::TRead::closed) return Fault("the peer closed the connection during the game", false);
    if (read == TDxpConnection::TRead::timeout) return Fault("no move from the peer in time", true);
    return Fault(error, read != TDxpConnection::TRead::error);
  };

  for (;;) {
    const TPly& now = plies.back();
    if (now.side == ours) {
      // What arrived while we were thinking: chat, a take-back, a game end.
      for (;;) {
        std::string text, error;
        const auto read = connection_.Receive(text, 0, error);
        if (read == TDxpConnection::TRead::timeout) break;
        if (read != TDxpConnection::TRead::message) return readFault(read, error);
        const auto message = ParseDxp(text, error);
        if (!message) return Fault("malformed message \"" + text + "\": " + error, true);
        if (!handleAnyTime(*message)) return Fault("message \"" + text + "\" out of turn", true);
        if (ended) return *ended;
      }
      const TPly& cur = plies.back();
      if (cur.side != ours) continue;  // taken back to the peer's turn
      TMoveList list;
      uint8_t count = 0;
      GenerateMoveList(cur.board, cur.side, list, DxpGameType, count);
      if (count == 0) {
        Log(std::string("no move for ") + ColorName(ours));
        return EndByUs(1, WinFor(Opponent(ours)));
      }
      const int ply = static_cast<int>(plies.size()) - 1;
      if (seen[positionKey(cur)] >= RepetitionsForDraw || cur.quietKingPlies >= QuietKingPliesForDraw ||
          ply >= LongestGamePlies || (moveLimit > 0 && ply >= 2 * moveLimit)) {
        Log("draw claimed");
        return EndByUs(2, 2);
      }
      double seconds = setup_.secondsPerMove;
      if (seconds <= 0) seconds = minutes > 0 ? std::max(0.05, clock / 30) : 1.0;
      TSearchLimits limits;
      limits.hardLimit = limits.softLimit = std::max<int64_t>(1, std::llround(seconds * 100));
      limits.singleMove = false;
      const auto t0 = std::chrono::steady_clock::now();
      const TSearchResult result =
          setup_.engine->SearchRoot(cur.board, cur.side, DxpGameType, limits, *setup_.params, nullptr);
      const double used = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
      clock -= used;
      const TMove move = result.hasMove ? result.bestMove : list[0];
      if (!connection_.Send(EncodeDxp(ToDxp(move, static_cast<int>(std::lround(used)))))) {
        return Fault("the connection is lost", false);
      }
      play(move);
      continue;
    }
    std::string text, error;
    const auto read = connection_.Receive(text, peerWaitMs, error);
    if (read != TDxpConnection::TRead::message) return readFault(read, error);
    const auto message = ParseDxp(text, error);
    if (!message) return Fault("malformed message \"" + text + "\": " + error, true);
    if (const auto* m = std::get_if<TDxpMove>(&*message)) {
      const auto move = FromDxp(*m, now.board, now.side);
      if (!move) return Fault("illegal move \"" + text + "\" from the peer", true);
      play(*move);
      continue;
    }
    if (!handleAnyTime(*message)) return Fault("message \"" + text + "\" out of turn", true);
    if (ended) return *ended;
  }
}

bool TDxpPlayer::RunInitiator(int games, int minutes) {
  for (int g = 0; g < games; ++g) {
    const TDColor ours = g % 2 == 0 ? TDColor::white : TDColor::black;
    TDxpGameRequest request;
    request.name = setup_.name;
    request.followerColor = DxpColor(Opponent(ours));
    request.minutes = minutes;
    if (!connection_.Send(EncodeDxp(request))) {
      Log("error: the connection is lost");
      return false;
    }
    std::string text, error;
    TDxpConnection::TRead read;
    std::optional<TDxpMessage> message;
    // Chat may come before the answer.
    do {
      read = connection_.Receive(text, AnswerWaitMs, error);
      message = read == TDxpConnection::TRead::message ? ParseDxp(text, error) : std::nullopt;
    } while (message && std::holds_alternative<TDxpChat>(*message));
    ++gameNumber_;
    TOutcome outcome;
    if (read != TDxpConnection::TRead::message) {
      outcome = Fault(read == TDxpConnection::TRead::timeout ? "no answer to the game request"
                      : read == TDxpConnection::TRead::closed ? "the peer closed the connection" : error,
                      false);
    } else if (!message) {
      outcome = Fault("malformed message \"" + text + "\": " + error, true);
    } else if (const auto* accept = std::get_if<TDxpGameAccept>(&*message)) {
      if (accept->code != 0) {
        Log("error: " + accept->name + " refuses the game (code " + std::to_string(accept->code) + ")");
        return false;
      }
      Log("game " + std::to_string(gameNumber_) + ": " + setup_.name + " " + ColorName(ours) + ", " + accept->name +
          " " + ColorName(Opponent(ours)));
      outcome = PlayGame(InitialPosition(DxpGameType), TDColor::white, ours, minutes, 0);
    } else {
      outcome = Fault("message \"" + text + "\" instead of an answer to the game request", true);
    }
    if (setup_.gameEnded) setup_.gameEnded(gameNumber_, outcome.result);
    if (!outcome.ok) return false;
    if (outcome.sessionOver) return g + 1 == games;
  }
  return true;
}

bool TDxpPlayer::RunFollower() {
  for (;;) {
    std::string text, error;
    const auto read = connection_.Receive(text, -1, error);
    if (read == TDxpConnection::TRead::closed) return true;
    if (read != TDxpConnection::TRead::message) {
      Log("error: " + error);
      return false;
    }
    const auto message = ParseDxp(text, error);
    if (!message) {
      Log("error: malformed message \"" + text + "\": " + error);
      return false;
    }
    if (const auto* chat = std::get_if<TDxpChat>(&*message)) {
      Log("chat: " + chat->text);
      continue;
    }
    const auto* request = std::get_if<TDxpGameRequest>(&*message);
    if (!request) {
      // Between games only a request or chat makes sense; a stray game end
      // is answered, anything else ignored.
      Log("ignored: \"" + text + "\" outside a game");
      if (const auto* end = std::get_if<TDxpGameEnd>(&*message)) {
        connection_.Send(EncodeDxp(TDxpGameEnd{0, end->stop}));
        if (end->stop == 1) return true;
      }
      continue;
    }
    const auto position = SetupPosition(*request);
    const int code = request->version != 1 ? 1 : !position ? 2 : 0;
    connection_.Send(EncodeDxp(TDxpGameAccept{setup_.name, code}));
    if (code != 0) {
      Log("game request refused (code " + std::to_string(code) + ")");
      continue;
    }
    ++gameNumber_;
    const TDColor ours = request->followerColor == 'W' ? TDColor::white : TDColor::black;
    Log("game " + std::to_string(gameNumber_) + ": " + setup_.name + " " + ColorName(ours) + ", " + request->name +
        " " + ColorName(Opponent(ours)));
    const TOutcome outcome = PlayGame(position->board, position->side, ours, request->minutes, request->moves);
    if (setup_.gameEnded) setup_.gameEnded(gameNumber_, outcome.result);
    if (!outcome.ok) return false;
    if (outcome.sessionOver) return true;
  }
}

}  // namespace kestrel
