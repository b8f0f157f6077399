// The messages of the DamExchange Protocol (version 1), as the text between
// two NUL bytes on the wire. Numbers are fixed-width decimal, names 32
// characters padded with spaces, colours "W" (white) and "Z" (black).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kestrel {

constexpr int DxpDefaultPort = 27531;
constexpr int DxpNameLength = 32;
constexpr int DxpMaxMessage = 127;

// R: the Initiator asks for a game.
struct TDxpGameRequest {
  int version = 1;
  std::string name;
  char followerColor = 'Z';
  int minutes = 0;         // thinking time per player for the game
  int moves = 0;           // moves in the game; 0 no limit
  // With a set-up position: the side to move and squares 1..50 in protocol
  // order as "e", "w", "z", "W", "Z".
  bool setup = false;
  char toMove = 'W';
  std::string squares;
};
// A: the Follower's answer; code 0 accepts.
struct TDxpGameAccept {
  std::string name;
  int code = 0;
};
// M: a move in protocol squares, with every captured square.
struct TDxpMove {
  int seconds = 0;
  int from = 0;
  int to = 0;
  std::vector<int> captured;
};
// E: reason 0 none, 1 the sender loses, 2 draw, 3 the sender wins; stop 0
// another game may follow, 1 no more games.
struct TDxpGameEnd {
  int reason = 0;
  int stop = 0;
};
struct TDxpChat {
  std::string text;
};
// B: take back to move `moveNumber` with `color` to move.
struct TDxpBackRequest {
  int moveNumber = 1;
  char color = 'W';
};
// K: code 0 accepts.
struct TDxpBackAccept {
  int code = 0;
};

using TDxpMessage =
    std::variant<TDxpGameRequest, TDxpGameAccept, TDxpMove, TDxpGameEnd, TDxpChat, TDxpBackRequest, TDxpBackAccept>;

// The wire text without its NUL. Out-of-range fields are clamped to their
// width and names cut or padded to 32 characters.
std::string EncodeDxp(const TDxpMessage& message);
// Nullopt, with the reason in `error`, for any message that does not follow
// its layout exactly.
std::optional<TDxpMessage> ParseDxp(std::string_view text, std::string& error);

}  // namespace kestrel
