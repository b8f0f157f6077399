// The engine as a DXP player on one connection: as Initiator it asks for
// games and plays them, as Follower it answers game requests until the peer
// leaves. Anything the peer sends out of place ends the game with a message.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/engine.h"
#include "protocols/dxp_connection.h"
#include "protocols/dxp_message.h"
#include "rules/board.h"

namespace kestrel {

struct TDxpPlayerSetup {
  std::string name = "Kestrel Thornby";
  // Search time per move in seconds; 0: shared out from the game's time.
  double secondsPerMove = 0;
  // How long to wait for the peer's move beyond its game time, in seconds.
  int patience = 60;
  TEngine* engine = nullptr;
  const TEngineParams* params = nullptr;
  std::function<void(const std::string&)> log;
  // Result codes: 0 unknown, 1 White won, 2 draw, 3 Black won.
  std::function<void(int game, uint8_t result)> gameEnded;
};

class TDxpPlayer {
 public:
  TDxpPlayer(TDxpConnection& connection, TDxpPlayerSetup setup);

  // Asks for `games` games, alternating colours (the engine is White first).
  // False when a game could not be played to its end.
  bool RunInitiator(int games, int minutes);
  // Plays every game the peer asks for until it leaves or stops. False after
  // a failed game.
  bool RunFollower();

 private:
  struct TOutcome {
    uint8_t result = 0;
    bool ok = true;        // false: ended by a fault of the peer or the line
    bool sessionOver = false;
  };
  struct TPly {
    TBoard board;
    TDColor side;
    int quietKingPlies;
  };

  TOutcome PlayGame(const TBoard& start, TDColor toMove, TDColor ours, int minutes, int moveLimit);
  TOutcome Fault(const std::string& why, bool sendEnd);
  TOutcome EndByUs(int reason, uint8_t result);
  void Log(const std::string& line);

  TDxpConnection& connection_;
  TDxpPlayerSetup setup_;
  int gameNumber_ = 0;
};

}  // namespace kestrel
